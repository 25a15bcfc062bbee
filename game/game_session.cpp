#include "game/game_session.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "heroine/audio_system.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/pet.h"

namespace {

constexpr unsigned SAMPLE_PURCHASE_TRY = 25;
constexpr unsigned SAMPLE_PURCHASE_DONE = 30;
// Story levels cycle through four level tunes, from this stream on.
constexpr unsigned FIRST_LEVEL_STREAM = 2;
constexpr std::int32_t LEVEL_STREAM_COUNT = 4;

// How an upgrade is priced: the levels [firstPriced, max) are for sale, the
// price of level L standing in row rowBase + L (or always in rowBase for the
// vitamins, whose max is in that row too).
struct UpgradeRule {
    std::uint32_t code;
    std::int32_t firstPriced;
    std::int32_t max;  // 0: the row's max
    std::int32_t rowBase;
    bool fixedRow;
};

constexpr UpgradeRule UPGRADE_RULES[] = {
    {ITEM_FOOTWEAR, 1, 3, UPGRADE_ROW_FOOTWEAR, false},
    {ITEM_PET, 1, 6, UPGRADE_ROW_PET_AQUARIUM, false},
    {ITEM_AQUARIUM, 0, 4, UPGRADE_ROW_AQUARIUM, false},
    {ITEM_MACHINE, 1, 3, UPGRADE_ROW_MACHINE, false},
    {ITEM_AUDIO_SYSTEM, 0, 3, UPGRADE_ROW_AUDIO_SYSTEM, false},
    {ITEM_COMPUTER, 0, 1, UPGRADE_ROW_COMPUTER, false},
    {ITEM_VITAMIN_COST, 0, 0, UPGRADE_ROW_VITAMIN_COST, true},
    {ITEM_VITAMIN_GROWTH, 0, 0, UPGRADE_ROW_VITAMIN_GROWTH, true},
};

const UpgradeRule* FindRule(std::uint32_t code) {
    for (const UpgradeRule& rule : UPGRADE_RULES) {
        if (rule.code == code) {
            return &rule;
        }
    }
    return nullptr;
}

std::int32_t MaxLevel(const UpgradeRule& rule, const UpgradeTable& table) {
    return rule.fixedRow ? table.Row(rule.rowBase).max : rule.max;
}

// An aquarium slot is one of the profile's five that the shop floor has
// built; any other index names no slot at all.
bool IsSlot(std::int32_t index) {
    return index >= 0 && index < std::min(g_aquariumSet.GetCount(), CProfile::SLOT_COUNT);
}

// The profile word that holds the level of an upgrade; null for an unknown
// code or an aquarium index that is no slot.
std::int32_t* UpgradeWord(CProfile& profile, std::uint32_t code, std::int32_t index) {
    switch (code) {
        case ITEM_FOOTWEAR:
            return &profile.footwearLevel;
        case ITEM_PET:
            return &profile.petLevel;
        case ITEM_AQUARIUM:
            return IsSlot(index) ? &profile.slotLevels[index] : nullptr;
        case ITEM_MACHINE:
            return &profile.machineLevel;
        case ITEM_AUDIO_SYSTEM:
            return &profile.audioSystemLevel;
        case ITEM_COMPUTER:
            return &profile.computerLevel;
        case ITEM_VITAMIN_COST:
            return &profile.costVitaminLevel;
        case ITEM_VITAMIN_GROWTH:
            return &profile.growthVitaminLevel;
        default:
            return nullptr;
    }
}

CSoundManager& Sound() {
    return ResourceManager::Instance().GetSoundManager();
}

}  // namespace

void CGameSession::PlayLevelMusic(bool restart) {
    const CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return;
    }
    // The story level is at least 1 once loaded, so the index stays 2..5.
    const std::int32_t tune = (profile->storyLevel - 1) % LEVEL_STREAM_COUNT;
    Sound().Play(SoundType::Stream, FIRST_LEVEL_STREAM + static_cast<unsigned>(std::max(tune, 0)),
                 restart, true);
}

CProfile* CGameSession::AddCash(std::int32_t amount) {
    CProfile* profile = GetCurrentProfile();
    if (profile != nullptr) {
        profile->levelCash = SaturateToInt32(std::int64_t{profile->levelCash} + amount);
        m_shownCashSpeed = 2.0f * (static_cast<float>(profile->levelCash) - profile->shownCash);
    }
    return profile;
}

CProfile* CGameSession::AddToTotals(std::int32_t amount) {
    CProfile* profile = GetCurrentProfile();
    if (profile != nullptr) {
        profile->savings = SaturateToInt32(std::int64_t{profile->savings} + amount);
        profile->totalScore = SaturateToInt32(std::int64_t{profile->totalScore} + amount);
    }
    return profile;
}

CProfile* CGameSession::AddToCounter(std::int32_t amount) {
    CProfile* profile = GetCurrentProfile();
    if (profile != nullptr) {
        profile->secondCounter = SaturateToInt32(std::int64_t{profile->secondCounter} + amount);
        m_shownCounterSpeed =
            2.0f * (static_cast<float>(profile->secondCounter) - profile->secondCounterShown);
    }
    return profile;
}

CProfile* CGameSession::AddTry() {
    CProfile* profile = GetCurrentProfile();
    if (profile != nullptr) {
        profile->tries = SaturateToInt32(std::int64_t{profile->tries} + 1);
    }
    return profile;
}

std::int32_t CGameSession::GetPetKind() {
    const CProfile* profile = GetCurrentProfile();
    return profile != nullptr ? profile->petKind : 0;
}

CProfile* CGameSession::SetBonusReward(bool reward) {
    CProfile* profile = GetCurrentProfile();
    if (profile != nullptr) {
        profile->bonusReward = reward ? 1 : 0;
    }
    return profile;
}

bool CGameSession::HasBonusReward() {
    const CProfile* profile = GetCurrentProfile();
    return profile != nullptr && profile->bonusReward != 0;
}

bool CGameSession::HasGameInProgress() {
    const CProfile* profile = GetCurrentProfile();
    return profile != nullptr && profile->gameStarted != 0;
}

bool CGameSession::LoadUpgrades() {
    return m_upgrades.Load();
}

std::int32_t CGameSession::GetUpgradeLevel(std::uint32_t code, std::int32_t index) {
    CProfile* profile = GetCurrentProfile();
    const std::int32_t* word = profile != nullptr ? UpgradeWord(*profile, code, index) : nullptr;
    return word != nullptr ? *word : 0;
}

void CGameSession::SetUpgradeLevel(std::uint32_t code, std::int32_t level, std::int32_t index) {
    CProfile* profile = GetCurrentProfile();
    std::int32_t* word = profile != nullptr ? UpgradeWord(*profile, code, index) : nullptr;
    if (word != nullptr) {
        *word = level;
    }
}

bool CGameSession::IsUpgradeMaxed(std::uint32_t code, std::int32_t index) {
    CProfile* profile = GetCurrentProfile();
    const std::int32_t* word = profile != nullptr ? UpgradeWord(*profile, code, index) : nullptr;
    const UpgradeRule* rule = FindRule(code);
    return word != nullptr && rule != nullptr && *word >= MaxLevel(*rule, m_upgrades);
}

std::int32_t CGameSession::GetUpgradeCost(std::uint32_t code, std::int32_t index) {
    CProfile* profile = GetCurrentProfile();
    const std::int32_t* word = profile != nullptr ? UpgradeWord(*profile, code, index) : nullptr;
    const UpgradeRule* rule = FindRule(code);
    if (word == nullptr || rule == nullptr) {
        return 0;
    }
    const std::int32_t level = *word;
    if (level < rule->firstPriced || level >= MaxLevel(*rule, m_upgrades)) {
        return 0;
    }
    return m_upgrades.Row(rule->fixedRow ? rule->rowBase : rule->rowBase + level).cost;
}

bool CGameSession::TryPurchase(bool remember, std::uint32_t code, std::int32_t index) {
    const CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return false;
    }
    Sound().Play(SoundType::Sample, SAMPLE_PURCHASE_TRY, true, false);
    const std::int32_t price = GetUpgradeCost(code, index);
    if (price <= 0 || profile->savings < price) {
        return false;
    }
    if (remember) {
        m_pendingPrice = price;
        m_pendingIndex = index;
        m_pendingCode = code;
    }
    return true;
}

void CGameSession::CancelPurchase(std::uint32_t code, std::int32_t index) {
    if (code == m_pendingCode && (index == -1 || index == m_pendingIndex)) {
        ClearPurchase();
    }
}

void CGameSession::ClearPurchase() {
    m_pendingPrice = 0;
    m_pendingCode = 0;
    m_pendingIndex = -1;
}

void CGameSession::ApplyPurchase() {
    CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return;
    }
    const std::uint32_t code = m_pendingCode;
    const std::int32_t index = m_pendingIndex;
    std::int32_t* word = UpgradeWord(*profile, code, index);
    if (word == nullptr) {
        // Nothing pending, or a slot the shop floor no longer has: nothing
        // to pay for.
        ClearPurchase();
        return;
    }
    Sound().Play(SoundType::Sample, SAMPLE_PURCHASE_DONE, true, false);
    profile->savings = SaturateToInt32(std::int64_t{profile->savings} - m_pendingPrice);
    const std::int32_t level = ++*word;
    const std::int32_t location = g_location.GetLocation();
    switch (code) {
        case ITEM_AUDIO_SYSTEM:
            g_audioSystem.Setup(location, level);
            break;
        case ITEM_FOOTWEAR:
            g_heroine.BuildAnimations(level);
            break;
        case ITEM_MACHINE:
            g_machine.Build(location, level);
            break;
        case ITEM_PET:
            g_pet.Init(location, profile->petKind, level);
            break;
        case ITEM_AQUARIUM:
            g_aquariumSet.GetAquarium(index)->SetLevel(level);
            break;
        case ITEM_COMPUTER:
            g_instrumentPanel.SetLevelByKind(ITEM_COMPUTER, level);
            break;
        case ITEM_VITAMIN_COST:
        case ITEM_VITAMIN_GROWTH:
            g_instrumentPanel.SetLevelByKind(code, level);
            // Another vitamin that savings still cover stays on offer, so
            // BUY can be clicked again.
            if (TryPurchase(false, code, -1)) {
                return;
            }
            break;
        default:
            break;
    }
    ClearPurchase();
}

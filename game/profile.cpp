#include "game/profile.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "engine/platform/html_log.h"
#include "game/game_session_base.h"
#include "game/save_file.h"

namespace {

// Record layout of profiles.sav.
constexpr std::size_t AT_NAME = 0;
constexpr std::size_t AT_CURRENT = 34;
constexpr std::size_t AT_GAME_STARTED = 35;
constexpr std::size_t AT_TRIES = 36;
constexpr std::size_t AT_LEVEL_INDEX = 40;
constexpr std::size_t AT_SECOND_COUNTER = 44;
constexpr std::size_t AT_RESERVED_1 = 48;
constexpr std::size_t AT_SECOND_COUNTER_SHOWN = 52;
constexpr std::size_t AT_LEVEL_CASH = 56;
constexpr std::size_t AT_TOTAL_SCORE = 60;
constexpr std::size_t AT_SAVINGS = 64;
constexpr std::size_t AT_SHOWN_CASH = 68;
constexpr std::size_t AT_STORY_LEVEL = 72;
constexpr std::size_t AT_SLOT_LEVELS = 76;
constexpr std::size_t AT_RESERVED_2 = 96;
constexpr std::size_t AT_PET_KIND = 100;
constexpr std::size_t AT_PET_LEVEL = 104;
constexpr std::size_t AT_FOOTWEAR_LEVEL = 108;
constexpr std::size_t AT_MACHINE_LEVEL = 112;
constexpr std::size_t AT_COMPUTER_LEVEL = 116;
constexpr std::size_t AT_AUDIO_SYSTEM_LEVEL = 120;
constexpr std::size_t AT_GROWTH_VITAMIN_LEVEL = 124;
constexpr std::size_t AT_COST_VITAMIN_LEVEL = 128;
constexpr std::size_t AT_BONUS_REWARD = 132;

constexpr std::int32_t NEW_GAME_SLOT_LEVELS[CProfile::SLOT_COUNT] = {1, 0, 0, 1, 1};

// Words that other components use as table rows or picture numbers are kept
// inside the range they can handle, and money is never below 0 (the score
// goes to the high-score table unsigned); each repair is logged.
void ClampWord(int record, const char* field, std::int32_t& word, std::int32_t low,
               std::int32_t high) {
    const std::int32_t kept = std::clamp(word, low, high);
    if (kept != word) {
        HtmlLog().Write("Red", "Profile %i: %s %i out of range, %i used", record, field, word,
                        kept);
        word = kept;
    }
}

void ClampStoredWords(int record, CProfile& profile) {
    ClampWord(record, "pet kind", profile.petKind, 0, 1);
    ClampWord(record, "pet level", profile.petLevel, 1, 6);
    ClampWord(record, "footwear level", profile.footwearLevel, 1, 3);
    ClampWord(record, "machine level", profile.machineLevel, 1, 3);
    ClampWord(record, "computer level", profile.computerLevel, 0, 1);
    ClampWord(record, "audio system level", profile.audioSystemLevel, 0, 3);
    for (std::int32_t& slot : profile.slotLevels) {
        ClampWord(record, "aquarium slot level", slot, 0, 4);
    }
    ClampWord(record, "story level", profile.storyLevel, 1, INT32_MAX);
    ClampWord(record, "level index", profile.levelIndex, 1, INT32_MAX);
    ClampWord(record, "growth vitamin level", profile.growthVitaminLevel, 0, INT32_MAX);
    ClampWord(record, "cost vitamin level", profile.costVitaminLevel, 0, INT32_MAX);
    ClampWord(record, "total score", profile.totalScore, 0, INT32_MAX);
    ClampWord(record, "savings", profile.savings, 0, INT32_MAX);
}

}  // namespace

CProfile::CProfile(std::u16string_view newName) {
    const std::size_t length = std::min(newName.size(), MAX_NAME_LENGTH);
    std::copy_n(newName.begin(), length, name);
    current = 1;
    Reset();
}

void CProfile::Reset() {
    gameStarted = 0;
    tries = 3;
    levelIndex = 1;
    secondCounter = 0;
    reserved1 = 0;
    secondCounterShown = 0.0f;
    levelCash = 0;
    totalScore = 0;
    savings = 0;
    shownCash = 0.0f;
    storyLevel = 1;
    std::copy(std::begin(NEW_GAME_SLOT_LEVELS), std::end(NEW_GAME_SLOT_LEVELS), slotLevels);
    reserved2 = 0;
    petKind = 0;
    petLevel = 1;
    footwearLevel = 1;
    machineLevel = 1;
    computerLevel = 0;
    audioSystemLevel = 0;
    growthVitaminLevel = 0;
    costVitaminLevel = 0;
    bonusReward = 0;
}

std::u16string CProfile::GetName() const {
    const char16_t* end = std::find(name, name + NAME_UNITS, u'\0');
    return std::u16string(name, end);
}

void CProfile::Write(CSaveWriter& writer, std::size_t base) const {
    for (std::size_t i = 0; i < NAME_UNITS; ++i) {
        writer.U16(base + AT_NAME + 2 * i, name[i]);
    }
    writer.U8(base + AT_CURRENT, current);
    writer.U8(base + AT_GAME_STARTED, gameStarted);
    writer.I32(base + AT_TRIES, tries);
    writer.I32(base + AT_LEVEL_INDEX, levelIndex);
    writer.I32(base + AT_SECOND_COUNTER, secondCounter);
    writer.I32(base + AT_RESERVED_1, reserved1);
    writer.F32(base + AT_SECOND_COUNTER_SHOWN, secondCounterShown);
    writer.I32(base + AT_LEVEL_CASH, levelCash);
    writer.I32(base + AT_TOTAL_SCORE, totalScore);
    writer.I32(base + AT_SAVINGS, savings);
    writer.F32(base + AT_SHOWN_CASH, shownCash);
    writer.I32(base + AT_STORY_LEVEL, storyLevel);
    for (int i = 0; i < SLOT_COUNT; ++i) {
        writer.I32(base + AT_SLOT_LEVELS + 4 * static_cast<std::size_t>(i), slotLevels[i]);
    }
    writer.I32(base + AT_RESERVED_2, reserved2);
    writer.I32(base + AT_PET_KIND, petKind);
    writer.I32(base + AT_PET_LEVEL, petLevel);
    writer.I32(base + AT_FOOTWEAR_LEVEL, footwearLevel);
    writer.I32(base + AT_MACHINE_LEVEL, machineLevel);
    writer.I32(base + AT_COMPUTER_LEVEL, computerLevel);
    writer.I32(base + AT_AUDIO_SYSTEM_LEVEL, audioSystemLevel);
    writer.I32(base + AT_GROWTH_VITAMIN_LEVEL, growthVitaminLevel);
    writer.I32(base + AT_COST_VITAMIN_LEVEL, costVitaminLevel);
    writer.U8(base + AT_BONUS_REWARD, bonusReward);
}

void CProfile::Read(CSaveReader& reader, std::size_t base) {
    for (std::size_t i = 0; i < NAME_UNITS; ++i) {
        name[i] = reader.U16(base + AT_NAME + 2 * i);
    }
    // A name that fills all 17 units still ends inside the record.
    name[MAX_NAME_LENGTH] = u'\0';
    current = reader.U8(base + AT_CURRENT);
    gameStarted = reader.U8(base + AT_GAME_STARTED);
    tries = reader.I32(base + AT_TRIES);
    levelIndex = reader.I32(base + AT_LEVEL_INDEX);
    secondCounter = reader.I32(base + AT_SECOND_COUNTER);
    reserved1 = reader.I32(base + AT_RESERVED_1);
    secondCounterShown = reader.F32(base + AT_SECOND_COUNTER_SHOWN);
    levelCash = reader.I32(base + AT_LEVEL_CASH);
    totalScore = reader.I32(base + AT_TOTAL_SCORE);
    savings = reader.I32(base + AT_SAVINGS);
    shownCash = reader.F32(base + AT_SHOWN_CASH);
    storyLevel = reader.I32(base + AT_STORY_LEVEL);
    for (int i = 0; i < SLOT_COUNT; ++i) {
        slotLevels[i] = reader.I32(base + AT_SLOT_LEVELS + 4 * static_cast<std::size_t>(i));
    }
    reserved2 = reader.I32(base + AT_RESERVED_2);
    petKind = reader.I32(base + AT_PET_KIND);
    petLevel = reader.I32(base + AT_PET_LEVEL);
    footwearLevel = reader.I32(base + AT_FOOTWEAR_LEVEL);
    machineLevel = reader.I32(base + AT_MACHINE_LEVEL);
    computerLevel = reader.I32(base + AT_COMPUTER_LEVEL);
    audioSystemLevel = reader.I32(base + AT_AUDIO_SYSTEM_LEVEL);
    growthVitaminLevel = reader.I32(base + AT_GROWTH_VITAMIN_LEVEL);
    costVitaminLevel = reader.I32(base + AT_COST_VITAMIN_LEVEL);
    bonusReward = reader.U8(base + AT_BONUS_REWARD);
}

// --- The profile list of the session ---

bool CGameSessionBase::AddProfile(std::u16string_view newName) {
    if (IsProfileListFull()) {
        return false;
    }
    for (const CProfile& profile : m_profiles) {
        if (profile.HasName(newName)) {
            return false;
        }
    }
    for (CProfile& profile : m_profiles) {
        profile.current = 0;
    }
    m_profiles.emplace_back(newName);
    SaveProfiles(PROFILES_FILE);
    return true;
}

bool CGameSessionBase::AddProfileFromEntry() {
    if (!AddProfile(m_typedName)) {
        return false;
    }
    m_typedName.clear();
    m_pendingHighSurrogate = 0;
    m_nameEntryOpen = false;
    return true;
}

bool CGameSessionBase::DeleteProfile(std::u16string_view oldName) {
    const auto found =
        std::find_if(m_profiles.begin(), m_profiles.end(),
                     [&](const CProfile& profile) { return profile.HasName(oldName); });
    if (found == m_profiles.end()) {
        return false;
    }
    const bool wasCurrent = found->current == 1;
    m_profiles.erase(found);
    if (wasCurrent && !m_profiles.empty()) {
        m_profiles.front().current = 1;
    }
    // The last player deleted leaves an empty file, so the player does not
    // come back at the next start.
    SaveProfiles(PROFILES_FILE);
    return true;
}

int CGameSessionBase::LoadProfiles(const std::string& fileName) {
    m_profiles.clear();
    const std::string path = HtmlLog().GetUserFolder() + fileName;
    HtmlLog().Write("Blue", "Load profiles data (%s):\n", path.c_str());
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 0;
    const std::size_t maxSize = CProfile::RECORD_SIZE * MAX_PROFILES;
    const SaveFileRead read = ReadSaveFile(path, maxSize, &bytes, &size);
    if (read == SaveFileRead::Missing) {
        m_profilesGuard.FoundNone();
        HtmlLog().Write("Green", "No profiles data");
        return 0;
    }
    const bool incorrect = read == SaveFileRead::TooLarge || size % CProfile::RECORD_SIZE != 0;
    m_profilesGuard.Found(path, !incorrect);
    if (incorrect) {
        HtmlLog().Write("Green", "Incorrect profiles data");
    } else {
        CSaveReader reader(bytes.data(), bytes.size());
        for (std::size_t base = 0; base < bytes.size(); base += CProfile::RECORD_SIZE) {
            CProfile& profile = m_profiles.emplace_back();
            profile.Read(reader, base);
            ClampStoredWords(GetProfileCount(), profile);
        }
    }
    HtmlLog().Write("Green", "Complete");
    return GetProfileCount();
}

bool CGameSessionBase::SaveProfiles(const std::string& fileName) {
    const std::string path = HtmlLog().GetUserFolder() + fileName;
    HtmlLog().Write("Blue", "Save profiles data (%s):\n", path.c_str());
    CSaveWriter writer(CProfile::RECORD_SIZE * m_profiles.size());
    for (std::size_t i = 0; i < m_profiles.size(); ++i) {
        m_profiles[i].Write(writer, i * CProfile::RECORD_SIZE);
    }
    if (!m_profilesGuard.Write(path, writer.Bytes())) {
        HtmlLog().Write("Red", "Couldn't save profiles data");
        return false;
    }
    HtmlLog().Write("Green", "Complete");
    return true;
}

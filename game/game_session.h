#pragma once
// The one game-state object: the mode word, profiles and fade of its base, the
// record of the level being played, the upgrade table with the purchase in
// progress, and the small services through which the shop floor, the heroine,
// the pet and the bonus game change cash and read upgrade levels.
#include <cstdint>

#include "engine/platform/geometry.h"
#include "game/credits_scroller.h"
#include "game/game_session_base.h"
#include "game/level_base.h"
#include "game/level_statistics.h"
#include "game/upgrade_table.h"

namespace backend {
class IRenderDevice;
}

class CGameSession : public CGameSessionBase {
public:
    // Seconds the shop floor waits at every level start.
    static constexpr float LEVEL_START_DELAY = 1.2f;

    CGameSession() = default;

    // Once per frame in every mode.
    void Update(CAppFramework* window, backend::IRenderDevice* device, const InputState& input,
                Vec2 scale, Vec2 offset, float elapsed);

    // --- Services for the shop floor; none does anything without a profile ---

    // Plays the music stream of the current story level; restart false
    // resumes a paused stream where it stopped.
    void PlayLevelMusic(bool restart);
    // The only way the cash of a level changes; starts the shown cash moving.
    CProfile* AddCash(std::int32_t amount);
    CProfile* AddToTotals(std::int32_t amount);
    CProfile* AddToCounter(std::int32_t amount);
    CProfile* AddTry();
    std::int32_t GetPetKind();
    CProfile* SetBonusReward(bool reward);
    bool HasBonusReward();
    bool HasGameInProgress();
    void SetTimeBonus(float seconds) { m_timeBonus = seconds; }

    // --- Upgrades: codes are ItemCode values; index is an aquarium slot or -1 ---

    bool LoadUpgrades();
    const UpgradeTable& GetUpgradeTable() const { return m_upgrades; }
    std::int32_t GetUpgradeLevel(std::uint32_t code, std::int32_t index);
    void SetUpgradeLevel(std::uint32_t code, std::int32_t level, std::int32_t index);
    bool IsUpgradeMaxed(std::uint32_t code, std::int32_t index);
    // The price of the next level; 0 means not for sale.
    std::int32_t GetUpgradeCost(std::uint32_t code, std::int32_t index);
    // Whether the next level is affordable; with `remember` it becomes the
    // purchase that BUY confirms.
    bool TryPurchase(bool remember, std::uint32_t code, std::int32_t index);
    void CancelPurchase(std::uint32_t code, std::int32_t index);
    // BUY: pays the pending purchase, raises the level and rebuilds its owner.
    void ApplyPurchase();
    std::uint32_t GetPendingCode() const { return m_pendingCode; }
    std::int32_t GetPendingPrice() const { return m_pendingPrice; }
    std::int32_t GetPendingIndex() const { return m_pendingIndex; }
    // The shop's buttons come with the shop screen; until then nothing hovers.
    bool IsBuyButtonHovered() const { return false; }
    bool IsFinishButtonHovered() const { return false; }

    // --- Fields the shop floor reads and writes ---

    CLevelRecord& GetLevel() { return m_level; }
    float GetLevelStartDelay() const { return m_levelStartDelay; }
    void SetLevelStartDelay(float seconds) { m_levelStartDelay = seconds; }
    std::int32_t GetFastBonusChain() const { return m_fastBonusChain; }
    void SetFastBonusChain(std::int32_t chain) { m_fastBonusChain = chain; }
    float GetShownCashSpeed() const { return m_shownCashSpeed; }
    float GetShownCounterSpeed() const { return m_shownCounterSpeed; }
    float GetTimeBonus() const { return m_timeBonus; }
    // The end-of-level panel that the shop floor and the bonus game count into.
    CLevelStatistics& GetStatistics() { return m_statistics; }
    // The credits of the menu's credits page.
    CCreditsScroller& GetCredits() { return m_credits; }

private:
    void ClearPurchase();

    CLevelRecord m_level;
    CLevelStatistics m_statistics;
    UpgradeTable m_upgrades;
    CCreditsScroller m_credits;
    std::int32_t m_fastBonusChain = 0;
    float m_levelStartDelay = 0.0f;
    float m_shownCounterSpeed = 0.0f;
    float m_shownCashSpeed = 0.0f;
    std::int32_t m_pendingPrice = 0;
    std::int32_t m_pendingIndex = -1;
    std::uint32_t m_pendingCode = 0;
    float m_timeBonus = 0.0f;
};

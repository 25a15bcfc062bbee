#pragma once
// The one game-state object: the mode word, profiles and fade of its base, the
// record of the level being played, the upgrade table with the purchase in
// progress, and the small services through which the shop floor, the heroine,
// the pet and the bonus game change cash and read upgrade levels.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/gui_button.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/geometry.h"
#include "game/credits_scroller.h"
#include "game/game_session_base.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "game/level_statistics.h"
#include "game/upgrade_table.h"

namespace backend {
class IRenderDevice;
}

// The pictures of the session's screens and HUD.
enum SessionImage : std::size_t {
    IMG_LOADING_SCREEN,
    IMG_LOADING_PROGRESS,
    IMG_HUD_PANEL,
    IMG_GOAL_BAR,
    IMG_HUD_CORNER,
    IMG_TIME_FRAME,
    IMG_HUD_ICON_1,
    IMG_HUD_ICON_2,
    IMG_HUD_ICON_3,
    IMG_HUD_ICON_4,
    IMG_TIME_BAR,
    IMG_MESSAGE_PANEL,
    IMG_COMPLETE_TITLE,
    IMG_FAILED_TITLE,
    IMG_MAP,
    IMG_COMICS_1,
    IMG_COMICS_2,
    IMG_COMICS_3,
    IMG_COMICS_4,
    IMG_COMICS_5,
    IMG_PETS,
    IMG_MESSAGE_LINE,
    IMG_MAP_MARK,
    IMG_MAP_MARK_LARGE,
    SESSION_IMAGE_COUNT
};

// The buttons of the session's screens, overlays and HUD.
enum SessionButton : std::size_t {
    BTN_RESUME,
    BTN_SAVE_AND_EXIT,
    BTN_OK,
    BTN_TRY_AGAIN,
    BTN_FINISH,
    BTN_BUY,
    BTN_SKIP,
    BTN_PLAY,
    BTN_FISH_PERSON,
    BTN_TURTLE_PERSON,
    BTN_NEXT,
    BTN_BACK,
    BTN_PAUSE,
    SESSION_BUTTON_COUNT
};

class CGameSession : public CGameSessionBase {
public:
    // Seconds the shop floor waits at every level start.
    static constexpr float LEVEL_START_DELAY = 1.2f;
    // Design pixels of the full time bar.
    static constexpr float TIME_BAR_WIDTH = 282.0f;
    // One map point per story level.
    static constexpr std::size_t MAP_POINT_COUNT = 45;

    CGameSession() = default;

    // The images, buttons, map marker and map points of the screens and the
    // HUD, once the resources are loaded; also reads upgrades.xml and builds
    // the credits. A second call replaces everything the first built.
    void BuildGui();
    // The HUD of play, the screens that replace the world and the overlays
    // over a paused world; it only draws what the session holds.
    void RenderHud(backend::IRenderDevice* device, Vec2 screenScale);

    // Once per frame in every mode: the name entry, Escape, the overlays,
    // the pending steps and screens once the fade is black, and the level.
    void Update(CAppFramework* window, backend::IRenderDevice* device, const InputState& input,
                Vec2 scale, Vec2 offset, float elapsed);
    // The debug mode's keys, every frame after Update.
    void HandleKeys(backend::IRenderDevice* device, const InputState& input, float elapsed);

    // --- Game and level flow ---

    // A game for the current profile: a new one, the next level, or (direct)
    // the retry of the same level. False without a current profile, and when
    // the level is missing from a damaged level base: the profile is then
    // left as it was and the menu comes back. Past the last level of a whole
    // level base the game is completed.
    bool StartGame(bool resetProfile, bool direct);
    // Level n of levels.xml (1-based) into the world; false when it or the
    // level before it does not exist.
    bool StartLevel(std::int32_t n);
    // True while the profile has tries; otherwise the game is over.
    bool CheckTriesLeft();
    void ReturnToMenu();
    // The level-complete overlay's OK once every line is shown.
    void CompleteLevel(backend::IRenderDevice* device);

    // The guided training from `firstStep` (0 for the first training level, 26
    // for the second): its first tip waits half a second, SKIP still hidden.
    void StartTraining(std::int32_t firstStep);
    // The tip window a training step (0 to 34) opens.
    static HintDesc TrainingTip(std::int32_t step);
    // One frame of the training: the rules that hold in every step, then the
    // current step's wait, entry, per-frame work and end test. Runs while the
    // mode word is exactly play in training and the level-start delay is over.
    void RunTrainingScript(const InputState& input, Vec2 scale, float elapsed);

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
    bool IsBuyButtonHovered() const { return m_buttons[BTN_BUY].hovered; }
    bool IsFinishButtonHovered() const { return m_buttons[BTN_FINISH].hovered; }
    bool IsPauseButtonHovered() const { return m_buttons[BTN_PAUSE].hovered; }

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

    // --- Screens and HUD ---

    CGuiImage& GetImage(SessionImage image) { return m_images[image]; }
    CGuiButton& GetButton(SessionButton button) { return m_buttons[button]; }
    const CSheetAnimation& GetMapMarker() const { return m_mapMarker; }
    const std::vector<Vec2>& GetMapPoints() const { return m_mapPoints; }
    // Seconds of the level left and in all; the time bar and CLOSED show them.
    float GetTimeLeft() const { return m_timeLeft; }
    void SetTimeLeft(float seconds) { m_timeLeft = seconds; }
    float GetTotalTime() const { return m_totalTime; }
    void SetTotalTime(float seconds) { m_totalTime = seconds; }
    float GetTimeBarWidth() const { return m_timeBarWidth; }
    // How visible the training's SKIP button is, 0 to 255, and the step of
    // the training script (-1 none).
    float GetTipAlpha() const { return m_tipAlpha; }
    void SetTipAlpha(float alpha) { m_tipAlpha = alpha; }
    std::int32_t GetTrainingStep() const { return m_trainingStep; }
    void SetTrainingStep(std::int32_t step) { m_trainingStep = step; }
    // 0 while the step's tip is not shown yet, 1 once it is and the step waits
    // for the player.
    std::int32_t GetTrainingSubState() const { return m_trainingSubState; }
    // The wait before the next tip, seconds.
    float GetTrainingTimer() const { return m_trainingTimer; }
    // The loading screen stays this long after its last picture.
    float GetTextureHoldTimer() const { return m_textureHoldTimer; }
    void SetTextureHoldTimer(float seconds) { m_textureHoldTimer = seconds; }
    // The loading group the next screen needs.
    std::int32_t GetTextureGroup() const { return m_textureGroup; }
    void SetTextureGroup(std::int32_t group) { m_textureGroup = group; }
    bool IsDebugOn() const { return m_debug; }
    void SetDebug(bool on) { m_debug = on; }
    bool IsDebugSkipPending() const { return m_debugSkipPending; }
    // 0 running, 1 the result shown, 2 the second popup shown.
    std::int32_t GetEndState() const { return m_endState; }
    float GetEndTimer() const { return m_endTimer; }
    float GetAmbientTimer() const { return m_ambientTimer; }
    void SetAmbientTimer(float seconds) { m_ambientTimer = seconds; }

private:
    void ClearPurchase();
    // --- The parts of Update ---
    void HandleEscape(const InputState& input);
    void UpdateOverlays(backend::IRenderDevice* device, const InputState& input, Vec2 scale,
                        float elapsed);
    // False when a step started a game and the fade-out runs again.
    bool ServePendingSteps();
    void ServeScreen(backend::IRenderDevice* device, const InputState& input, Vec2 scale,
                     float elapsed);
    void ServeLoadingScreen(backend::IRenderDevice* device, float elapsed);
    // A screen's button: fade out, then serve it once more to clear its bit.
    void LeaveScreen() { AddModeBits(MODE_FADE_OUT | MODE_LEAVE_SCREEN); }
    // The second serving of a screen being left: true when its bit is gone.
    bool FinishLeaving(std::uint32_t screen);
    void ServeDebugSkip(backend::IRenderDevice* device);
    void WinLevelNow();
    void GameOver();
    void CompleteGame();
    // Back to the menu without touching the game; fromMenu: the call came
    // from the menu, which simply stays.
    void LeaveForMenu(bool fromMenu);
    // The score of an ended game is offered to the table and the profile
    // starts over, each stored once.
    void EndGameWithScore(CProfile& profile);
    // --- The level logic of play ---
    void UpdateLevel(const InputState& input, Vec2 scale, float elapsed);
    void PlayAmbientSound(float elapsed);
    void UpdateGoalBar(const CProfile& profile);
    void PlayGoalSounds(const CProfile& profile);
    void UpdateShownValues(CProfile& profile, float elapsed);
    void UpdateLevelTimer(bool training, float elapsed);
    void UpdateTimeBar();
    void UpdateLevelEnd(const CProfile& profile, bool training, float elapsed);
    // --- The parts of RenderHud ---
    void RenderPlayHud(Vec2 screenScale, const CProfile& profile);
    void RenderScreen(Vec2 screenScale, const CProfile& profile);
    void RenderMapMarks(Vec2 screenScale, const CProfile& profile);
    void RenderOverlay(backend::IRenderDevice* device, Vec2 screenScale, const CProfile& profile);
    void RenderBriefing(Vec2 screenScale, const CProfile& profile);
    void RenderGoals(Vec2 screenScale, float needY, float expertY);
    void DrawImage(SessionImage image, Vec2 screenScale, bool snap = true);
    // An image placed at a design position just for this draw.
    void DrawImageAt(SessionImage image, Vec2 screenScale, Vec2 position);

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
    bool m_debug = false;
    bool m_debugSkipPending = false;
    std::string m_debugKeys;
    std::int32_t m_textureGroup = 0;
    float m_textureHoldTimer = 0.0f;
    float m_timeLeft = 0.0f;
    float m_totalTime = 0.0f;
    float m_timeBarWidth = TIME_BAR_WIDTH;
    float m_tipAlpha = 0.0f;
    std::int32_t m_trainingStep = -1;
    std::int32_t m_trainingSubState = 0;
    float m_trainingTimer = 0.0f;
    float m_endTimer = 0.0f;
    std::int32_t m_endState = 0;
    float m_ambientTimer = 0.0f;
    std::array<CGuiImage, SESSION_IMAGE_COUNT> m_images;
    std::array<CGuiButton, SESSION_BUTTON_COUNT> m_buttons;
    CSheetAnimation m_mapMarker;
    std::vector<Vec2> m_mapPoints;
};

// The game's state: mode word, profiles, the level being played, upgrades. One for the whole game,
// defined in game/globals.cpp.
extern CGameSession g_gameSession;

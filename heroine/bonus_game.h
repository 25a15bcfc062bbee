#pragma once
// The bonus level's mini-game: turtles swim across three rows of the water,
// gulls fly in from the top, hunt them and carry them off, and the player's
// hand chases the gulls and makes the turtles dodge. Points are won for saved
// turtles and for driving off attacking gulls and lost for caught ones; the
// level ends once no turtle is left and the last gull has flown off, and is
// won when the score has reached the level's goal.
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/frame_animation.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"
#include "game/level_base.h"
#include "heroine/bonus_creatures.h"

struct InputState;

class CBonusGame {
public:
    // Score events.
    static constexpr float SAVE_POINTS = 200.0f;
    static constexpr float LOSS_POINTS = 200.0f;
    static constexpr float CATCH_POINTS = 50.0f;
    static constexpr float CHAIN_POINTS = 10.0f;
    // Seconds to the first gull cry after the start, and between cries.
    static constexpr float FIRST_CRY = 10.0f;
    static constexpr float CRY_INTERVAL = 20.0f;
    // The bar's shown score follows the score at this many points per second.
    static constexpr float BAR_SPEED = 300.0f;
    // Pixel height of the part of the bar the cover can hide.
    static constexpr float BAR_HEIGHT = 277.0f;
    // A press above this design height counts as a press in the sky.
    static constexpr float SKY_LINE = 600.0f;

    CBonusGame() = default;

    // The score bar and the hand cursor, once the device exists.
    void BuildSprites();
    // A copy of the level; its clock, counters and score start at 0.
    void StartLevel(CLevelRecord level);
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    // Turtles by row, gulls, the goal text and the score bar.
    void Render(backend::IRenderDevice* device, Vec2 screenScale);
    // The hand at the pointer; it stands in for the cursor on a bonus level.
    void RenderHand(backend::IRenderDevice* device, Vec2 screenScale);

    // A gull of a level entry, entering from the top at a random x.
    void SpawnGull(std::int32_t kind, float speed, float attackSpeed);
    // A turtle of a level entry, entering at the left edge of its row.
    void SpawnTurtle(std::int32_t kind, float speed, float energy, float rest, std::int32_t path);

    const CLevelRecord& GetLevel() const { return m_level; }
    float GetClock() const { return m_clock; }
    std::int32_t GetScore() const { return static_cast<std::int32_t>(m_score); }
    float GetShownScore() const { return m_shownScore; }
    std::int32_t GetChain() const { return m_chain; }
    std::int32_t GetSaved() const { return m_saved; }
    std::int32_t GetTotal() const { return m_total; }
    float GetCryTimer() const { return m_cryTimer; }
    float GetPulse() const { return m_pulse; }
    std::int32_t GetHandClip() const { return m_handClip; }
    const CFrameAnimation& GetHand() const { return m_hand; }
    const CGuiImage& GetBarCover() const { return m_barCover; }
    // The creatures, in spawn order, open to be laid out directly.
    std::vector<CBonusGull>& Gulls() { return m_gulls; }
    std::vector<CBonusTurtle>& Turtles() { return m_turtles; }

private:
    // Each step answers false when it removed its creature.
    bool StepGull(std::size_t index, const InputState& input, Vec2 screenScale, float elapsed);
    bool StepTurtle(std::size_t index, const InputState& input, Vec2 screenScale, float elapsed);
    // Parts of the gull step.
    void ChaseGull(CBonusGull& gull, const InputState& input, Vec2 screenScale);
    void DecideFlight(CBonusGull& gull, std::size_t index, float elapsed);
    CBonusTurtle* ChooseTarget(CBonusGull& gull);
    void FollowTarget(CBonusGull& gull, CBonusTurtle* choice, Vec2 screenScale);
    void DiveToWater(CBonusGull& gull, CBonusTurtle* choice, Vec2 screenScale);
    void PlaceCarriedTurtle(CBonusGull& gull);
    void SendGullAway(CBonusGull& gull, std::size_t index);
    void CarryOff(CBonusGull& gull, Vec2 screenScale);
    CBonusTurtle* FindTurtle(std::int32_t id);

    void UpdateScore(float elapsed);
    void SpawnDue();
    void UpdateHand(const InputState& input, Vec2 screenScale, float elapsed);
    void EndIfOver();
    // One more successful action: the chain grows and pays for itself.
    void ScoreChain(float textX, float textY);
    void Gain(float points, float textX, float textY);
    void Lose(float points, float textX, float textY);
    bool TurtlesLeft() const;

    std::vector<CBonusGull> m_gulls;
    std::vector<CBonusTurtle> m_turtles;
    CFrameAnimation m_hand;
    // The mouse moved since the hand last chose a clip.
    bool m_handMoved = false;
    std::int32_t m_handClip = 0;
    // Its enemy list is used up as the entries spawn.
    CLevelRecord m_level;
    // Seconds of play since the start delay ended.
    float m_clock = 0.0f;
    std::int32_t m_saved = 0;
    // The level's turtle entries at the start.
    std::int32_t m_total = 0;
    std::int32_t m_nextTurtleId = 0;
    std::int32_t m_chain = 0;
    float m_cryTimer = 0.0f;
    CGuiImage m_barFrame;
    CGuiImage m_barCover;
    // 0 to the level's goal.
    float m_score = 0.0f;
    float m_shownScore = 0.0f;
    // The bar swells twice and shrinks back when the goal is reached.
    std::int32_t m_pulseStep = 0;
    float m_pulse = 0.0f;
    // Flags of one frame: a gull action scored, a turtle was clicked, a
    // click or a dodge broke the chain.
    bool m_scored = false;
    bool m_turtleClicked = false;
    bool m_chainBreak = false;
};

// The mini-game of the bonus levels. One for the whole game, defined in game/globals.cpp.
extern CBonusGame g_bonusGame;

#pragma once
// The statistics panel of the level-complete and level-failed overlays. The
// shop floor and the bonus game count into it during the level and the session
// copies the level's cash and times into it every play frame; at the end of the
// level it reveals its lines one by one, every half second with a sound, while
// the cash line counts up to the level's result.
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/platform/geometry.h"

struct InputState;

class CLevelStatistics {
public:
    static constexpr std::int32_t STORY_LINES = 7;
    static constexpr std::int32_t BONUS_LINES = 3;
    static constexpr float REVEAL_INTERVAL = 0.5f;
    // Cash units per second of the count on the first line.
    static constexpr float COUNT_SPEED = 1000.0f;
    static constexpr unsigned SAMPLE_COUNT = 42;
    static constexpr unsigned SAMPLE_LINE = 43;
    // What a saved turtle pays on a bonus level.
    static constexpr std::int32_t TURTLE_REWARD = 50;

    // A new panel holds the values of a reset for a story level.
    CLevelStatistics() = default;

    // Everything back to 0 for a new level; a bonus level has three lines.
    void Reset(bool bonus);
    // One frame of the reveal. Called while fewer lines are shown than there
    // are; neither the input nor the scale is read.
    void Update(const InputState& input, Vec2 screenScale, float elapsed, bool bonus);
    // The lines revealed so far.
    void Render(backend::IRenderDevice* device, Vec2 screenScale, bool bonus);
    // OK clicked during the reveal: every line at once, the count arrived at
    // the level's cash.
    void ShowAll(std::int32_t cash);

    // Written by the aquarium update, the machine, the order list, the bonus
    // game and the session.
    std::int32_t orderFishDied = 0;
    std::int32_t orderFishSold = 0;
    std::int32_t computerFishDied = 0;
    std::int32_t computerFishSold = 0;
    std::int32_t fishSold = 0;
    std::int32_t deadFishAndMissedOrders = 0;
    std::int32_t spareCounter = 0;
    float playTime = 0.0f;
    float timeLeft = 0.0f;
    std::int32_t secondCounter = 0;
    std::int32_t target = 0;
    std::int32_t turtlesSaved = 0;
    std::int32_t turtlesLost = 0;
    float shownNumber = 0.0f;
    float shownSecondCounter = 0.0f;
    std::int32_t combos = 0;
    float revealTimer = REVEAL_INTERVAL;
    bool needReached = false;
    bool expertReached = false;
    std::int32_t shownLines = 0;
    // The bonus game adds the line of a won mini-game.
    std::int32_t totalLines = STORY_LINES;
    float revealInterval = REVEAL_INTERVAL;

private:
    void RevealLine();
    void RenderStory(Vec2 screenScale);
    void RenderBonus(Vec2 screenScale);
};

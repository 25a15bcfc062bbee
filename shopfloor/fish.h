#pragma once
// The fish that lives in one aquarium from the moment an order is dropped on it
// until it is sold or dies. It raises one wish at a time through its bubble,
// grows from the wishes met and loses growth and value on those missed, and
// swims, rests and turns in its kind's own way.
#include <array>
#include <cstdint>

#include "engine/backend/video.h"
#include "engine/media/frame_animation.h"
#include "engine/platform/geometry.h"
#include "engine/platform/oscillator.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/request_bubble.h"

struct InputState;

enum FishState : std::int32_t { FISH_GROWING = 0, FISH_GROWN = 1, FISH_DEAD = 2 };

// One of the extra fish of a shoal.
struct ShoalFish {
    bool turning = false;
    float speed = 0.0f;
    float alpha = 0.0f;
    COscillator bob;
    float x = 0.0f;
    float y = 0.0f;
    float dirX = 0.0f;
    float dirY = 0.0f;
    CFrameAnimation body;
};

// The swimming area in design pixels.
struct SwimRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

class CFish {
public:
    static constexpr float FADE_SPEED = 500.0f;
    // Percent per second at which the shown growth follows the true one.
    static constexpr float GROWTH_SHOW_SPEED = 50.0f;
    static constexpr float HALF_GROWN = 40.0f;
    static constexpr float ADULT = 80.0f;
    static constexpr float FULL_GROWTH = 100.0f;
    // Patience in percent above which a wish met counts as fast.
    static constexpr float FAST_PATIENCE = 85.0f;
    static constexpr std::int32_t FAST_BONUS = 5;
    static constexpr int SHOAL_EXTRA_FISH = 4;

    CFish() = default;

    // Once per frame, also for an empty aquarium (kind -1).
    void Update(const InputState& input, Vec2 scale, float dt, bool lampOn, bool compressorOn,
                float audioEffect);
    // The code that met the pending wish: a food possibly with one vitamin.
    void ApplyItem(std::uint32_t code);
    void Draw(backend::IRenderDevice* device, Vec2 scale);

    // Places a new fish of its kind in the aquarium at (x, y): position,
    // swimming area, speeds, bob, swim timer and body clips.
    void Dress(float aquariumX, float aquariumY);

    // The swim behaviours; each moves the fish and picks its clips.
    void SwimDefault(const InputState& input, Vec2 scale, float dt);
    void SwimJelly(const InputState& input, Vec2 scale, float dt);
    void SwimShoal(const InputState& input, Vec2 scale, float dt);
    void SwimOctopus(const InputState& input, Vec2 scale, float dt);
    void SwimCrab(const InputState& input, Vec2 scale, float dt);
    void SwimShell(const InputState& input, Vec2 scale, float dt);

    std::int32_t kind = FISH_NONE;
    // 0 young, 1 half grown, 2 adult.
    std::int32_t stage = 0;
    std::int32_t clipsPerStage = 0;
    std::int32_t nameText = -1;
    float alpha = 0.0f;
    float value = 0.0f;
    // The switch states wanted: 1 on, 0 off, -1 either.
    std::int32_t lamp = 0;
    std::int32_t compressor = 0;
    std::int32_t state = FISH_GROWING;
    std::int32_t octopusPhase = 0;
    bool computerOrder = false;
    bool leaving = false;
    bool lively = false;
    bool inTransition = false;
    bool gesturePending = false;
    float speed = 0.0f;
    COscillator bob;
    float x = 0.0f;
    float y = 0.0f;
    float dirX = 0.0f;
    float dirY = 0.0f;
    CFrameAnimation body;
    std::array<ShoalFish, SHOAL_EXTRA_FISH> shoalFish;
    float bubbleX = 0.0f;
    float bubbleY = 0.0f;
    float maxSpeed = 40.0f;
    float bobFactor = 0.5f;
    float growth = 0.0f;
    float shownGrowth = 0.0f;
    SwimRect swimRect;
    CRequestBubble bubble;
    FishType type;

private:
    void TakeExpiredWish();
    void UpdateFade(float dt);
    void UpdateShownGrowth(float dt);
    void SetStage(std::int32_t newStage, unsigned sample);
    void UpdateWishCountdown(float dt, bool lampOn, bool compressorOn);
    void RaiseNextWish(bool lampOn, bool compressorOn);
    void RaiseTrainingWish();
    bool IsCalmed(float audioEffect) const;
    void ShowGain(const char* textId, std::int32_t amount, float dy, std::uint32_t colour) const;

    // The first clip of the current stage.
    unsigned StageBase() const { return static_cast<unsigned>(stage * clipsPerStage); }
    void Bob(COscillator& oscillator, float& bobY, float bobSpeed, float dt) const;
    // Step 2 to 5 of a shoal fish, shared by the main fish and its extras.
    void SwimShoalMember(float& memberX, float& memberSpeed, float& memberDirX, bool& turning,
                         CFrameAnimation& memberBody, float dt);
};

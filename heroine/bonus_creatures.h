#pragma once
// The creatures of the bonus level: turtles swimming along three rows of the
// water and the gulls that hunt them. Both are plain values, copied member by
// member, so that the bonus game can hold them in arrays and remove them in
// place; what they do each frame is the bonus game's business, since every
// step reads and writes its score and chain.
#include <cstdint>
#include <span>

#include "engine/media/frame_animation.h"
#include "engine/media/gui_image.h"
#include "engine/platform/geometry.h"

// One clip of a bonus-level animation: frames first..last of an Animation2D
// resource, drawn at the offset from the creature's position.
struct BonusClipRow {
    const char* animation;
    std::int32_t first;
    std::int32_t last;
    float frameTime;
    float offsetX;
    float offsetY;
};

// Replaces the animation's clips by these, in order.
void SetBonusClips(CFrameAnimation& animation, std::span<const BonusClipRow> rows);

// What a gull is doing; GULL_LOST is added to GULL_DIVE.
enum GullState : std::int32_t {
    GULL_GLIDE = 1,
    GULL_FLY = 2,
    GULL_HUNT = 4,
    GULL_DIVE = 8,
    GULL_LOST = 16,
    GULL_CARRY = 32,
    GULL_MISSED = 64,
    GULL_LEAVE = 128,
};

// The gull's animation clips.
enum GullClip : unsigned {
    GULL_CLIP_CARRY = 0,
    GULL_CLIP_GRAB = 1,
    GULL_CLIP_MISS = 2,
    GULL_CLIP_GLIDE = 3,
    GULL_CLIP_FLY = 4,
};

// The turtle's animation clips.
enum TurtleClip : unsigned {
    TURTLE_CLIP_REST = 0,
    TURTLE_CLIP_SWIM = 1,
};

struct CBonusGull {
    // The gull stands at (base.x, base.y); the picture is never drawn.
    CGuiImage base;
    // The level entry's type; it changes nothing.
    std::int32_t kind = 0;
    // Pixels per second.
    float speed = 10.0f;
    float glideSpeed = 20.0f;
    float attackSpeed = 300.0f;
    // Extra speed on top of the state's speed.
    float boost = 0.0f;
    // Seconds to the next decision while flying or gliding.
    float timer = 0.0f;
    std::int32_t state = 0;
    // The turtle it dives at or carries, by id: the turtle array shrinks
    // during a frame, so an index would go stale.
    std::int32_t targetId = -1;
    Vec2 direction;
    // Where the gull must be to drop straight onto its chosen turtle.
    float aimX = 0.0f;
    float spawnY = 0.0f;
    CFrameAnimation animation;
    // The turtle hanging from its feet, shown only while carrying.
    CGuiImage carried;

    // The five clips; the carried turtle's picture at the gull's position.
    void Build();
    void Render(Vec2 screenScale);
    bool Is(std::int32_t bits) const { return (state & bits) != 0; }
};

struct CBonusTurtle {
    // The turtle swims at (base.x, base.y) on its row; base.offsetY is its
    // height above the row while it falls back from a gull. Never drawn.
    CGuiImage base;
    // The level entry's type plus 2; it changes nothing.
    std::int32_t kind = 0;
    // 0 to 2, from the top.
    std::int32_t row = 0;
    std::int32_t id = -1;
    bool active = true;
    // Pixels per second.
    float speed = 10.0f;
    float boost = 0.0f;
    // Seconds of swimming left and per spell.
    float energy = 10.0f;
    float energyMax = 10.0f;
    // Seconds of rest left and per rest.
    float rest = 10.0f;
    float restMax = 10.0f;
    // A gull chose it earlier in this frame.
    bool targeted = false;
    // A gull has it.
    bool taken = false;
    // Dropped by a gull and falling back.
    bool falling = false;
    // Pixels per second, positive downward.
    float fallSpeed = 0.0f;
    std::int32_t bounces = 0;
    // Clicked in the previous frame.
    bool dodge = false;
    Vec2 direction;
    CFrameAnimation animation;

    float Lift() const { return base.offsetY; }
    void SetLift(float lift) { base.offsetY = lift; }
    // The resting and the swimming clip.
    void Build();
    void Render(Vec2 screenScale);
};

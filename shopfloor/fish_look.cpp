// How each fish kind looks and where it swims: its place in the aquarium,
// swimming area, speeds and bob, and its body clips, one group per growth
// stage with the same roles in the same order.
#include <array>
#include <iterator>

#include "engine/backend/clock.h"
#include "engine/platform/random_float.h"
#include "shopfloor/fish.h"

namespace {

// Start position and swimming area, relative to the aquarium.
struct Placement {
    float startX;
    float startY;
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
    float speed;
    float maxSpeed;
    float bobFactor;
    // A random rest before the first swim (-10 to -5 s), or a fixed timer.
    bool randomTimer;
    float swimTimer;
    std::int32_t clipsPerStage;
};

constexpr Placement DEFAULT_PLACE = {60, 70, 0, 0, 0, 0, 20, 40, 0.5f, true, 0, 0};

// Indexed by kind.
constexpr Placement PLACEMENTS[] = {
    {60, 70, 5, 68, 140, 82, 20, 40, 0.5f, true, 0, 7},      // FISH_1
    {60, 70, 15, 69, 150, 81, 20, 40, 0.5f, true, 0, 7},     // FISH_2
    {60, 70, -10, 66, 130, 78, 20, 35, 0.5f, true, 0, 7},    // THORN_FISH
    {60, 70, 0, 78, 120, 84, 20, 40, 0.25f, true, 0, 7},     // CAT_FISH
    {90, 58, 5, 54, 160, 64, 20, 15, 0.4f, false, 0, 1},     // JELLY_FISH_1
    {90, 58, 5, 54, 160, 64, 20, 15, 0.4f, false, 0, 1},     // JELLY_FISH_2
    {60, 70, 11, 75, 119, 75, 20, 35, 0.25f, true, 0, 7},    // CRAMP_FISH
    {60, 70, -3, 70, 145, 90, 20, 40, 0.5f, true, 0, 7},     // GOLD_FISH_1
    {60, 70, 12, 70, 160, 90, 20, 40, 0.5f, true, 0, 7},     // GOLD_FISH_2
    {80, 86, 20, 68, 135, 86, 20, 35, 0.5f, true, 0, 7},     // SAW_FISH
    {60, 70, -5, 63, 108, 75, 20, 40, 0.5f, true, 0, 7},     // SHARK_1
    {60, 70, -5, 63, 108, 75, 20, 40, 0.5f, true, 0, 7},     // SHARK_2
    {60, 70, 15, 67, 140, 73, 20, 40, 0.25f, true, 0, 7},    // ANGLER_FISH
    {100, 80, 15, 70, 175, 110, 50, 40, 0.5f, false, 5, 4},  // SHOAL_FISHES
    {78, 71, 20, 71, 138, 71, 20, 40, 0.5f, false, 0, 3},    // OCTOPUS
    {90, 89, 20, 89, 158, 89, 40, 40, 0.25f, false, 1, 5},   // CRAB
    {65, 95, 0, 95, 100, 95, 0, 40, 0.5f, false, 1, 2},      // SHELL
};
static_assert(std::size(PLACEMENTS) == FISH_KIND_COUNT);

struct FrameRange {
    std::int32_t first;
    std::int32_t last;
};

struct ClipCrop {
    std::int32_t clip;  // counted over all stages; -1 ends the list
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

constexpr std::int32_t MAX_CROPS = 9;

struct Look {
    const char* resource;
    // Frames per stage block: stage s uses (2 - s) x block + the ranges. 0
    // gives every stage the same frames.
    std::int32_t block;
    std::array<FrameRange, 7> ranges;
    // Draw offsets young, half grown, adult.
    std::array<Vec2, 3> offsets;
    float frameTime;
    bool cropAll;
    ClipCrop all;
    std::array<ClipCrop, MAX_CROPS> clips;
};

constexpr std::array<FrameRange, 7> SEVEN_ROLES = {
    {{0, 15}, {16, 31}, {32, 39}, {40, 47}, {48, 63}, {64, 69}, {70, 75}}};
constexpr ClipCrop NO_CROP = {-1, 0, 0, 0, 0};
constexpr ClipCrop TRIM_SIDES = {-1, 1, -1, 0, -1};
constexpr ClipCrop TRIM_BOTTOM = {-1, 0, 0, 0, -1};

constexpr std::array<Vec2, 3> Same(float x, float y) {
    return {{{x, y}, {x, y}, {x, y}}};
}

constexpr std::array<ClipCrop, MAX_CROPS> NO_CLIPS = {
    {NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP}};

constexpr Look SevenClips(const char* resource, std::array<Vec2, 3> offsets, bool cropAll,
                          ClipCrop all, std::array<ClipCrop, MAX_CROPS> clips = NO_CLIPS) {
    return {resource, 76, SEVEN_ROLES, offsets, 0.06f, cropAll, all, clips};
}

constexpr Look JellyLook(const char* resource) {
    return {resource, 32,    {{{0, 31}}}, {{{3, 10}, {1, 8}, {-3, 0}}},
            0.06f,    false, NO_CROP,     NO_CLIPS};
}

// Indexed by kind; the shell's irregular stage frames are SHELL_RANGES.
const Look LOOKS[] = {
    SevenClips("A_FISH_1", Same(-101, -132), true, TRIM_SIDES),
    SevenClips("A_FISH_2", Same(-116, -117), true, TRIM_SIDES),
    SevenClips("A_THORN_FISH", {{{-84, -138}, {-84, -136}, {-84, -133}}}, true, TRIM_SIDES),
    SevenClips("A_CAT_FISH", Same(-89, -137), false, NO_CROP),
    JellyLook("A_JELLY_FISH_1"),
    JellyLook("A_JELLY_FISH_2"),
    SevenClips("A_CRAMP_FISH", Same(-93, -113), true, TRIM_BOTTOM),
    SevenClips("A_GOLD_FISH_1", {{{-101, -118}, {-101, -116}, {-100, -116}}}, true, TRIM_BOTTOM,
               {{{0, 1, 0, 0, -1},
                 {11, 1, 0, 0, -1},
                 {14, 1, 0, 0, -1},
                 {16, 1, 0, 0, -1},
                 {18, 1, 0, 0, -1},
                 {19, 1, 0, 0, -1},
                 {7, 1, -1, 0, -1},
                 {8, 1, -1, 0, -1},
                 NO_CROP}}),
    SevenClips("A_GOLD_FISH_2", {{{-118, -136}, {-118, -139}, {-118, -139}}}, true, TRIM_BOTTOM,
               {{{4, 1, 0, 0, -1},
                 {13, 1, 0, 0, -1},
                 {14, 1, 0, 0, -1},
                 {15, 0, -1, 0, -1},
                 NO_CROP,
                 NO_CROP,
                 NO_CROP,
                 NO_CROP,
                 NO_CROP}}),
    SevenClips("A_SAW_FISH", Same(-108, -119), true, TRIM_BOTTOM),
    SevenClips("A_SHARK_1", Same(-82, -131), true, TRIM_BOTTOM),
    SevenClips("A_SHARK_2", Same(-82, -131), true, TRIM_BOTTOM),
    SevenClips("A_ANGLER_FISH", Same(-107, -108), true, TRIM_BOTTOM),
    {"A_SHOAL_FISHES_1",
     0,
     {{{0, 15}, {16, 31}, {32, 39}, {40, 47}}},
     Same(-123, -134),
     0.035f,
     false,
     NO_CROP,
     NO_CLIPS},
    {"A_OCTOPUS",
     48,
     {{{0, 15}, {16, 31}, {32, 47}}},
     {{{-109, -118}, {-109, -123}, {-109, -127}}},
     0.07f,
     true,
     TRIM_BOTTOM,
     {{{8, 0, -1, 0, -1}, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP}}},
    {"A_CRAB",
     50,
     {{{0, 15}, {16, 23}, {24, 29}, {30, 45}, {46, 49}}},
     Same(-118, -122),
     0.06f,
     true,
     TRIM_BOTTOM,
     {{{3, 0, -1, 0, -1}, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP, NO_CROP}}},
    {"A_SHELL", 0, {}, Same(-116, -126), 0.06f, false, NO_CROP, NO_CLIPS},
};
static_assert(std::size(LOOKS) == FISH_KIND_COUNT);

// Young, half grown, adult: open and close, idle.
constexpr FrameRange SHELL_RANGES[3][2] = {
    {{97, 128}, {129, 144}}, {{49, 80}, {81, 96}}, {{0, 31}, {32, 48}}};

constexpr float SHOAL_FRAME_TIME = 0.035f;
constexpr Vec2 SHOAL_OFFSET = {-123, -134};
const char* const SHOAL_EXTRA_RESOURCES[] = {"A_SHOAL_FISHES_2", "A_SHOAL_FISHES_1",
                                             "A_SHOAL_FISHES_2", "A_SHOAL_FISHES_3"};

// A number of the generator freshly seeded with factor x the millisecond clock.
int FreshRandom(std::uint32_t factor) {
    SeedRandom(factor * static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    return NextRandom();
}

float Direction(int r) {
    return (r & 1) != 0 ? 1.0f : -1.0f;
}

void AddClips(CFrameAnimation& body, std::int32_t kind, const Look& look, std::int32_t roles) {
    const int stages = look.block == 0 && kind != SHELL ? 1 : 3;
    for (int stage = 0; stage < stages; ++stage) {
        for (std::int32_t role = 0; role < roles; ++role) {
            FrameRange range = kind == SHELL ? SHELL_RANGES[stage][role]
                                             : look.ranges[static_cast<std::size_t>(role)];
            const std::int32_t base = (2 - stage) * look.block;
            FrameClipDesc desc;
            desc.offsetX = look.offsets[static_cast<std::size_t>(stage)].x;
            desc.offsetY = look.offsets[static_cast<std::size_t>(stage)].y;
            desc.animationId = look.resource;
            desc.firstFrame = base + range.first;
            desc.lastFrame = base + range.last;
            desc.frameTime = look.frameTime;
            body.AddClip(desc);
        }
    }
    if (look.cropAll) {
        body.SetCropAll(look.all.left, look.all.right, look.all.top, look.all.bottom);
    }
    for (const ClipCrop& crop : look.clips) {
        if (crop.clip >= 0) {
            body.SetClipCrop(static_cast<unsigned>(crop.clip), crop.left, crop.right, crop.top,
                             crop.bottom);
        }
    }
}

}  // namespace

void CFish::Dress(float aquariumX, float aquariumY) {
    const bool known = kind >= 0 && kind < FISH_KIND_COUNT;
    const Placement& place = known ? PLACEMENTS[kind] : DEFAULT_PLACE;
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    x = aquariumX + place.startX;
    if (kind == SHELL) {
        x += 10.0f * static_cast<float>(NextRandom()) / 32767.0f;
    }
    y = aquariumY + place.startY;
    const auto ax = static_cast<std::int32_t>(aquariumX);
    const auto ay = static_cast<std::int32_t>(aquariumY);
    swimRect = {ax + place.left, ay + place.top, ax + place.right, ay + place.bottom};
    speed = place.speed;
    maxSpeed = place.maxSpeed;
    bobFactor = place.bobFactor;
    type.swimTimer = place.randomTimer ? -5.0f - 5.0f * static_cast<float>(NextRandom()) / 32767.0f
                                       : place.swimTimer;
    clipsPerStage = known ? place.clipsPerStage : 0;
    dirX = -1.0f;
    dirY = 0.0f;
    const auto top = static_cast<float>(swimRect.top);
    const auto bottom = static_cast<float>(swimRect.bottom);
    bob.Set(top, bottom, (top + bottom) * 0.5f, 1.0f, Direction(NextRandom()));

    body.ClearClips();
    if (!known) {
        return;
    }
    AddClips(body, kind, LOOKS[kind], clipsPerStage);
    body.SetPosition(aquariumX + 27.0f, aquariumY + 32.0f);
    if (kind == OCTOPUS) {
        body.Play(1, true, false, 0.1f);
    } else if (kind == CRAB) {
        body.Play(1, true, false, -1.0f);
    } else if (kind == SHELL) {
        body.Play(0, true, false, 0.1f);
    } else {
        body.Play(0, true, false, -1.0f);
    }

    if (kind != SHOAL_FISHES) {
        return;
    }
    for (int i = 0; i < SHOAL_EXTRA_FISH; ++i) {
        ShoalFish& extra = shoalFish[static_cast<std::size_t>(i)];
        extra = ShoalFish();
        extra.x = aquariumX + 80.0f + 10.0f * static_cast<float>(i);
        extra.y = aquariumY + 70.0f + 10.0f * static_cast<float>(i);
        extra.speed = 20.0f;
        extra.dirX = -1.0f;
        const auto factor = static_cast<std::uint32_t>((i + 12) * (i + 5) * (i + 3));
        extra.bob.Set(top, bottom, (top + bottom) * 0.5f, 1.0f, Direction(FreshRandom(factor)));
        for (std::int32_t role = 0; role < 4; ++role) {
            FrameClipDesc desc;
            desc.offsetX = SHOAL_OFFSET.x;
            desc.offsetY = SHOAL_OFFSET.y;
            desc.animationId = SHOAL_EXTRA_RESOURCES[i];
            desc.firstFrame = LOOKS[SHOAL_FISHES].ranges[static_cast<std::size_t>(role)].first;
            desc.lastFrame = LOOKS[SHOAL_FISHES].ranges[static_cast<std::size_t>(role)].last;
            desc.frameTime = SHOAL_FRAME_TIME;
            extra.body.AddClip(desc);
        }
        extra.body.SetPosition(extra.x, extra.y);
        extra.body.Play(0, true, false, -1.0f);
    }
}

#include "heroine/bonus_creatures.h"

#include "engine/media/resource_manager.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;

// In clip order (GullClip).
constexpr BonusClipRow GULL_CLIPS[] = {
    {"A_GULL_PART_1", 0, 19, 0.05f, -44.0f, -67.0f},
    {"A_GULL_PART_2", 0, 13, 0.033f, -44.0f, -63.0f},
    {"A_GULL_PART_2", 0, 29, 0.033f, -44.0f, -63.0f},
    {"A_GULL_PART_1", 20, 59, 0.05f, -46.0f, -77.0f},
    {"A_GULL_PART_2", 30, 59, 0.05f, -45.0f, -82.0f},
};

// In clip order (TurtleClip).
constexpr BonusClipRow TURTLE_CLIPS[] = {
    {"A_TURTLE", 0, 39, 0.05f, -114.0f, -127.0f},
    {"A_TURTLE", 41, 70, 0.04f, -114.0f, -122.0f},
};

}  // namespace

void SetBonusClips(CFrameAnimation& animation, std::span<const BonusClipRow> rows) {
    animation.ClearClips();
    for (const BonusClipRow& row : rows) {
        FrameClipDesc desc;
        desc.offsetX = row.offsetX;
        desc.offsetY = row.offsetY;
        desc.animationId = row.animation;
        desc.firstFrame = row.first;
        desc.lastFrame = row.last;
        desc.frameTime = row.frameTime;
        animation.AddClip(desc);
    }
}

void CBonusGull::Build() {
    GuiImageDesc desc;
    desc.x = base.x;
    desc.y = base.y;
    desc.imageId = "_TURTLE_BODY";
    desc.right = 54;
    desc.bottom = 32;
    carried.Create(desc);
    SetBonusClips(animation, GULL_CLIPS);
}

void CBonusGull::Render(Vec2 screenScale) {
    if (state == GULL_CARRY) {
        carried.Draw(nullptr, screenScale, true, WHITE, false);
    }
    animation.Draw(screenScale, WHITE);
}

void CBonusTurtle::Build() {
    SetBonusClips(animation, TURTLE_CLIPS);
    // Off the design size the scaled frames would bleed a line of their
    // neighbours on the sheet.
    const Vec2 scale = ResourceManager::Instance().GetScale();
    if (scale.x != 1.0f || scale.y != 1.0f) {
        animation.SetClipCrop(TURTLE_CLIP_REST, 1, 0, 0, -1);
        animation.SetClipCrop(TURTLE_CLIP_SWIM, 1, 0, 0, -1);
    }
}

void CBonusTurtle::Render(Vec2 screenScale) {
    if (taken && !falling) {
        return;
    }
    animation.Draw(screenScale, WHITE);
}

// The heroine's layered figure: the standing pair (body and footwear), the
// walking layers, the shadow, the work pose's front layer and cloud, and the
// three passes that draw her at her depths in the scene.
#include <algorithm>
#include <string>

#include "engine/media/resource_manager.h"
#include "game/game_session.h"
#include "heroine/heroine.h"
#include "shopfloor/item_codes.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFFu;
constexpr std::uint32_t SHADOW_COLOUR = 0xBBFFFFFFu;
constexpr float STANDING_FRAME = 0.07f;
constexpr float WORK_FRAME = 0.05f;
constexpr float CLOUD_FADE_PER_SECOND = 500.0f;
constexpr unsigned LONG_WORK_CLIP = 13;
constexpr unsigned LEVEL_COMPLETE_CLIP = 14;

struct FrameRun {
    const char* id;
    std::int32_t first;
    std::int32_t last;
    bool mirrored;
};

FrameClipDesc FrameClipOf(float x, float y, FrameRun run, float frameTime) {
    FrameClipDesc desc;
    desc.offsetX = x;
    desc.offsetY = y;
    desc.scaleX = run.mirrored ? -1.0f : 1.0f;
    desc.animationId = run.id;
    desc.firstFrame = run.first;
    desc.lastFrame = run.last;
    desc.frameTime = frameTime;
    return desc;
}

// A sheet clip stepping down the rows of a grid, shifted by its cell offset.
struct SheetCells {
    std::int32_t width;
    std::int32_t height;
    std::int32_t originX;
    std::int32_t originY;
    SheetCell start;
    SheetCell end;
    std::int32_t columns;
    std::int32_t rows;
    std::int32_t cellOffset;
};

// The two sheets of each footwear level, 1 to 3: the small pair's front and
// back views, and the large pair's side views with the standing clips.
struct FootwearSheets {
    const char* small;
    const char* large;
};
constexpr FootwearSheets FOOTWEAR_SHEETS[CHeroine::LAST_FOOTWEAR_LEVEL] = {
    {"SLIPPERS_1", "SLIPPERS_2"}, {"SANDALS_1", "SANDALS_2"}, {"BOOTS_1", "BOOTS_2"}};

bool IsFootwearLevel(std::int32_t level) {
    return level >= 1 && level <= CHeroine::LAST_FOOTWEAR_LEVEL;
}

// A sheet released since the current picture group was loaded is read
// again; one of another group waits for that group's load.
void LoadSheet(const char* id) {
    CResourceManager& resources = ResourceManager::Instance();
    resources.LoadImageIfReleased(resources.GetSpriteDevice(), id,
                                  static_cast<CoverageMask>(resources.GetCurrentGroup()));
}

constexpr SheetCells SINGLE_59 = {59, 56, 0, 57, {0, 0}, {0, 0}, 1, 1, 0};
constexpr SheetCells SINGLE_58 = {58, 56, 0, 0, {0, 0}, {0, 0}, 1, 1, 0};
constexpr SheetCells SINGLE_69 = {69, 56, 0, 0, {0, 0}, {0, 0}, 1, 1, 0};
constexpr SheetCells REST_FEET = {72, 32, 0, 0, {0, 2}, {1, 0}, 2, 31, -22};

void AddSheetClip(CSheetAnimation& layer, const std::string& image, float x, float y, bool mirrored,
                  const SheetCells& cells, float frameTime) {
    SheetClipDesc desc;
    desc.offsetX = x;
    desc.offsetY = y;
    desc.scaleX = mirrored ? -1.0f : 1.0f;
    desc.imageId = image;
    desc.cellRight = cells.width;
    desc.cellBottom = cells.height;
    desc.originX = cells.originX;
    desc.originY = cells.originY;
    desc.startColumn = cells.start.column;
    desc.startRow = cells.start.row;
    desc.endColumn = cells.end.column;
    desc.endRow = cells.end.row;
    desc.currentColumn = cells.start.column;
    desc.currentRow = cells.start.row;
    desc.columns = cells.columns;
    desc.rows = cells.rows;
    desc.rowStep = 1;
    desc.frameTime = frameTime;
    layer.AddClip(desc);
    if (cells.cellOffset != 0) {
        layer.SetCellOffset(static_cast<unsigned>(layer.GetClipCount() - 1), 0, 0,
                            cells.cellOffset);
    }
}

GuiImageDesc Still(const std::string& image, backend::Rect source, bool mirrored) {
    GuiImageDesc desc;
    desc.scaleX = mirrored ? -1.0f : 1.0f;
    desc.imageId = image;
    desc.left = source.left;
    desc.right = source.right;
    desc.top = source.top;
    desc.bottom = source.bottom;
    return desc;
}

void Place(CGuiImage& picture, Vec2 position) {
    picture.x = position.x;
    picture.y = position.y;
}

}  // namespace

void CHeroine::BuildAnimations(std::int32_t level) {
    nextFootwearIcon.Create(Still("ICONS", {383, 262, 491, 323}, false));
    nextFootwearIcon.offsetX = position.x + 55.0f;
    nextFootwearIcon.offsetY = position.y + 180.0f;
    tagImage.Create(Still("ITEMS", {200, 118, 253, 178}, false));
    tagImage.offsetX = -3.0f;
    tagImage.offsetY = -5.0f;
    box = backend::Rect{0, 0, 83, 256};
    footwearLevel = level;

    const UpgradeTable& table = g_gameSession.GetUpgradeTable();
    const float s1 = table.Row(UPGRADE_ROW_FOOTWEAR).speed;
    const float s2 = table.Row(UPGRADE_ROW_FOOTWEAR + 1).speed;
    const float s3 = table.Row(UPGRADE_ROW_FOOTWEAR + 2).speed;
    // The bonus reward's shoes are one level better; past the last level
    // they add the step from level 1 to level 2 once more.
    const bool reward = g_gameSession.HasBonusReward();
    switch (level) {
        case 1:
            speed = reward ? s2 : s1;
            break;
        case 2:
            speed = reward ? s3 : s2;
            break;
        case 3:
            speed = reward ? s3 + s2 - s1 : s3;
            break;
        default:
            break;
    }
    // A walking cycle of 15 frames covers 150 design pixels at any speed.
    const float walkFrameTime = speed > 0.0f ? 10.0f / speed : 0.05f;

    workCloudAlpha = 0.0f;
    for (CSheetAnimation* layer : {&workCloud, &standFootwear, &walkFootwear}) {
        layer->ClearClips();
    }
    for (CFrameAnimation* layer :
         {&workFront, &mainLayer, &walkBody, &walkArms, &walkBack, &shadowLayer}) {
        layer->ClearClips();
    }
    BuildFrameLayers(walkFrameTime);
    BuildSheetLayers(level, walkFrameTime);
    BuildStills(level);

    PlaceFigure();
    for (CFrameAnimation* layer : {&mainLayer, &walkBody, &walkArms, &walkBack}) {
        layer->SetCurrentClip(0);
    }
    standFootwear.SetCurrentClip(0);
    walkFootwear.SetCurrentClip(0);
    PlayStanding(0, 0, 0.1f);
}

void CHeroine::BuildFrameLayers(float walkFrameTime) {
    struct StandingClip {
        Vec2 offset;
        FrameRun run;
        float frameTime;
    };
    static constexpr StandingClip STANDING_CLIPS[] = {
        {{-108, -30}, {"A_PELKA_PART_6", 0, 29, false}, STANDING_FRAME},
        {{-108, -30}, {"A_PELKA_PART_7", 0, 39, false}, STANDING_FRAME},
        {{-111, -25}, {"A_PELKA_PART_3", 56, 75, false}, STANDING_FRAME},
        {{-111, -25}, {"A_PELKA_PART_3", 36, 55, false}, STANDING_FRAME},
        {{-107, -25}, {"A_PELKA_PART_3", 36, 55, true}, STANDING_FRAME},
        {{-109, -23}, {"A_PELKA_PART_2", 20, 39, false}, WORK_FRAME},
        {{-114, -25}, {"A_PELKA_PART_2", 40, 59, false}, WORK_FRAME},
        {{-106, -23}, {"A_PELKA_PART_2", 20, 39, true}, WORK_FRAME},
        {{-104, -25}, {"A_PELKA_PART_2", 40, 59, true}, WORK_FRAME},
        {{-105, -25}, {"A_PELKA_PART_1", 0, 19, false}, WORK_FRAME},
        {{-105, -25}, {"A_PELKA_PART_2", 0, 19, false}, WORK_FRAME},
        {{-107, -25}, {"A_PELKA_PART_1", 0, 19, true}, WORK_FRAME},
        {{-107, -25}, {"A_PELKA_PART_2", 0, 19, true}, WORK_FRAME},
        {{-109, -27}, {"A_PELKA_PART_3", 0, 35, false}, WORK_FRAME},
        {{-109, -27}, {"A_PELKA_PART_5", 0, 44, false}, WORK_FRAME},
    };
    for (const StandingClip& clip : STANDING_CLIPS) {
        mainLayer.AddClip(FrameClipOf(clip.offset.x, clip.offset.y, clip.run, clip.frameTime));
    }
    mainLayer.AddFrames(1, "A_PELKA_PART_2", 60, 69);
    workFront.AddClip(FrameClipOf(-108, -27, {"A_PELKA_PART_4", 0, 35, false}, WORK_FRAME));

    static constexpr std::int32_t SHADOW_RUNS[] = {7, 22, 37, 52, 67, 52, 37, 22};
    for (int d = 0; d < 8; ++d) {
        const bool mirrored = d >= 5;
        const std::int32_t first = SHADOW_RUNS[d];
        shadowLayer.AddClip(FrameClipOf(mirrored ? -109 : -112, 10,
                                        {"A_SHADOW_PART_2", first, first + 14, mirrored},
                                        walkFrameTime));
    }
    shadowLayer.AddClip(FrameClipOf(-109, 6, {"A_SHADOW_PART_1", 0, 46, false}, STANDING_FRAME));
    shadowLayer.AddFrames(8, "A_SHADOW_PART_2", 2, 4);

    // One offset per direction; the straight-down and straight-up runs shown
    // mirrored have their own.
    static constexpr Vec2 WALK_OFFSETS[] = {{-112, -25}, {-114, -26}, {-115, -25}, {-112, -23},
                                            {-111, -21}, {-105, -23}, {-106, -24}, {-108, -25}};
    const auto offsetFor = [](int d, bool mirrored) {
        if (mirrored && d == 0) {
            return Vec2{-108, -25};
        }
        if (mirrored && d == 4) {
            return Vec2{-107, -21};
        }
        return WALK_OFFSETS[d];
    };
    // Direction d shows run R(d) for d up to 4 and R(8 - d) mirrored after.
    const auto bodyRun = [](const char* id, int d, bool secondHandOnly, std::int32_t base) {
        const int run = d <= 4 ? d : 8 - d;
        const bool mirrored = d > 4 || (secondHandOnly && (d == 0 || d == 4));
        return FrameRun{id, base + run * 15, base + run * 15 + 14, mirrored};
    };
    for (int half = 0; half < 2; ++half) {
        for (int d = 0; d < 8; ++d) {
            const FrameRun body = bodyRun("A_PELKA_PART_8", d, half == 1, 0);
            const Vec2 offset = offsetFor(d, body.mirrored);
            walkBody.AddClip(FrameClipOf(offset.x, offset.y, body, walkFrameTime));
            walkBack.AddClip(FrameClipOf(
                offset.x, offset.y, bodyRun("A_PELKA_PART_4", d, half == 1, 111), walkFrameTime));
        }
    }
    const auto arms = [&](int d, FrameRun run) {
        const Vec2 offset = offsetFor(d, run.mirrored);
        walkArms.AddClip(FrameClipOf(offset.x, offset.y, run, walkFrameTime));
    };
    for (int d = 0; d < 8; ++d) {
        arms(d, bodyRun("A_PELKA_PART_4", d, false, 36));
    }
    // One hand full: the first hand's arms face her way, the second hand's
    // are the mirror of the first hand's for the opposite direction.
    for (int d = 0; d < 8; ++d) {
        arms(d, d == 0 ? FrameRun{"A_PELKA_PART_9", 0, 14, false}
                       : FrameRun{"A_PELKA_PART_1", 5 + d * 15, 19 + d * 15, false});
    }
    for (int d = 0; d < 8; ++d) {
        arms(d, d == 0 ? FrameRun{"A_PELKA_PART_9", 0, 14, true}
                       : FrameRun{"A_PELKA_PART_1", 5 + (8 - d) * 15, 19 + (8 - d) * 15, true});
    }
    for (int d = 0; d < 8; ++d) {
        arms(d, bodyRun("A_PELKA_PART_6", d, false, 30));
    }
    walkArms.SetClipCrop(10, 0, -1, 0, 0);
    walkArms.SetClipCrop(18, 0, -1, 0, 0);
}

void CHeroine::BuildSheetLayers(std::int32_t level, float walkFrameTime) {
    const bool known = IsFootwearLevel(level);
    const std::string f1 = known ? FOOTWEAR_SHEETS[level - 1].small : "";
    const std::string f2 = known ? FOOTWEAR_SHEETS[level - 1].large : "";
    if (known) {
        LoadSheet(f1.c_str());
        LoadSheet(f2.c_str());
    }
    const bool boots = level == 3;

    AddSheetClip(workCloud, "WORK_CLOUD", -3, 150, false, {100, 80, 0, 0, {0, 0}, {2, 7}, 3, 12, 0},
                 WORK_FRAME);

    AddSheetClip(standFootwear, f2, 5, boots ? 195.0f : 194.0f, false, REST_FEET, STANDING_FRAME);
    if (boots) {
        AddSheetClip(standFootwear, f2, 1, 196, false, {85, 58, 72, 0, {0, 0}, {2, 15}, 3, 17, -32},
                     STANDING_FRAME);
    } else {
        AddSheetClip(standFootwear, f2, 2, 196, false, {83, 56, 72, 0, {0, 1}, {2, 14}, 3, 18, 24},
                     STANDING_FRAME);
    }
    AddSheetClip(standFootwear, f1, 15, 199, false, SINGLE_59, STANDING_FRAME);
    AddSheetClip(standFootwear, f1, 15, 199, false, SINGLE_59, STANDING_FRAME);
    AddSheetClip(standFootwear, f1, 9, 199, false, SINGLE_59, STANDING_FRAME);
    AddSheetClip(standFootwear, f2, 5, 194, false, REST_FEET, WORK_FRAME);
    AddSheetClip(standFootwear, f2, 5, 194, false, REST_FEET, WORK_FRAME);
    AddSheetClip(standFootwear, f2, 81, 193, true, REST_FEET, WORK_FRAME);
    AddSheetClip(standFootwear, f2, 77, 194, true, REST_FEET, WORK_FRAME);
    AddSheetClip(standFootwear, f1, 14, 190, false, SINGLE_58, WORK_FRAME);
    AddSheetClip(standFootwear, f1, 14, 190, false, SINGLE_58, WORK_FRAME);
    AddSheetClip(standFootwear, f1, 74, 190, true, SINGLE_58, WORK_FRAME);
    AddSheetClip(standFootwear, f1, 74, 190, true, SINGLE_58, WORK_FRAME);
    AddSheetClip(standFootwear, f2, 6, 191, false, SINGLE_69, WORK_FRAME);

    const SheetCells kinds[5] = {
        {61, 96, 181, 0, {0, 0}, {2, 4}, 3, 5, 0},
        boots ? SheetCells{118, 94, 469, 0, {0, 3}, {1, 6}, 2, 11, 11}
              : SheetCells{118, 94, 465, 0, {0, 3}, {1, 6}, 2, 11, 102},
        boots ? SheetCells{130, 87, 588, 0, {0, 7}, {1, 10}, 2, 11, -48}
              : SheetCells{130, 85, 584, 0, {0, 7}, {1, 10}, 2, 11, -61},
        boots ? SheetCells{113, 90, 242, 0, {0, 10}, {2, 2}, 3, 11, -27}
              : SheetCells{113, 90, 242, 0, {0, 9}, {2, 1}, 3, 11, -31},
        {60, 84, 0, 0, {0, 2}, {2, 4}, 3, 6, boots ? 56 : 54},
    };
    struct WalkClip {
        int kind;
        Vec2 offset;
        Vec2 bootsOffset;
        bool mirrored;
    };
    static constexpr WalkClip WALK_CLIPS[16] = {
        {0, {11, 175}, {11, 175}, false},   {1, {-9, 171}, {-9, 171}, false},
        {2, {-12, 166}, {-12, 166}, false}, {3, {-6, 170}, {-10, 170}, false},
        {4, {11, 178}, {11, 178}, false},   {3, {89, 171}, {93, 170}, true},
        {2, {92, 166}, {93, 166}, true},    {1, {88, 171}, {87, 171}, true},
        {0, {69, 175}, {69, 175}, true},    {1, {-10, 171}, {-10, 171}, false},
        {2, {-13, 166}, {-13, 166}, false}, {3, {-6, 171}, {-10, 170}, false},
        {4, {71, 178}, {71, 178}, true},    {3, {88, 170}, {92, 170}, true},
        {2, {91, 166}, {91, 166}, true},    {1, {87, 171}, {86, 171}, true},
    };
    for (const WalkClip& clip : WALK_CLIPS) {
        // The small pair's sheet holds the front and back views.
        const std::string& image = clip.kind == 0 || clip.kind == 4 ? f1 : f2;
        const Vec2 offset = boots ? clip.bootsOffset : clip.offset;
        AddSheetClip(walkFootwear, image, offset.x, offset.y, clip.mirrored, kinds[clip.kind],
                     walkFrameTime);
    }
}

void CHeroine::ReleaseUnusedFootwear() const {
    CResourceManager& resources = ResourceManager::Instance();
    for (std::int32_t level = 1; level <= LAST_FOOTWEAR_LEVEL; ++level) {
        if (level != footwearLevel) {
            resources.UnloadImage(FOOTWEAR_SHEETS[level - 1].small);
            resources.UnloadImage(FOOTWEAR_SHEETS[level - 1].large);
        }
    }
}

void CHeroine::BuildStills(std::int32_t level) {
    const std::string f2 = IsFootwearLevel(level) ? FOOTWEAR_SHEETS[level - 1].large : "";
    static constexpr Vec2 STILL_OFFSETS[] = {{5, 224}, {5, 224}, {5, 224}, {81, 223}, {77, 224}};
    for (std::size_t i = 0; i < footwearStills.size(); ++i) {
        footwearStills[i].Create(Still(f2, {0, 57, 72, 86}, i >= 3));
        footwearStills[i].offsetX = STILL_OFFSETS[i].x;
        footwearStills[i].offsetY = STILL_OFFSETS[i].y;
    }
    if (level == 3) {
        footwearStills[0].offsetY = 225.0f;
    }
    static constexpr Vec2 SHADOW_OFFSETS[] = {{-10, 184}, {-8, 186},  {-8, 186},
                                              {-12, 186}, {-12, 184}, {-12, 184},
                                              {95, 184},  {90, 184},  {-11, 186}};
    for (std::size_t i = 0; i < standShadows.size(); ++i) {
        const backend::Rect source = i == 0   ? backend::Rect{759, 251, 864, 335}
                                     : i == 8 ? backend::Rect{427, 650, 534, 732}
                                              : backend::Rect{759, 335, 864, 419};
        standShadows[i].Create(Still("_SHADOW_PART_2", source, i == 6 || i == 7));
        standShadows[i].offsetX = SHADOW_OFFSETS[i].x;
        standShadows[i].offsetY = SHADOW_OFFSETS[i].y;
    }
}

void CHeroine::PlayStanding(unsigned mainClip, unsigned footwearClip, float playTime) {
    mainLayer.Play(mainClip, true, false, playTime);
    standFootwear.Play(footwearClip, true, false, playTime);
}

void CHeroine::RestingPose() {
    const unsigned hold = firstHandItem != 0 && secondHandItem != 0 ? 2
                          : firstHandItem != 0                      ? 3
                          : secondHandItem != 0                     ? 4
                                                                    : 0;
    if (hold != 0) {
        PlayStanding(hold, hold, -1.0f);
    } else {
        PlayStanding(0, 0, 5.0f);
    }
}

void CHeroine::AdvanceFigure(float elapsed) {
    for (CSheetAnimation* layer : {&standFootwear, &walkFootwear, &workCloud}) {
        layer->Update(elapsed);
    }
    for (CFrameAnimation* layer : {&mainLayer, &walkBody, &walkArms, &walkBack, &shadowLayer}) {
        layer->Update(elapsed);
    }
    if (IsWorking() && mainLayer.GetCurrentClip() == static_cast<int>(LONG_WORK_CLIP)) {
        if (workCloudAlpha < 255.0f) {
            workCloudAlpha = std::min(255.0f, workCloudAlpha + CLOUD_FADE_PER_SECOND * elapsed);
        }
        workFront.SetCurrentFrame(0, mainLayer.GetCurrentFrame(LONG_WORK_CLIP));
    } else if (workCloudAlpha > 0.0f) {
        workCloudAlpha = std::max(0.0f, workCloudAlpha - CLOUD_FADE_PER_SECOND * elapsed);
    }
}

void CHeroine::PlaceFigure() {
    for (CGuiImage& still : footwearStills) {
        Place(still, position);
    }
    for (CGuiImage& shadow : standShadows) {
        Place(shadow, position);
    }
    for (CSheetAnimation* layer : {&standFootwear, &walkFootwear}) {
        layer->SetPosition(position.x, position.y);
    }
    for (CFrameAnimation* layer :
         {&workFront, &mainLayer, &walkBody, &walkArms, &walkBack, &shadowLayer}) {
        layer->SetPosition(position.x, position.y);
    }
}

void CHeroine::WalkFigure(int direction) {
    const int b = firstHandItem == 0 && secondHandItem != 0 ? 8 : 0;
    const int c =
        firstHandItem == 0 ? (secondHandItem == 0 ? 0 : 16) : (secondHandItem == 0 ? 8 : 24);
    if (walkBody.IsPlaying(b + direction)) {
        return;
    }
    const auto d = static_cast<unsigned>(direction);
    walkBody.Play(b + d, true, false, -1.0f);
    walkArms.Play(c + d, true, false, -1.0f);
    walkBack.Play(b + d, true, false, -1.0f);
    walkFootwear.Play(b + d, true, false, -1.0f);
    shadowLayer.Play(d, true, false, -1.0f);
}

void CHeroine::ArriveFigure() {
    walkBody.Stop();
    walkArms.Stop();
    walkBack.Stop();
    walkFootwear.Stop();
    mainLayer.Stop();
    standFootwear.Stop();
    idleToggle = 1;
}

void CHeroine::IdleFigure() {
    if (state != STATE_IDLE && !IsWorking()) {
        return;
    }
    // A finished work, pet or pose clip hands her back to idle even while
    // her stay at the station goes on.
    if (mainLayer.IsPlaying(-1)) {
        return;
    }
    state = STATE_IDLE;
    const unsigned hold = firstHandItem != 0 && secondHandItem != 0 ? 2
                          : firstHandItem != 0                      ? 3
                          : secondHandItem != 0                     ? 4
                                                                    : 0;
    if (hold != 0) {
        PlayStanding(hold, hold, -1.0f);
        return;
    }
    idleToggle = 1 - idleToggle;
    if (idleToggle == 1) {
        PlayStanding(1, 1, 0.1f);
        shadowLayer.Play(8, true, false, 0.1f);
    } else {
        PlayStanding(0, 0, 5.0f);
    }
}

void CHeroine::StartLongWorkFigure() {
    PlayStanding(LONG_WORK_CLIP, 0, 0.1f);
    workCloud.Play(0, true, false, -1.0f);
}

void CHeroine::ResetFigure() {
    nextFootwearIcon.offsetX = position.x + 55.0f;
    nextFootwearIcon.offsetY = position.y + 180.0f;
    idleToggle = 1;
    workCloudAlpha = 0.0f;
    for (CSheetAnimation* layer : {&workCloud, &standFootwear, &walkFootwear}) {
        layer->Stop();
        layer->SetCurrentClip(0);
        layer->RewindToStart();
    }
    for (CFrameAnimation* layer : {&workFront, &mainLayer, &walkBody, &walkArms, &walkBack}) {
        layer->Stop();
        layer->SetCurrentClip(0);
        layer->Rewind();
    }
}

void CHeroine::DrawStandingPart(backend::IRenderDevice* device, Vec2 screenScale) {
    const int clip = mainLayer.GetCurrentClip();
    int still = -1;
    if (clip == 0 || clip == static_cast<int>(LONG_WORK_CLIP) ||
        clip == static_cast<int>(LEVEL_COMPLETE_CLIP)) {
        still = 0;
    } else if (clip >= 5 && clip <= 8) {
        still = clip - 4;
    }
    if (still >= 0) {
        footwearStills[static_cast<std::size_t>(still)].Draw(device, screenScale, true, WHITE,
                                                             true);
    }
    standFootwear.Draw(screenScale, WHITE);
    mainLayer.Draw(screenScale, WHITE);
}

void CHeroine::RenderShadow(backend::IRenderDevice* device, Vec2 screenScale) {
    const int clip = mainLayer.GetCurrentClip();
    if ((state & WALK_BITS) != 0 || clip == 1) {
        shadowLayer.Draw(screenScale, SHADOW_COLOUR);
        return;
    }
    if (state != STATE_IDLE && !IsWorking()) {
        return;
    }
    int shadow = -1;
    if (clip == 0 || clip == static_cast<int>(LONG_WORK_CLIP) ||
        clip == static_cast<int>(LEVEL_COMPLETE_CLIP)) {
        shadow = 0;
    } else if (clip >= 2 && clip <= 8) {
        shadow = clip - 1;
    } else if (clip >= 9 && clip <= 12) {
        shadow = 8;
    }
    if (shadow >= 0) {
        standShadows[static_cast<std::size_t>(shadow)].Draw(device, screenScale, true,
                                                            SHADOW_COLOUR, true);
    }
}

void CHeroine::RenderBody(backend::IRenderDevice* device, Vec2 screenScale) {
    const std::uint32_t a = firstHandItem;
    const std::uint32_t b = secondHandItem;
    const std::int32_t s = state;
    const auto hands = static_cast<std::uint32_t>(s);
    const bool walking = s != STATE_IDLE && !IsWorking();
    const bool upDiagonal = s == (WALK_UP | WALK_LEFT) || s == (WALK_UP | WALK_RIGHT);
    const auto drawWalking = [&](bool cropArms) {
        walkFootwear.Draw(screenScale, WHITE);
        walkBack.Draw(screenScale, WHITE);
        if (cropArms) {
            const auto clip = static_cast<unsigned>(walkArms.GetCurrentClip());
            walkArms.SetClipCrop(clip, 0, -15, 0, 0);
            walkArms.Draw(screenScale, WHITE);
            walkArms.SetClipCrop(clip, 0, 0, 0, 0);
        } else {
            walkArms.Draw(screenScale, WHITE);
        }
        walkBody.Draw(screenScale, WHITE);
    };
    if (a >= 1 && a <= 0xFFF) {
        // The set fills both hands: behind her while she walks away from the
        // viewer, in front otherwise.
        if (upDiagonal) {
            walkArms.Draw(screenScale, WHITE);
        }
        if ((s & WALK_UP) != 0) {
            firstHandPicture.Render(device, screenScale, hands, WHITE);
        }
        if (walking) {
            drawWalking(upDiagonal);
        } else {
            DrawStandingPart(device, screenScale);
        }
        if ((s & WALK_UP) == 0) {
            firstHandPicture.Render(device, screenScale, hands, WHITE);
        }
        return;
    }
    const bool firstBehind = s == WALK_UP || s == (WALK_UP | WALK_LEFT) || s == STATE_SERVING_PET;
    const bool secondBehind = s == WALK_UP || s == (WALK_UP | WALK_RIGHT) || s == STATE_SERVING_PET;
    if (a != 0 && firstBehind) {
        firstHandPicture.Render(device, screenScale, hands, WHITE);
    }
    if (b != 0 && secondBehind) {
        secondHandPicture.Render(device, screenScale, hands, WHITE);
    }
    if (walking) {
        drawWalking(false);
    } else {
        DrawStandingPart(device, screenScale);
    }
    const auto drawFirst = [&] {
        if (a != 0 && !firstBehind) {
            firstHandPicture.Render(device, screenScale, hands, WHITE);
        }
    };
    const auto drawSecond = [&] {
        if (b != 0 && !secondBehind) {
            secondHandPicture.Render(device, screenScale, hands, WHITE);
        }
    };
    if ((s & WALK_RIGHT) != 0) {
        drawSecond();
        drawFirst();
    } else {
        drawFirst();
        drawSecond();
    }
}

void CHeroine::RenderWorkEffects(backend::IRenderDevice* device, Vec2 screenScale) {
    (void)device;
    if (IsWorking() && mainLayer.GetCurrentClip() == static_cast<int>(LONG_WORK_CLIP)) {
        workFront.Draw(screenScale, WHITE);
    }
    if (workCloudAlpha > 0.0f) {
        const auto alpha = static_cast<std::uint32_t>(workCloudAlpha);
        workCloud.Draw(screenScale, alpha * 0x1000000u + 0xFFFFFFu);
    }
}

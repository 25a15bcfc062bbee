#pragma once
// The player's character, who walks between the stations and carries at most
// two items, one per hand. Clicks on stations queue her tasks; she works the
// queue in order, walking around the bought aquariums (and the pet's place in
// location 3), acting on arrival and staying a while at each station.
// Her start points live in heroine.cpp, her queue and actions in
// heroine_actions.cpp, her layered figure in heroine_figure.cpp and her share
// of the upgrade shop in heroine_shop.cpp.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/frame_animation.h"
#include "engine/media/gui_image.h"
#include "engine/media/sheet_animation.h"
#include "engine/platform/geometry.h"
#include "game/shop_station.h"
#include "heroine/carry_sprites.h"

struct InputState;
class CPlacedRect;

// One queued action: where she walks, where its numbered tag is drawn, how
// long she stays and what she does there.
struct CHeroineTask {
    CHeroineTask() = default;
    CHeroineTask(Vec2 targetPoint, Vec2 tag, float stay, std::uint32_t itemCode,
                 std::int32_t aquarium)
        : target(targetPoint),
          tagPoint(tag),
          seconds(stay),
          code(itemCode),
          aquariumIndex(aquarium) {}

    // The waypoints after `waypoint`; the last one is `target`.
    std::vector<Vec2> path;
    Vec2 waypoint;
    // Her top-left corner while she stands at the station.
    Vec2 target;
    Vec2 tagPoint;
    float seconds = 0.0f;
    std::uint32_t code = 0xFFFFFFFFu;
    std::int32_t aquariumIndex = -1;
    bool tagVisible = true;
};

class CHeroine {
public:
    // State word: idle, the three working states (bit 0x80) and the walking
    // bits, one vertical and one horizontal at most.
    static constexpr std::int32_t STATE_IDLE = 0x10;
    static constexpr std::int32_t STATE_WORKING = 0x80;
    static constexpr std::int32_t STATE_LONG_WORK = 0x80;
    static constexpr std::int32_t STATE_SHORT_WORK = 0x1080;
    static constexpr std::int32_t STATE_SERVING_PET = 0x2080;
    static constexpr std::int32_t WALK_DOWN = 0x100;
    static constexpr std::int32_t WALK_UP = 0x200;
    static constexpr std::int32_t WALK_LEFT = 0x400;
    static constexpr std::int32_t WALK_RIGHT = 0x800;
    static constexpr std::int32_t WALK_BITS = 0xF00;
    // Footwear comes in levels 1 to this one.
    static constexpr std::int32_t LAST_FOOTWEAR_LEVEL = 3;

    // The direction index 0 (down) to 7 (down-left, clockwise through right
    // and up) of one of the eight walking values; -1 for any other.
    static int DirectionOf(std::int32_t state);

    // --- Actions and walking (heroine_actions.cpp) ---

    // One play frame: cancelling, the figure's advance, clicks, walking and
    // arrival, and the idle step.
    void Update(const InputState& input, Vec2 screenScale, float elapsed);
    // Builds the task's path from the end of the queue and appends it.
    void Enqueue(CHeroineTask task, Vec2 screenScale);
    // Empty hands, idle, at the start point of the location; a level start
    // puts her elsewhere in location 2 than a game start or the shop's end.
    void Reset(std::int32_t location, bool levelStart);
    // Her bow when a level is won; only with empty hands.
    void PlayLevelCompletePose();
    // The tags of the queued tasks on one side of her feet line.
    void RenderTaskTags(backend::IRenderDevice* device, Vec2 screenScale, bool inFront);

    // --- Figure (heroine_figure.cpp) ---

    // Her walking speed and every layer for footwear level 1 to 3; her box
    // becomes the size of the built figure.
    // A level's footwear sheets are read again when they were released.
    void BuildAnimations(std::int32_t footwearLevel);
    // Releases the footwear sheets of every level but the one she wears: a
    // level draws one pair, and each pair is megabytes of pixels.
    void ReleaseUnusedFootwear() const;
    void RenderShadow(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderBody(backend::IRenderDevice* device, Vec2 screenScale);
    void RenderWorkEffects(backend::IRenderDevice* device, Vec2 screenScale);

    // --- Upgrade shop (heroine_shop.cpp) ---

    void UpdateShop(const InputState& input, Vec2 screenScale, float elapsed);
    void RenderShop(backend::IRenderDevice* device, Vec2 screenScale);
    // Shows the next footwear (true) or the owned one without a jump in her
    // standing animation.
    void ShowFootwear(bool next);

    // The y of her feet, around which the shop floor is drawn in two passes.
    float GetFeetLine() const { return position.y + static_cast<float>(box.bottom - box.top); }
    std::int32_t GetFootwearLevel() const { return footwearLevel; }
    float GetSpeed() const { return speed; }
    const std::vector<CHeroineTask>& GetTasks() const { return tasks; }
    bool IsAtStation() const { return atStation; }
    bool IsWorking() const { return (state & STATE_WORKING) != 0; }
    bool IsShopHovered() const { return shopHovered; }
    bool IsPurchasePending() const { return m_shop.selected; }
    std::int32_t GetShopHintId() const { return m_shop.hintId; }
    float GetWorkCloudAlpha() const { return workCloudAlpha; }
    const CFrameAnimation& GetMainLayer() const { return mainLayer; }
    const CSheetAnimation& GetStandFootwear() const { return standFootwear; }
    const CFrameAnimation& GetWalkBody() const { return walkBody; }
    const CFrameAnimation& GetWalkArms() const { return walkArms; }
    const CSheetAnimation& GetWalkFootwear() const { return walkFootwear; }
    const CFrameAnimation& GetShadowLayer() const { return shadowLayer; }
    const CCarrySprites& GetFirstHandPicture() const { return firstHandPicture; }
    const CCarrySprites& GetSecondHandPicture() const { return secondHandPicture; }

    // Read by the scene and the training: the top-left corner of her box, the
    // box relative to it, her state word and what each hand holds.
    Vec2 position;
    backend::Rect box{0, 0, 128, 280};
    std::int32_t state = 0;
    std::uint32_t secondHandItem = 0;
    std::uint32_t firstHandItem = 0;

private:
    // Actions.
    void Cancel();
    void HandleClicks(Vec2 screenScale);
    void WalkAndArrive(float elapsed);
    void StartLeg();
    void Arrive(CHeroineTask& task);
    void DeliverToAquarium(CHeroineTask& task);
    void PickUp(const CHeroineTask& task);
    void TakeFinishedSet();
    void ServePet(CHeroineTask& task);
    void Discard();
    void FillHand(bool first, std::uint32_t code);
    void ClearHand(bool first);
    Vec2 StationTarget(Vec2 stationPoint) const;
    bool NearestDetour(const CPlacedRect& shape, int boxNumber, Vec2 from, Vec2 to, int previousBox,
                       Vec2 screenScale, Vec2& best, int& bestBox) const;

    // Figure steps called by the actions.
    void AdvanceFigure(float elapsed);
    void PlaceFigure();
    void WalkFigure(int direction);
    void ArriveFigure();
    void IdleFigure();
    void StartLongWorkFigure();
    void ResetFigure();
    // Both layers of the standing pair play a clip once, or endlessly with -1.
    void PlayStanding(unsigned mainClip, unsigned footwearClip, float playTime);
    void RestingPose();
    void DrawStandingPart(backend::IRenderDevice* device, Vec2 screenScale);
    void BuildFrameLayers(float walkFrameTime);
    void BuildSheetLayers(std::int32_t level, float walkFrameTime);
    void BuildStills(std::int32_t level);

    // Shop.
    void KeepStandingFrame(std::int32_t level);

    std::vector<CHeroineTask> tasks;
    CGuiImage tagImage;
    CGuiImage nextFootwearIcon;
    std::int32_t footwearLevel = 0;
    bool shopHovered = false;
    bool shopWasHovered = false;
    // The footwear's purchase offer and its hint window.
    ShopStation m_shop;
    Vec2 legStart;
    float speed = 0.0f;
    bool atStation = false;
    bool verticalMove = true;
    CCarrySprites secondHandPicture;
    CCarrySprites firstHandPicture;

    // Figure.
    std::int32_t idleToggle = 1;
    float workCloudAlpha = 0.0f;
    CSheetAnimation workCloud;
    CSheetAnimation standFootwear;
    std::array<CGuiImage, 5> footwearStills{};
    std::array<CGuiImage, 9> standShadows{};
    CSheetAnimation walkFootwear;
    CFrameAnimation workFront;
    CFrameAnimation mainLayer;
    CFrameAnimation walkBody;
    CFrameAnimation walkArms;
    CFrameAnimation walkBack;
    CFrameAnimation shadowLayer;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CHeroine g_heroine;

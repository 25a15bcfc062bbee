// The pictures, buttons, map marker and map points of the session's screens
// and HUD, with their places in the design space.
#include <iterator>

#include "game/game_session.h"

namespace {

struct ImageEntry {
    SessionImage name;
    const char* imageId;
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    float x;
    float y;
};

// Source rectangles are left, right, top, bottom; the time bar's right edge
// and the places of the line and the map marks are set when they are drawn.
constexpr ImageEntry IMAGES[] = {
    {IMG_LOADING_SCREEN, "INTRO_SCREEN", 0, 1024, 0, 768, 0, 0},
    {IMG_LOADING_PROGRESS, "INTRO_PROGRESS", 0, 512, 0, 64, 266, 690},
    {IMG_HUD_PANEL, "LEFT_MENU", 0, 298, 0, 99, 0, 0},
    {IMG_GOAL_BAR, "LEFT_MENU", 8, 276, 109, 133, 8, 9},
    {IMG_HUD_CORNER, "GUI", 301, 408, 0, 74, 917, 0},
    {IMG_TIME_FRAME, "GUI", 92, 439, 475, 513, 394, 0},
    {IMG_HUD_ICON_1, "ICONS", 142, 459, 325, 423, -19, -13},
    {IMG_HUD_ICON_2, "ICONS", 142, 162, 345, 423, -19, 19},
    {IMG_HUD_ICON_3, "ICONS", 345, 475, 423, 511, 913, -15},
    {IMG_HUD_ICON_4, "ICONS", 1, 345, 423, 439, 394, -15},
    {IMG_TIME_BAR, "GUI", 92, 92, 459, 474, 437, 3},
    {IMG_MESSAGE_PANEL, "MESSAGE", 0, 662, 0, 756, 182, 7},
    {IMG_COMPLETE_TITLE, "MESSAGE", 0, 267, 757, 1023, 356, 19},
    {IMG_FAILED_TITLE, "MESSAGE", 270, 538, 757, 1022, 356, 18},
    {IMG_MAP, "MAP", 0, 1024, 0, 768, 0, 0},
    {IMG_COMICS_1, "COMICS_1", 0, 1024, 0, 768, 0, 0},
    {IMG_COMICS_2, "COMICS_2", 0, 1024, 0, 768, 0, 0},
    {IMG_COMICS_3, "COMICS_3", 0, 1024, 0, 768, 0, 0},
    {IMG_COMICS_4, "COMICS_4", 0, 1024, 0, 768, 0, 0},
    {IMG_COMICS_5, "COMICS_5", 0, 1024, 0, 768, 0, 0},
    {IMG_PETS, "MENU_PETS", 0, 1024, 0, 768, 0, 0},
    {IMG_MESSAGE_LINE, "MESSAGE", 166, 474, 543, 566, 0, 0},
    {IMG_MAP_MARK, "ITEMS", 225, 256, 178, 201, 0, 0},
    {IMG_MAP_MARK_LARGE, "ITEMS", 182, 222, 178, 213, 0, 0},
};
static_assert(std::size(IMAGES) == SESSION_IMAGE_COUNT);

struct CaptionedButton {
    SessionButton name;
    const char* caption;
    float x;
    float y;
};

constexpr CaptionedButton CAPTIONED_BUTTONS[] = {
    {BTN_RESUME, "RESUME", 382, 524},
    {BTN_SAVE_AND_EXIT, "SAVE_AND_EXIT", 382, 598},
    {BTN_OK, "OK", 382, 594},
    {BTN_TRY_AGAIN, "TRY_AGAIN", 382, 594},
    {BTN_FINISH, "FINISH", 780, 690},
    {BTN_BUY, "BUY", 535, 690},
    {BTN_SKIP, "SKIP", 765, 690},
    {BTN_PLAY, "PLAY", 20, 690},
    {BTN_FISH_PERSON, "FISH_PERSON", 92, 375},
    {BTN_TURTLE_PERSON, "TURTLE_PERSON", 702, 375},
};

// A picture of "GUI": left, right, top, bottom; an empty id for none.
struct GuiCell {
    const char* imageId;
    std::int32_t left;
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
};

struct PictureButton {
    SessionButton name;
    float x;
    float y;
    GuiCell normal;
    GuiCell hover;
    bool clickOnRelease;
};

constexpr PictureButton PICTURE_BUTTONS[] = {
    {BTN_NEXT, 925, 697, {"GUI", 238, 332, 169, 238}, {"GUI", 418, 513, 285, 360}, true},
    {BTN_BACK, 10, 697, {"GUI", 0, 92, 439, 508}, {"GUI", 323, 418, 285, 360}, true},
    {BTN_PAUSE, 938, 0, {"", 0, 0, 0, 0}, {"GUI", 356, 445, 364, 434}, false},
};
static_assert(std::size(CAPTIONED_BUTTONS) + std::size(PICTURE_BUTTONS) == SESSION_BUTTON_COUNT);

constexpr GuiCell CAPTIONED_NORMAL{"GUI", 0, 235, 86, 151};
constexpr GuiCell CAPTIONED_HOVER{"GUI", 0, 235, 226, 294};
constexpr std::int32_t CAPTION_FONT = 1;
constexpr float CAPTION_SPACING = -1.0f;

void SetNormal(GuiButtonDesc& desc, const GuiCell& cell) {
    desc.normalImageId = cell.imageId;
    desc.normalLeft = cell.left;
    desc.normalRight = cell.right;
    desc.normalTop = cell.top;
    desc.normalBottom = cell.bottom;
}

void SetHover(GuiButtonDesc& desc, const GuiCell& cell) {
    desc.hoverImageId = cell.imageId;
    desc.hoverLeft = cell.left;
    desc.hoverRight = cell.right;
    desc.hoverTop = cell.top;
    desc.hoverBottom = cell.bottom;
}

// The map marker: the heroine walking on the spot, 30 cells of 39 x 121
// running down eight columns of four.
SheetClipDesc MapMarkerClip() {
    SheetClipDesc clip;
    clip.imageId = "PELKA_MAP";
    clip.cellLeft = 0;
    clip.cellRight = 39;
    clip.cellTop = 0;
    clip.cellBottom = 121;
    clip.endColumn = 7;
    clip.endRow = 1;
    clip.columns = 8;
    clip.rows = 4;
    clip.columnStep = 0;
    clip.rowStep = 1;
    clip.frameTime = 0.08f;
    return clip;
}

// One point per story level, where the map marks it.
constexpr Vec2 MAP_POINTS[] = {
    {398, 697}, {418, 731}, {473, 727}, {526, 709}, {579, 693}, {637, 683}, {694, 682}, {752, 677},
    {796, 651}, {864, 623}, {850, 586}, {817, 559}, {788, 529}, {800, 483}, {800, 447}, {813, 413},
    {872, 378}, {902, 328}, {898, 278}, {849, 231}, {806, 190}, {699, 202}, {641, 192}, {587, 208},
    {549, 244}, {480, 279}, {268, 279}, {344, 274}, {308, 299}, {266, 304}, {242, 276}, {279, 272},
    {312, 256}, {345, 240}, {373, 221}, {404, 202}, {439, 189}, {476, 178}, {512, 170}, {550, 166},
    {556, 130}, {524, 106}, {483, 76},  {426, 77},  {442, 52},
};
static_assert(std::size(MAP_POINTS) == CGameSession::MAP_POINT_COUNT);

}  // namespace

void CGameSession::BuildGui() {
    m_debug = false;
    m_timeBarWidth = TIME_BAR_WIDTH;

    for (const ImageEntry& entry : IMAGES) {
        GuiImageDesc desc;
        desc.x = entry.x;
        desc.y = entry.y;
        desc.imageId = entry.imageId;
        desc.left = entry.left;
        desc.right = entry.right;
        desc.top = entry.top;
        desc.bottom = entry.bottom;
        m_images[entry.name].Create(desc);
    }

    for (const CaptionedButton& entry : CAPTIONED_BUTTONS) {
        GuiButtonDesc desc;
        desc.x = entry.x;
        desc.y = entry.y;
        desc.font = CAPTION_FONT;
        desc.captionId = entry.caption;
        desc.letterSpacing = CAPTION_SPACING;
        SetNormal(desc, CAPTIONED_NORMAL);
        SetHover(desc, CAPTIONED_HOVER);
        m_buttons[entry.name].Create(desc);
    }
    for (const PictureButton& entry : PICTURE_BUTTONS) {
        GuiButtonDesc desc;
        desc.x = entry.x;
        desc.y = entry.y;
        SetNormal(desc, entry.normal);
        SetHover(desc, entry.hover);
        desc.clickOnRelease = entry.clickOnRelease;
        m_buttons[entry.name].Create(desc);
    }

    m_textureGroup = 0;
    ClearPurchase();
    m_fastBonusChain = 0;
    m_textureHoldTimer = 0.0f;
    m_debugSkipPending = false;
    m_debugKeys.clear();

    LoadUpgrades();
    m_credits.Build();

    m_mapMarker.ClearClips();
    m_mapMarker.AddClip(MapMarkerClip());
    m_mapMarker.Play(0, true, false, -1.0f);

    m_mapPoints.assign(std::begin(MAP_POINTS), std::end(MAP_POINTS));
}

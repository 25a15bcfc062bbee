// The shipped menus as a player sees them, on the headless software renderer
// at the screen scale 1 (1024 x 768 design pixels): on every page no two
// items that take clicks overlap, every text lies inside the screen and
// inside its button, banner, slot or chooser, and every text stands out from
// what lies around its strokes by a contrast of at least 4.5:1; every row a
// table file can give lies on the table's panel, clear of its Back; the
// ranks of the high-score table keep clear of the names. Each rule is also shown
// to fail on the shipped menu broken on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "frontend/menu_scene.h"
#include "game/credits_scroller.h"
#include "game/data_file_test_support.h"
#include "game/game_session.h"
#include "game/layout_checks.h"
#include "game/shipped_screen.h"

namespace {

constexpr int WIDTH = 1024;
constexpr int HEIGHT = 768;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
// The root page's version and notice lines and the high-score table, as the
// game application draws them.
constexpr std::uint32_t FOOTER_COLOUR = 0xFFFFFF00;
constexpr float FOOTER_SCALE = 0.6f;
constexpr float VERSION_X = 895.0f;
constexpr float NOTICE_X = 300.0f;
constexpr float FOOTER_Y = 735.0f;
constexpr std::int32_t TABLE_FONT = 1;
constexpr const char* TABLE_PAGE = "MAIN_4";
// The row of the score just entered.
constexpr std::uint32_t HIGHLIGHT = 0xFFFFFF00;
constexpr Vec2 TABLE_ORIGIN{345.0f, 196.0f};
constexpr float TABLE_RANK_X = -45.0f;
constexpr float TABLE_SCORE_RIGHT = 367.0f;
constexpr float TABLE_ROW_STEP = 33.6f;
constexpr double MIN_CONTRAST = 4.5;
// The name entry: the typed name centred on this point, in the title font.
constexpr Vec2 NAME_POINT{512.0f, 391.0f};
constexpr std::int32_t NAME_FONT = 1;
// The credits scroll up through this band; their names are white.
constexpr float CREDITS_TOP = 220.0f;
constexpr float CREDITS_BOTTOM = 622.0f;

struct Box {
    float left, top, right, bottom;
};

bool Overlap(const Box& a, const Box& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const Box& b) {
    return "(" + std::to_string(static_cast<int>(b.left)) + ", " +
           std::to_string(static_cast<int>(b.top)) + ", " +
           std::to_string(static_cast<int>(b.right)) + ", " +
           std::to_string(static_cast<int>(b.bottom)) + ")";
}

// One text as drawn: where, in what colour, and the box it has to keep to.
struct PlacedText {
    std::string what;
    Box box;
    Box keepTo;
    std::uint32_t colour;
};

const Box SCREEN{0.0f, 0.0f, static_cast<float>(WIDTH), static_cast<float>(HEIGHT)};

class CNoCommands : public IMenuCommandSink {
public:
    void SendMenuCommand(std::uint32_t, std::intptr_t) override {}
};

double Contrast(std::uint32_t a, std::uint32_t b) {
    return layout_test::Contrast(layout_test::Luminance(a), layout_test::Luminance(b));
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        sum += std::abs(static_cast<int>((a >> shift) & 0xFFu) -
                        static_cast<int>((b >> shift) & 0xFFu));
    }
    return sum;
}

class MenuLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen.OpenFolder();
        ASSERT_NO_FATAL_FAILURE(screen.Start(WIDTH, HEIGHT, 1.0f, "menus", CoverageBit(-1),
                                             {u"Wendeline", u"Mechthild", u"Ann"}));
        menu.SetScale(1.0f, 1.0f);
        menu.SetDisplayModes(
            {{1024, 768, 0, backend::FORMAT_X8R8G8B8}, {800, 600, 0, backend::FORMAT_X8R8G8B8}});
        ASSERT_TRUE(menu.Load());
        menu.FillProfileItems(g_gameSession);
        // As wide a name as the entry takes: it measures the name as it
        // draws it and refuses letters past its width limit.
        g_gameSession.OpenNameEntry();
        for (int i = 0; i < 20; ++i) {
            g_gameSession.OnNameChar(nullptr, u'W');
            g_gameSession.RenderNameEntry(NAME_FONT, {1.0f, 1.0f}, NAME_POINT, WHITE, true, 0.0f);
        }
        menu.SetDisplayModeOptions({1024, 768, 0, backend::FORMAT_X8R8G8B8}, false);
        menu.SetVolumeOptions(60, 80);
        ASSERT_TRUE(scene.Load());
        scores.Load("no such file");
        const char16_t* names[] = {u"Wendeline", u"Ottokar", u"Ilse",     u"Bertram",
                                   u"Kunigunde", u"Anselm",  u"Rosalind", u"Egbert",
                                   u"Mechthild", u"Leopold", u"Hedwig",   u"Walpurga"};
        for (std::uint32_t rank = 0; rank < 12; ++rank) {
            scores.Insert(names[rank], 98000 - 8000 * rank);
        }
        scores.SetVisible(true);
        credits.Build();
        credits.Restart();
        // Long enough for the first lines to rise into the middle.
        for (int frame = 0; frame < 200; ++frame) {
            credits.Update(0.05f);
        }
        for (const MenuItem& item : menu.GetItems()) {
            pages.insert(item.parentId);
        }
    }

    void TearDown() override { screen.Close(); }

    static CResourceManager& Resources() { return ResourceManager::Instance(); }

    void Open(const std::string& page) {
        if (page.empty()) {
            menu.GoToRoot();
        } else {
            ASSERT_TRUE(menu.OpenSubmenu(page));
        }
        // One frame with the pointer off the screen gives every item its
        // resting look.
        InputState input;
        input.cursorX = -50.0f;
        input.cursorY = -50.0f;
        CNoCommands sink;
        menu.Update(sink, input, 0.0f);
        scene.Update(menu.GetCurrentPath(), input, 1.0f, 1.0f, 0.0f);
    }

    std::vector<const MenuItem*> PageItems(const std::string& page) const {
        std::vector<const MenuItem*> items;
        for (const MenuItem& item : menu.GetItems()) {
            if (item.parentId == page && !item.hidden) {
                items.push_back(&item);
            }
        }
        return items;
    }

    // The boxes in which the hit test takes the items of a page.
    std::vector<std::pair<std::string, Box>> HitBoxes(const std::string& page) const {
        std::vector<std::pair<std::string, Box>> boxes;
        for (const MenuItem* item : PageItems(page)) {
            if (item->type == "_HEADER" || item->type == "_GREETING") {
                continue;
            }
            const float anchor = item->type == "_CHECK" && item->centered ? item->textX : item->x;
            const float half = static_cast<float>(item->width) * item->scale / 2.0f;
            const float height = static_cast<float>(item->height) * item->scale;
            boxes.push_back({item->id, {anchor - half, item->y, anchor + half, item->y + height}});
            if (item->type == "_DISPLAYMODE") {
                const auto dx = static_cast<float>(item->xDisp);
                const auto dy = static_cast<float>(item->yDisp);
                boxes.push_back({item->id + " (second button)",
                                 {item->x - half + dx, item->y + dy, item->x + half + dx,
                                  item->y + dy + height}});
            }
        }
        return boxes;
    }

    std::vector<std::string> OverlapFaults() const {
        std::vector<std::string> faults;
        for (const std::string& page : pages) {
            const auto boxes = HitBoxes(page);
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                    if (Overlap(boxes[i].second, boxes[j].second)) {
                        faults.push_back(boxes[i].first + " " + Describe(boxes[i].second) +
                                         " and " + boxes[j].first + " " +
                                         Describe(boxes[j].second));
                    }
                }
            }
        }
        return faults;
    }

    Box TextBox(std::int32_t font, const std::u16string& text, float x, float y, float size) const {
        const float width = Resources().GetTextWidth(font, text, 0.0f, false, -1);
        const auto height = static_cast<float>(Resources().GetFontLineHeight(font));
        return {x, y, x + width * size, y + height * size};
    }

    // Every text of the page on screen as Draw places it, with the box it has
    // to keep to: its button, banner or slot, the room between the two
    // buttons of the screen-size chooser, or else the screen.
    std::vector<PlacedText> Texts(const std::string& page) const {
        std::vector<PlacedText> texts;
        for (const MenuItem* item : PageItems(page)) {
            if (item->font < 0 ||
                (item->disabled && (item->type == "_HEADER" || item->type == "_PROFILE"))) {
                continue;
            }
            const std::u16string caption = TextStorage().GetTextAt(item->textIndex);
            const float half = static_cast<float>(item->width) * item->scale / 2.0f;
            const float height = static_cast<float>(item->height) * item->scale;
            const Box picture{item->x - half, item->y, item->x + half, item->y + height};
            const float anchor = item->centered ? item->textX : item->x;
            const auto dx = static_cast<float>(item->xDisp);
            const auto dy = static_cast<float>(item->yDisp);
            const std::string& t = item->type;
            PlacedText placed{item->id, {}, SCREEN, item->colour};
            if (t == "_SIMPLE" || t == "_HEADER") {
                if (caption.empty()) {
                    continue;
                }
                placed.box = TextBox(item->font, caption, item->textX, item->textY, 1.0f);
                placed.keepTo = item->image >= 0 ? picture : SCREEN;
            } else if (t == "_COMBO" || t == "_CHECK" || t == "_SCROLL") {
                if (caption.empty()) {
                    continue;
                }
                const float x = t == "_COMBO" ? item->x : anchor;
                placed.box = TextBox(item->font, caption, x + dx, item->textY + dy, 1.0f);
                placed.colour = WHITE;
            } else if (t == "_DISPLAYMODE") {
                const std::u16string mode = u"1024x768";
                const Box box = TextBox(item->font, mode, 0.0f, item->y + dy, 1.0f);
                const float centre = item->textX + dx * 0.5f;
                placed.box = {centre - box.right / 2.0f, box.top, centre + box.right / 2.0f,
                              box.bottom};
                placed.keepTo = {picture.right, picture.top, picture.left + dx, picture.bottom};
            } else if (t == "_PROFILE") {
                if (item->text.empty()) {
                    continue;
                }
                const float shift = item->centered ? item->textX * item->scale : 0.0f;
                placed.box = TextBox(item->font, item->text, item->x + dx - shift,
                                     item->textY * item->scale + dy, 1.0f);
                placed.keepTo = picture;
            } else if (t == "_GREETING") {
                const std::u16string name = menu.GetSelectedProfileName() + u"!";
                const float width = Resources().GetTextWidth(item->font, name, 0.0f, false, -1);
                placed.box = TextBox(item->font, caption + name,
                                     item->textX - width * 0.5f * item->scale, item->textY, 1.0f);
            } else {
                continue;
            }
            texts.push_back(placed);
        }
        if (page == "PROFILE_1") {
            // The typed name and its caret go into the field behind them.
            Box field = SCREEN;
            const std::int32_t picture =
                Resources().GetIndex(RESOURCE_IMAGE, "BACKDROP_NAME_FIELD");
            for (const CSceneObject& object : scene.objects) {
                if (object.image == picture && picture >= 0) {
                    const ImageInfo info = Resources().GetImageInfo("BACKDROP_NAME_FIELD");
                    field = {object.x, object.y, object.x + static_cast<float>(info.width),
                             object.y + static_cast<float>(info.height)};
                }
            }
            const std::u16string name = g_gameSession.GetTypedName();
            const float half = Resources().GetTextWidth(NAME_FONT, name, 0.0f, false, -1) / 2.0f;
            Box box = TextBox(NAME_FONT, name + u"_", NAME_POINT.x - half, NAME_POINT.y, 1.0f);
            texts.push_back({"the typed name", box, field, WHITE});
        }
        if (page.empty()) {
            const std::u16string version = TextStorage().GetText("VERSION") + u" 1.04";
            texts.push_back({"the version line",
                             TextBox(0, version, VERSION_X, FOOTER_Y, FOOTER_SCALE), SCREEN,
                             FOOTER_COLOUR});
            texts.push_back(
                {"the notice line",
                 TextBox(0, TextStorage().GetText("COPYRIGHT"), NOTICE_X, FOOTER_Y, FOOTER_SCALE),
                 SCREEN, FOOTER_COLOUR});
        }
        return texts;
    }

    std::vector<std::string> PlacementFaults() {
        std::vector<std::string> faults;
        for (const std::string& page : pages) {
            Open(page);
            for (const PlacedText& text : Texts(page)) {
                if (!Inside(text.box, text.keepTo)) {
                    faults.push_back("page " + page + ": " + text.what + " " + Describe(text.box) +
                                     " outside " + Describe(text.keepTo));
                }
            }
        }
        return faults;
    }

    // The page on screen as the game draws it; without its texts when asked.
    std::vector<std::uint32_t> Render(bool withTexts, std::uint32_t footerColour) {
        std::vector<std::int32_t> fonts;
        if (!withTexts) {
            for (const MenuItem& item : menu.GetItems()) {
                fonts.push_back(item.font);
                menu.FindItem(item.id)->font = -1;
            }
        }
        screen.device->Clear(0xFF000000);
        scene.Render(1.0f, 1.0f);
        if (withTexts && menu.GetCurrentId() == "PROFILE_1") {
            g_gameSession.RenderNameEntry(NAME_FONT, {1.0f, 1.0f}, NAME_POINT, WHITE, true, 0.0f);
        }
        if (withTexts && menu.GetCurrentId() == "MAIN_5") {
            credits.Render({1.0f, 1.0f});
        }
        // The game shows the table on its own page only: a game's end opens
        // that page, and its Back, the only way off it, hides the table.
        if (withTexts && menu.GetCurrentId() == TABLE_PAGE) {
            scores.Draw(TABLE_FONT, {1.0f, 1.0f}, 1.0f, TABLE_ORIGIN, WHITE, 0.0f, TABLE_RANK_X,
                        TABLE_SCORE_RIGHT, TABLE_ROW_STEP);
        }
        menu.Draw();
        if (withTexts) {
            menu.DrawVersion(0, VERSION_X, FOOTER_Y, FOOTER_SCALE, footerColour);
            menu.DrawCopyright(0, NOTICE_X, FOOTER_Y, FOOTER_SCALE, footerColour);
        } else {
            std::size_t i = 0;
            for (const MenuItem& item : menu.GetItems()) {
                menu.FindItem(item.id)->font = fonts[i++];
            }
        }
        std::vector<std::uint32_t> pixels;
        EXPECT_TRUE(screen.device->ReadPixels(pixels));
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(WIDTH * HEIGHT));
        return pixels;
    }

    // The text's own pixels are those the text changed that are close to its
    // colour. From each, in eight directions, the first pixel that is not its
    // own begins the soft edge of the stroke; the first past the edge is what
    // the text stands on there: its outline, its shadow or whatever lies
    // behind it. A notch that closes on another stroke of the text holds
    // nothing behind it and is passed over.
    // Nine in ten of those must stand 4.5:1 apart from the text's colour.
    static std::string ContrastFault(const PlacedText& text, const std::vector<std::uint32_t>& with,
                                     const std::vector<std::uint32_t>& without) {
        const auto at = [](int x, int y) { return static_cast<std::size_t>(y * WIDTH + x); };
        const auto onScreen = [](int x, int y) {
            return x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT;
        };
        const auto own = [&](int x, int y) {
            return Distance(with[at(x, y)], text.colour) < 90 &&
                   Distance(with[at(x, y)], without[at(x, y)]) > 60;
        };
        // Each channel between the text's colour and the pixel behind.
        const auto blend = [&](int x, int y) {
            const std::uint32_t pixel = with[at(x, y)];
            const std::uint32_t behind = without[at(x, y)];
            return Distance(pixel, behind) > 30 &&
                   Distance(text.colour, pixel) + Distance(pixel, behind) <=
                       Distance(text.colour, behind) + 30;
        };
        constexpr int REACH = 5;
        int fill = 0;
        int around = 0;
        int readable = 0;
        const int left = std::max(0, static_cast<int>(text.box.left));
        const int right = std::min(WIDTH, static_cast<int>(text.box.right));
        const int top = std::max(0, static_cast<int>(text.box.top));
        const int bottom = std::min(HEIGHT, static_cast<int>(text.box.bottom));
        constexpr std::array<std::array<int, 2>, 8> DIRECTIONS = {
            {{{1, 0}}, {{-1, 0}}, {{0, 1}}, {{0, -1}}, {{1, 1}}, {{-1, -1}}, {{1, -1}}, {{-1, 1}}}};
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (!own(x, y)) {
                    continue;
                }
                ++fill;
                for (const auto& [dx, dy] : DIRECTIONS) {
                    int step = 1;
                    while (step <= REACH && onScreen(x + step * dx, y + step * dy) &&
                           own(x + step * dx, y + step * dy)) {
                        ++step;
                    }
                    // The soft edge: the first pixel past the stroke, and
                    // any more that still blend the text into what lies
                    // behind (on a slanted stroke it runs wider).
                    int edge = step + 1;
                    while (edge <= REACH && onScreen(x + edge * dx, y + edge * dy) &&
                           blend(x + edge * dx, y + edge * dy)) {
                        ++edge;
                    }
                    const int bx = x + edge * dx;
                    const int by = y + edge * dy;
                    if (step > REACH || edge > REACH || !onScreen(bx, by) || own(bx, by)) {
                        continue;
                    }
                    ++around;
                    readable += Contrast(text.colour, with[at(bx, by)]) >= MIN_CONTRAST;
                }
            }
        }
        if (fill < 20) {
            return text.what + ": only " + std::to_string(fill) + " pixels of its colour show";
        }
        if (readable * 10 < around * 9) {
            return text.what + ": " + std::to_string(around - readable) + " of " +
                   std::to_string(around) + " pixels around it are below 4.5:1";
        }
        return "";
    }

    std::vector<std::string> ContrastFaults(std::uint32_t footerColour = FOOTER_COLOUR) {
        std::vector<std::string> faults;
        for (const std::string& page : pages) {
            Open(page);
            std::vector<PlacedText> texts = Texts(page);
            if (page == TABLE_PAGE) {
                // Every row the table holds; the one just entered in yellow.
                const auto rows = static_cast<int>(scores.GetRows().size());
                for (int row = 0; row < rows; ++row) {
                    const float y = TABLE_ORIGIN.y + TABLE_ROW_STEP * static_cast<float>(row);
                    texts.push_back({"high-score row " + std::to_string(row + 1),
                                     {TABLE_ORIGIN.x + TABLE_RANK_X, y,
                                      TABLE_ORIGIN.x + TABLE_SCORE_RIGHT, y + 30.0f},
                                     SCREEN,
                                     row == scores.GetHighlightedRow() ? HIGHLIGHT : WHITE});
                }
            }
            if (page == "MAIN_5") {
                texts.push_back(
                    {"the credits", {0.0f, CREDITS_TOP, WIDTH, CREDITS_BOTTOM}, SCREEN, WHITE});
            }
            const std::vector<std::uint32_t> without = Render(false, footerColour);
            const std::vector<std::uint32_t> with = Render(true, footerColour);
            for (PlacedText& text : texts) {
                if (page.empty() && text.colour == FOOTER_COLOUR) {
                    text.colour = footerColour;
                }
                const std::string fault = ContrastFault(text, with, without);
                if (!fault.empty()) {
                    faults.push_back("page " + page + ": " + fault);
                }
            }
        }
        return faults;
    }

    screen_test::ShippedScreen screen;
    CMenu menu;
    CMenuScene scene;
    CHighScores scores;
    CCreditsScroller credits;
    std::set<std::string> pages;
};

std::string Joined(const std::vector<std::string>& faults) {
    std::string all;
    for (const std::string& fault : faults) {
        all += fault + "\n";
    }
    return all;
}

bool Mentions(const std::vector<std::string>& faults, const std::string& part) {
    return std::any_of(faults.begin(), faults.end(),
                       [&part](const std::string& f) { return f.find(part) != std::string::npos; });
}

TEST_F(MenuLayoutTest, NoTwoItemsThatTakeClicksOverlapOnAPage) {
    EXPECT_GE(pages.size(), 7u);
    EXPECT_EQ(Joined(OverlapFaults()), "");

    // Apply moved 30 pixels into Back: both would light up there.
    menu.FindItem("APPLY")->x += 30.0f;
    EXPECT_TRUE(Mentions(OverlapFaults(), "APPLY (292, 600, 532, 661) and OPTIONS_BACK"))
        << Joined(OverlapFaults());
    menu.FindItem("APPLY")->x -= 30.0f;
    // The chooser's second button up over the music's + button.
    menu.FindItem("DISPLAY_MODE")->yDisp = -300;
    EXPECT_TRUE(Mentions(OverlapFaults(), "MUSIC_INC")) << Joined(OverlapFaults());
}

TEST_F(MenuLayoutTest, EveryTextLiesInsideTheScreenAndItsBox) {
    // The name entry stops taking letters at its width limit, not before.
    EXPECT_GE(Resources().GetTextWidth(NAME_FONT, g_gameSession.GetTypedName(), 0.0f, false, -1),
              180.0f);
    EXPECT_EQ(Joined(PlacementFaults()), "");

    // A caption wider than its button, a header moved off the screen, a
    // profile name past its slot and the chooser's arrows closing in on the
    // screen size.
    menu.FindItem("MAIN_2")->width = 100;
    menu.FindItem("SCREEN_SIZE_LABEL")->textX = -20.0f;
    menu.FindItem("PLAYER_1")->xDisp = 200;
    menu.FindItem("DISPLAY_MODE")->xDisp = 120;
    // The name entry's field moved away from the typed name.
    for (CSceneObject& object : scene.objects) {
        if (object.image == Resources().GetIndex(RESOURCE_IMAGE, "BACKDROP_NAME_FIELD")) {
            object.y += 100.0f;
        }
    }
    const std::vector<std::string> faults = PlacementFaults();
    for (const char* id :
         {"MAIN_2", "SCREEN_SIZE_LABEL", "PLAYER_1", "DISPLAY_MODE", "the typed name"}) {
        EXPECT_TRUE(Mentions(faults, std::string(": ") + id + " (")) << id << "\n"
                                                                     << Joined(faults);
    }
}

TEST_F(MenuLayoutTest, EveryTextStandsOutFromWhatLiesAroundIt) {
    EXPECT_EQ(Joined(ContrastFaults()), "");

    // A table file of sixteen records, as many as the table reads: the
    // rows below the twelfth run on down the panel.
    const std::filesystem::path file = screen.folder->Path() / "long_table.sav";
    {
        std::ofstream out(file, std::ios::binary);
        for (std::uint32_t row = 0; row < CHighScores::MAX_SHOWN_ROWS; ++row) {
            std::array<char, ScoreRecord::FILE_SIZE> record{};
            for (std::size_t i = 0; i < 8; ++i) {
                record[ScoreRecord::NAME_OFFSET + 2 * i] = static_cast<char>('A' + (row + i) % 26);
            }
            const std::uint32_t score = 160000 - 10000 * row;
            for (std::size_t i = 0; i < 4; ++i) {
                record[ScoreRecord::SCORE_OFFSET + i] =
                    static_cast<char>((score >> (8 * i)) & 0xFF);
            }
            out.write(record.data(), static_cast<std::streamsize>(record.size()));
        }
    }
    ASSERT_EQ(scores.Load(file.string()), static_cast<int>(CHighScores::MAX_SHOWN_ROWS));
    scores.SetVisible(true);
    EXPECT_EQ(Joined(ContrastFaults()), "");
    // Each row on the dark panel behind the table, clear of the page's Back.
    Open(TABLE_PAGE);
    const std::int32_t panel = Resources().GetIndex(RESOURCE_IMAGE, "BACKDROP_PANEL");
    const ImageInfo info = Resources().GetImageInfo("BACKDROP_PANEL");
    Box under{};
    for (const CSceneObject& object : scene.objects) {
        if (object.image == panel) {
            under = {object.x, object.y, object.x + static_cast<float>(info.width),
                     object.y + static_cast<float>(info.height)};
        }
    }
    const Box back = HitBoxes(TABLE_PAGE).front().second;
    const auto rowHeight = static_cast<float>(Resources().GetFontLineHeight(TABLE_FONT));
    for (std::uint32_t row = 0; row < CHighScores::MAX_SHOWN_ROWS; ++row) {
        const float y = TABLE_ORIGIN.y + TABLE_ROW_STEP * static_cast<float>(row);
        const Box box{TABLE_ORIGIN.x + TABLE_RANK_X, y, TABLE_ORIGIN.x + TABLE_SCORE_RIGHT,
                      y + rowHeight};
        EXPECT_TRUE(Inside(box, under)) << "row " << row + 1 << " " << Describe(box);
        EXPECT_FALSE(Overlap(box, back)) << "row " << row + 1 << " " << Describe(box);
    }

    // The version and notice lines in the ledge's own grey, and a greeting
    // in the blue of the sea.
    menu.FindItem("GREETING")->colour = 0xFF3070A8;
    const std::vector<std::string> faults = ContrastFaults(0xFF3A4050);
    EXPECT_TRUE(Mentions(faults, "the version line")) << Joined(faults);
    EXPECT_TRUE(Mentions(faults, "the notice line")) << Joined(faults);
    EXPECT_TRUE(Mentions(faults, "GREETING")) << Joined(faults);
}

// A rank is drawn 45 pixels left of its name: "12." must end short of it,
// with room to spare for the outline of the name's first letter.
TEST_F(MenuLayoutTest, HighScoreRanksKeepClearOfTheNames) {
    const auto widest = [](float spacing) {
        float widest = 0.0f;
        for (int rank = 1; rank <= 12; ++rank) {
            std::u16string text;
            for (char c : std::to_string(rank) + ".") {
                text += static_cast<char16_t>(c);
            }
            widest =
                std::max(widest, Resources().GetTextWidth(TABLE_FONT, text, spacing, false, -1));
        }
        return widest;
    };
    EXPECT_LE(widest(0.0f), -TABLE_RANK_X - 2.0f);
    // Two more pixels between the letters and "10." runs into the name.
    EXPECT_GT(widest(2.0f), -TABLE_RANK_X - 2.0f);
}

}  // namespace

// Reading menu.xml: the rectangles derived from the r attributes, parents
// and paths of nested items, hidden and dropped pictures, the centred text
// layout, and the missing file.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "engine/media/media_test_support.h"
#include "menu_test_support.h"

namespace {

using menu_test::MenuTest;

bool SameRect(const MenuRect& a, const MenuRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(MenuTest, RectanglesAreDerivedFromTheItemHeight) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        const char* name;
        const char* attributes;
        MenuRect rect, rect1, rect2;
        int width, height;
    };
    const Case cases[] = {
        {"no r attributes", "", {0, 0, 206, 61}, {0, 61, 206, 122}, {0, 122, 206, 183}, 206, 61},
        {"a taller rect1 sets the height",
         "r_left='10' r_top='0' r_right='60' r_bottom='100' r1_left='60' r1_top='0' "
         "r1_right='110' r1_bottom='120'",
         {10, 0, 60, 100},
         {60, 0, 110, 120},
         {10, 240, 60, 340},
         50,
         120},
        {"an empty rect1 and a given rect2",
         "r_right='40' r_bottom='30' r1_right='40' r2_left='1' r2_top='2' r2_right='3' "
         "r2_bottom='4'",
         {0, 0, 40, 30},
         {0, 30, 40, 60},
         {1, 2, 3, 4},
         40,
         30},
        {"a malformed number is 0",
         "r_right='wide'",
         {0, 0, 0, 61},
         {0, 61, 0, 122},
         {0, 122, 0, 183},
         0,
         61},
        {"coordinates at the ends of the range",
         "r_left='-2147483648' r_top='0' r_right='2147483647' r_bottom='2147483647'",
         {kMin, 0, kMax, kMax},
         {kMin, kMax, kMax, kMax},
         {kMin, kMax, kMax, kMax},
         kMax,
         kMax},
        {"moved down past the end of the range",
         "r_top='2000000000' r_bottom='2100000000'",
         {0, 2000000000, 206, 2100000000},
         {0, 2100000000, 206, kMax},
         {0, kMax, 206, kMax},
         206,
         100000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load(std::string("<item id='I' type='_SIMPLE' ") + c.attributes + "/>"));
        const MenuItem& item = Item("I");
        EXPECT_TRUE(SameRect(item.rect, c.rect));
        EXPECT_TRUE(SameRect(item.sourceRect, c.rect));
        EXPECT_TRUE(SameRect(item.rect1, c.rect1));
        EXPECT_TRUE(SameRect(item.rect2, c.rect2));
        EXPECT_EQ(item.width, c.width);
        EXPECT_EQ(item.height, c.height);
    }
}

TEST_F(MenuTest, NestedItemsGetParentsPathsAndChildren) {
    struct Expected {
        const char* id;
        const char* parent;
        const char* path;
        bool hasChildren;
    };
    struct Case {
        const char* name;
        const char* body;
        std::vector<Expected> items;
    };
    const Case cases[] = {
        {"two deep",
         "<item id='A'><item id='B'><item id='C'/></item><item id='D'/></item><item id='E'/>",
         {{"A", "", "", true},
          {"B", "A", "A/", true},
          {"C", "B", "A/B/", false},
          {"D", "A", "A/", false},
          {"E", "", "", false}}},
        // Ids are found in the path as substrings: A is taken to stand in AB/.
        {"an id inside another",
         "<item id='AB'><item id='A'><item id='X'/></item><item id='Y'/></item>",
         {{"AB", "", "", true},
          {"A", "AB", "AB/", true},
          {"X", "A", "AB/", false},
          {"Y", "AB", "AB/", false}}},
        {"outside the root element",
         "</Menu><Other><item id='LOST'/></Other><Menu><item id='KEPT'/>",
         {{"KEPT", "", "", false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Load(c.body));
        ASSERT_EQ(menu.GetItems().size(), c.items.size());
        for (std::size_t i = 0; i < c.items.size(); ++i) {
            const MenuItem& item = menu.GetItems()[i];
            SCOPED_TRACE(c.items[i].id);
            EXPECT_EQ(item.id, c.items[i].id);
            EXPECT_EQ(item.parentId, c.items[i].parent);
            EXPECT_EQ(item.path, c.items[i].path);
            EXPECT_EQ(item.hasChildren, c.items[i].hasChildren);
        }
    }
}

TEST_F(MenuTest, AttributesPicturesAndCursors) {
    ASSERT_TRUE(
        Load("<color active='0xFF112233'/><color passive='0xFF445566'/>"
             "<cursor image='NOWHERE' disp_x='9'/>"
             "<cursor image='BUTTON' disp_x='-11' disp_y='-12' r_right='55' r_bottom='59' "
             "r1_top='59' r1_right='55' r1_bottom='118'/>"
             "<cursor image='BUTTON' disp_x='99'/>"
             "<item id='SHOWN' type='_SIMPLE' image_id='BUTTON' image_id_1='BUTTON' font_id='FONT' "
             "options_id='3' color='0x80FFFFFF' x='1,5' y='2' x_disp='-4' y_disp='5' centered='0' "
             "scale='0.5' blink='1' func='_back' group_id='G'/>"
             "<item id='EMPTY_PICTURE' image_id='EMPTY'/>"
             "<item id='EMPTY_HOVER' image_id='BUTTON' image_id_1='EMPTY'/>"
             "<item id='UNKNOWN' image_id='NOWHERE' font_id='NOWHERE' text_id='NOWHERE'/>"));
    EXPECT_EQ(menu.GetActiveColour(), 0xFF112233u);
    EXPECT_EQ(menu.GetPassiveColour(), 0xFF445566u);
    // The unknown cursor is dropped; the first valid one is used.
    ASSERT_EQ(menu.GetCursors().size(), 2u);
    EXPECT_EQ(menu.GetCursors()[0].image, button);
    EXPECT_FLOAT_EQ(menu.GetCursors()[0].hotSpotX, -11.0f);
    EXPECT_FLOAT_EQ(menu.GetCursors()[0].hotSpotY, -12.0f);
    EXPECT_EQ(menu.GetCursors()[0].pressedRect.bottom, 118);

    const MenuItem& shown = Item("SHOWN");
    EXPECT_EQ(shown.image, button);
    EXPECT_EQ(shown.hoverImage, button);
    EXPECT_EQ(shown.font, font);
    EXPECT_EQ(shown.optionKey, 3);
    EXPECT_EQ(shown.colour, 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(shown.x, 1.5f);
    EXPECT_EQ(shown.xDisp, -4);
    EXPECT_EQ(shown.yDisp, 5);
    EXPECT_FALSE(shown.centered);
    EXPECT_FLOAT_EQ(shown.scale, 0.5f);
    EXPECT_TRUE(shown.blink);
    EXPECT_EQ(shown.func, "_back");
    EXPECT_EQ(shown.groupId, "G");
    EXPECT_FALSE(shown.hidden);
    EXPECT_FLOAT_EQ(shown.blinker.value, 255.0f);
    EXPECT_EQ(shown.blinker.direction, -1);

    EXPECT_TRUE(Item("EMPTY_PICTURE").hidden);
    EXPECT_TRUE(Item("EMPTY_HOVER").hidden);
    const MenuItem& unknown = Item("UNKNOWN");
    EXPECT_FALSE(unknown.hidden);
    EXPECT_EQ(unknown.image, -1);
    EXPECT_EQ(unknown.font, -1);
    EXPECT_EQ(unknown.textIndex, -1);
    EXPECT_EQ(unknown.optionKey, -1);
    EXPECT_TRUE(unknown.centered);
}

TEST_F(MenuTest, TextsAreCentredOnTheFontsOwnAdvances) {
    // A, space, B: (30 + 2) x 0.5 + (20 + 2) x 0.35 + (30 + 2) x 0.5 = 39.7.
    ASSERT_TRUE(
        Load("<item id='I' text_id='AB' font_id='FONT' x='100' y='10' scale='3'/>"
             "<item id='NO_FONT' text_id='AB' x='100' y='10'/>"));
    EXPECT_NEAR(Item("I").textX, 100.0f - 39.7f, 1e-4f);
    // (61 - 20 - 1) x 0.5 below the top, whatever the scale.
    EXPECT_FLOAT_EQ(Item("I").textY, 30.0f);
    EXPECT_FLOAT_EQ(Item("NO_FONT").textX, 0.0f);
    EXPECT_FLOAT_EQ(Item("NO_FONT").textY, 0.0f);
}

TEST_F(MenuTest, AMissingFileIsReportedAndKeepsTheItems) {
    ASSERT_TRUE(Load("<item id='KEPT'/>"));
    std::filesystem::remove("Resources/Data/menu.xml");
    EXPECT_FALSE(menu.Load());
    EXPECT_TRUE(
        media_test::LogHasInOrder({{"Blue", "Initializing menu"},
                                   {"Red", "Couldn't open menu file (Resources/Data/menu.xml)"}}));
    ASSERT_EQ(menu.GetItems().size(), 1u);
    EXPECT_EQ(menu.GetItems()[0].id, "KEPT");
}

TEST_F(MenuTest, ASyntaxErrorIsReportedAndKeepsWhatWasRead) {
    struct Case {
        const char* bytes;
        const char* red;
        int kept;
    };
    const Case cases[] = {
        {"", "Syntax error in Resources/Data/menu.xml, line 1: No Element", 0},
        {"<Menu><item id=\"FIRST\"/><item id=\"SECOND\"/><item id=</Menu>",
         "Syntax error in Resources/Data/menu.xml, line 1: Unexpected '<'", 2},
        {"<Menu>\n<item id=\"FIRST\"/>\n<item id=\"SECOND\">\n",
         "Syntax error in Resources/Data/menu.xml, line 4: Unexpected End of File", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        HtmlLog().Start();
        resource_test::WriteFile("Resources/Data/menu.xml", c.bytes);
        EXPECT_TRUE(menu.Load());
        EXPECT_EQ(menu.GetItems().size(), static_cast<std::size_t>(c.kept));
        EXPECT_TRUE(media_test::LogHasInOrder(
            {{"Red", c.red},
             {"Green", "Initialization is completed (" + std::to_string(c.kept) + ")"}}));
    }
}

}  // namespace

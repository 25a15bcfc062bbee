// The menu's frame: clicks, hover and click sounds, volume steps, sliders,
// radio buttons and profile slots, check boxes, hidden and disabled items,
// the editor action's number, "_exit", and commands whose handler calls back
// into the menu.
#include <gtest/gtest.h>

#include <climits>

#include "engine/media/media_test_support.h"
#include "menu_test_support.h"

namespace {

using menu_test::MenuTest;
using Commands = std::vector<std::pair<std::uint32_t, std::intptr_t>>;

// Default items are 206 x 61: an item at x 100, y 0 covers 0..206 x 0..61.
TEST_F(MenuTest, AReleaseOverAnItemRunsItWhereverThePressWas) {
    struct Case {
        const char* name;
        float pressX, releaseX;
        Commands expected;
    };
    const Case cases[] = {
        {"press and release on one item", 100, 100, {{COMMAND_NEW_GAME, 0}}},
        {"pressed on another item", 100, 400, {{COMMAND_CONTINUE_GAME, 0}}},
        {"pressed outside every item", 700, 400, {{COMMAND_CONTINUE_GAME, 0}}},
        {"released outside every item", 400, 700, {}},
    };
    ASSERT_TRUE(
        Load("<item id='A' type='_SIMPLE' x='100' func='_new_game'/>"
             "<item id='B' type='_SIMPLE' x='400' func='_continue_game'/>"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.commands.clear();
        EXPECT_TRUE(Frame(c.pressX, 30, true, false));
        EXPECT_TRUE(Frame(c.releaseX, 30, false, true));
        EXPECT_EQ(sink.commands, c.expected);
    }
}

TEST_F(MenuTest, TheHoverSoundPlaysOncePerEntry) {
    // A covers 0..206; the chooser's buttons 297..503 and 547..753.
    ASSERT_TRUE(
        Load("<item id='A' type='_SIMPLE' x='100'/>"
             "<item id='D' type='_DISPLAYMODE' x='400' x_disp='250'/>"));
    struct Step {
        const char* name;
        float x;
        int hoverPlays;
        std::int32_t hovered;
    };
    const Step steps[] = {
        {"onto A", 100, 1, 0},
        {"staying on A", 110, 1, 0},
        {"straight onto the chooser", 400, 2, 1},
        {"onto its second button", 600, 3, -2},
        {"staying there", 610, 3, -2},
        {"off every item", 900, 3, -1},
        {"back onto the second button", 600, 4, -2},
        {"onto A again", 100, 5, 0},
        {"off", 900, 5, -1},
        {"the same item again", 100, 6, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        Frame(step.x, 30);
        EXPECT_EQ(SamplePlays(0), step.hoverPlays);
        EXPECT_EQ(menu.GetHoveredIndex(), step.hovered);
    }
    EXPECT_EQ(SamplePlays(1), 0);
    Click(100, 30);
    Click(600, 30);
    EXPECT_EQ(SamplePlays(1), 2);
}

TEST_F(MenuTest, VolumeStepsStayWithinZeroAndHundred) {
    struct Case {
        const char* func;
        std::int32_t music, sound;
        std::uint32_t command;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"_inc_music_volume", 95, 50, COMMAND_SET_MUSIC_VOLUME, 100},
        {"_dec_music_volume", 5, 50, COMMAND_SET_MUSIC_VOLUME, 0},
        {"_dec_music_volume", 70, 50, COMMAND_SET_MUSIC_VOLUME, 60},
        {"_inc_sound_volume", 50, 95, COMMAND_SET_SOUND_VOLUME, 100},
        {"_dec_sound_volume", 50, 5, COMMAND_SET_SOUND_VOLUME, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.func);
        ASSERT_TRUE(
            Load("<item id='MUSIC' type='_SCROLL' options_id='0' y='300'/>"
                 "<item id='SOUND' type='_SCROLL' options_id='1' y='400'/>"
                 "<item id='STEP' type='_SIMPLE' x='100' func='" +
                 std::string(c.func) + "'/>"));
        menu.SetVolumeOptions(c.music, c.sound);
        sink.commands.clear();
        Click(100, 30);
        EXPECT_EQ(sink.commands, (Commands{{c.command, c.expected}}));
        const std::int32_t key = c.command == COMMAND_SET_MUSIC_VOLUME ? 0 : 1;
        EXPECT_EQ(menu.GetOptionValue(key), c.expected);
    }
}

TEST_F(MenuTest, ASliderTrailsTheMouseByOneFrameWhileHeld) {
    // The box spans x 100..300 and y 100..120; the value is
    // (previous mouse x - 100) / 198 x 100.
    ASSERT_TRUE(
        Load("<item id='S' type='_SCROLL' x='200' y='100' r_right='200' r_bottom='20' "
             "options_id='0' func='_set_music_volume'/>"));
    menu.SetVolumeOptions(40, 0);
    struct Step {
        const char* name;
        float x;
        bool held;
        std::int32_t value;
        bool sent;
    };
    const Step steps[] = {
        {"left of the box", 50, true, 40, false},
        {"just entered from the left", 100, true, 0, true},
        {"in the middle", 200, true, 0, true},
        {"near the right edge", 298, true, 50, true},
        {"within 2 pixels of the right edge", 298, true, 100, true},
        {"moving back, not held", 150, false, 100, false},
        {"held again", 150, true, 25, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        sink.commands.clear();
        Frame(step.x, 110, step.held, step.held);
        EXPECT_EQ(Item("S").value, step.value);
        const Commands expected =
            step.sent ? Commands{{COMMAND_SET_MUSIC_VOLUME, step.value}} : Commands{};
        EXPECT_EQ(sink.commands, expected);
    }
}

TEST_F(MenuTest, ASliderTooNarrowToSlideKeepsItsValue) {
    // 2 pixels wide: the divisor 2 - 2 is 0; 1 pixel: -1.
    for (const char* width : {"2", "1"}) {
        SCOPED_TRACE(width);
        ASSERT_TRUE(Load(std::string("<item id='S' type='_SCROLL' x='200' r_right='") + width +
                         "' options_id='0'/>"));
        menu.SetVolumeOptions(40, 0);
        Frame(200, 10, true, true);
        Frame(200, 10, true, true);
        EXPECT_EQ(Item("S").value, 40);
    }
}

TEST_F(MenuTest, RadioButtonsAndProfileSlotsSelectWithinTheirGroup) {
    ASSERT_TRUE(
        Load("<item id='PAGE'>"
             "<item id='C1' type='_COMBO' group_id='G' x='100' y='0'/>"
             "<item id='C2' type='_COMBO' group_id='G' x='100' y='100'/>"
             "<item id='LONE' type='_COMBO' x='100' y='200'/>"
             "<item id='UNGROUPED' type='_CHECK' x='100' y='300'/>"
             "<item id='P1' type='_PROFILE' group_id='PG' x='400' y='0'/>"
             "<item id='P2' type='_PROFILE' group_id='PG' x='400' y='100'/>"
             "</item>"));
    ASSERT_TRUE(menu.OpenSubmenu("PAGE"));
    Edit("C1").value = 1;
    Edit("UNGROUPED").value = 1;
    Edit("P2").value = 1;

    Click(100, 30);  // the selected C1 stays as it is
    EXPECT_EQ(Item("C1").value, 1);
    EXPECT_EQ(Item("C2").value, 0);
    Click(100, 130);
    EXPECT_EQ(Item("C1").value, 0);
    EXPECT_EQ(Item("C2").value, 1);
    EXPECT_TRUE(Item("C2").sourceRect.top == Item("C2").rect1.top);
    // Without a group, the items without a group are its group.
    Click(100, 230);
    EXPECT_EQ(Item("LONE").value, 1);
    EXPECT_EQ(Item("UNGROUPED").value, 0);
    EXPECT_EQ(Item("C2").value, 1);
    EXPECT_TRUE(sink.commands.empty());

    Click(400, 30);  // a first click selects
    EXPECT_EQ(Item("P1").value, 1);
    EXPECT_EQ(Item("P2").value, 0);
    EXPECT_TRUE(sink.commands.empty());
    EXPECT_EQ(menu.GetCurrentId(), "PAGE");
    Click(400, 30);  // a second one confirms and leaves the page
    EXPECT_EQ(sink.commands, (Commands{{COMMAND_SELECT_PLAYER, 0}}));
    EXPECT_EQ(menu.GetCurrentId(), "");
}

TEST_F(MenuTest, ACentredCheckBoxIsHitAroundItsTextStart) {
    // "A B" centred on 300: the text and the 40-pixel box start at 260.3.
    ASSERT_TRUE(
        Load("<item id='CENTRED' type='_CHECK' text_id='AB' font_id='FONT' x='300' "
             "y='0' r_right='40' r_bottom='40'/>"
             "<item id='PLAIN' type='_CHECK' text_id='AB' font_id='FONT' x='300' y='100' "
             "r_right='40' r_bottom='40' centered='0'/>"));
    struct Case {
        const char* name;
        float x, y;
        std::int32_t centred, plain;
    };
    const Case cases[] = {
        {"inside the centred box's left edge", 241, 10, 1, 0},
        {"right of the centred box", 285, 10, 1, 0},
        {"the plain box at x", 300, 110, 1, 1},
        {"left of the plain box", 279, 110, 1, 1},
        {"the centred box again", 270, 10, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Click(c.x, c.y);
        EXPECT_EQ(Item("CENTRED").value, c.centred);
        EXPECT_EQ(Item("PLAIN").value, c.plain);
    }
}

TEST_F(MenuTest, HiddenAndDisabledItemsAreNeitherHoveredNorClicked) {
    // Without a fullscreen option the chooser counts as fullscreen and stays
    // enabled.
    ASSERT_TRUE(
        Load("<item id='HIDDEN' type='_SIMPLE' image_id='EMPTY' x='100' func='_new_game'/>"
             "<item id='OFF' type='_SIMPLE' x='400' func='_new_game'/>"
             "<item id='HIDDEN_MODES' type='_DISPLAYMODE' image_id='EMPTY' x='100' "
             "y='100' x_disp='300'/>"));
    ASSERT_TRUE(menu.SetItemDisabled("OFF", true));
    Click(100, 30);
    Click(400, 30);
    Click(100, 130);
    EXPECT_TRUE(sink.commands.empty());
    EXPECT_EQ(SamplePlays(0), 0);
    EXPECT_EQ(SamplePlays(1), 0);
    // The second button of a hidden chooser still answers.
    Frame(400, 130);
    EXPECT_EQ(Item("HIDDEN_MODES").state, 2);
    EXPECT_EQ(SamplePlays(0), 1);
    Frame(400, 130, true, false);
    EXPECT_TRUE(Item("HIDDEN_MODES").pressed);

    // A window disables the chooser: neither of its buttons answers.
    ASSERT_TRUE(
        Load("<item id='FULLSCREEN' type='_CHECK' options_id='3' x='900' y='700'/>"
             "<item id='OFF_MODES' type='_DISPLAYMODE' x='100' x_disp='300'/>"));
    Click(100, 30);
    Click(400, 30);
    EXPECT_TRUE(Item("OFF_MODES").disabled);
    EXPECT_EQ(Item("OFF_MODES").state, 0);
    EXPECT_EQ(SamplePlays(0), 1);
}

TEST_F(MenuTest, TheEditorActionSendsTheNumberAfterTheLastUnderscore) {
    struct Case {
        const char* id;
        Commands expected;
    };
    const Case cases[] = {
        {"EDIT_12", {{COMMAND_EDITOR_ACTION, 12}}},
        {"EDIT_LEVEL_7", {{COMMAND_EDITOR_ACTION, 7}}},
        {"EDIT_ -3x", {{COMMAND_EDITOR_ACTION, -3}}},
        {"EDIT_x", {{COMMAND_EDITOR_ACTION, 0}}},
        // Digits past 32 bits wrap: 99999999999 mod 2^32.
        {"EDIT_99999999999", {{COMMAND_EDITOR_ACTION, 1215752191}}},
        {"EDIT_", {}},
        // Without "_" the id but its last character is read.
        {"345", {{COMMAND_EDITOR_ACTION, 34}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(Load(std::string("<item id='") + c.id +
                         "' type='_SIMPLE' x='100' func='_editor_action'/>"));
        sink.commands.clear();
        Click(100, 30);
        EXPECT_EQ(sink.commands, c.expected);
    }
}

TEST_F(MenuTest, ExitEndsTheFrameBeforeTheCursorAndTheLaterItems) {
    ASSERT_TRUE(
        Load("<cursor image='BUTTON' disp_x='-5'/>"
             "<item id='EXIT' type='_SIMPLE' x='100' func='_exit'/>"
             "<item id='LATER' type='_SIMPLE' x='400'/>"));
    EXPECT_TRUE(Frame(100, 30, true, false));
    EXPECT_FLOAT_EQ(menu.GetCursorX(), 95.0f);
    EXPECT_TRUE(menu.GetCursors()[0].pressed);
    Edit("LATER").colour = 0x12345678;
    EXPECT_FALSE(Frame(150, 30, false, true));
    EXPECT_FLOAT_EQ(menu.GetCursorX(), 95.0f);
    EXPECT_TRUE(menu.GetCursors()[0].pressed);
    EXPECT_EQ(Item("LATER").colour, 0x12345678u);
    const std::string log = resource_test::ReadLog();
    EXPECT_NE(log.find("Color = 884400"), std::string::npos);
    EXPECT_NE(log.find("<B>\n<BR>EXIT GAME"), std::string::npos) << log;
    EXPECT_TRUE(sink.commands.empty());
}

TEST_F(MenuTest, HandlersThatCallBackMeetAStoppedOrEnteredLoop) {
    ASSERT_TRUE(
        Load("<item id='OPTIONS' type='_SIMPLE' x='100' func='_get_options'>"
             "<item id='MUSIC' type='_SCROLL' options_id='0' x='600'/>"
             "<item id='UNDER' type='_SIMPLE' x='100'/>"
             "</item>"
             "<item id='PLAY' type='_SIMPLE' x='400' func='_check_old_game'>"
             "<item id='ASKED' type='_SIMPLE' x='400'/>"
             "</item>"
             "<item id='LOUDER' type='_SIMPLE' x='700' y='200' func='_inc_music_volume'/>"
             "<item id='AFTER' type='_SIMPLE' x='700' y='200'/>"));
    // Entering: the handler fills the options before the page shows.
    sink.onCommand = [this](std::uint32_t command, std::intptr_t) {
        if (command == COMMAND_GET_OPTIONS) {
            menu.SetVolumeOptions(30, 0);
        }
        if (command == COMMAND_CHECK_OLD_GAME) {
            menu.OpenSubmenu("PLAY");
        }
        if (command == COMMAND_SET_MUSIC_VOLUME) {
            menu.SetItemDisabled("AFTER", true);
        }
    };
    Click(100, 30);
    EXPECT_EQ(menu.GetCurrentId(), "OPTIONS");
    EXPECT_EQ(menu.GetOptionValue(0), 30);
    // The clicked item's index is kept, so the item under the mouse on the
    // new page sounds in the next frame.
    const int hovers = SamplePlays(0);
    Frame(100, 30);
    EXPECT_EQ(SamplePlays(0), hovers + 1);
    EXPECT_EQ(Item("UNDER").state, 1);

    menu.GoToRoot();
    Click(400, 30);
    EXPECT_EQ(menu.GetCurrentId(), "PLAY");
    EXPECT_EQ(menu.GetCurrentPath(), "");

    // Going on: the item after the volume button is processed disabled.
    menu.GoToRoot();
    Click(700, 230);
    EXPECT_EQ(menu.GetOptionValue(0), 40);
    EXPECT_TRUE(Item("AFTER").disabled);
    EXPECT_EQ(Item("AFTER").state, 0);
    EXPECT_EQ(sink.commands, (Commands{{COMMAND_GET_OPTIONS, 0},
                                       {COMMAND_CHECK_OLD_GAME, 0},
                                       {COMMAND_SET_MUSIC_VOLUME, 40}}));
}

TEST_F(MenuTest, CancellingAProfileChoiceReselectsTheRememberedSlot) {
    ASSERT_TRUE(
        Load("<item id='PLAYERS' type='_SIMPLE' x='100' func='_select_player'>"
             "<item id='P1' type='_PROFILE' group_id='G' x='400' y='0'/>"
             "<item id='P2' type='_PROFILE' group_id='G' x='400' y='100'/>"
             "<item id='CANCEL' type='_SIMPLE' x='100' y='300' "
             "func='_cancel_select_player'/>"
             "<item id='DELETE' type='_SIMPLE' x='100' y='400' func='_delete_player'/>"
             "</item>"));
    Edit("P1").text = u"Ann";
    Edit("P2").text = u"Bo";
    Edit("P2").value = 1;
    std::u16string selectedWhenSent;
    sink.onCommand = [&](std::uint32_t, std::intptr_t) {
        selectedWhenSent = menu.GetSelectedProfileName();
    };
    Click(100, 30);
    ASSERT_EQ(menu.GetCurrentId(), "PLAYERS");
    Click(400, 30);
    EXPECT_EQ(menu.GetSelectedProfileName(), u"Ann");
    Click(100, 330);
    EXPECT_EQ(sink.commands, (Commands{{COMMAND_SELECT_PLAYER, 0}}));
    EXPECT_EQ(selectedWhenSent, u"Bo");
    EXPECT_EQ(Item("P1").value, 0);
    EXPECT_EQ(Item("P2").value, 1);
    EXPECT_EQ(menu.GetCurrentId(), "");

    // Delete sends, then goes back a page.
    ASSERT_TRUE(menu.OpenSubmenu("PLAYERS"));
    Click(100, 430);
    EXPECT_EQ(sink.commands.back(),
              (std::pair<std::uint32_t, std::intptr_t>{COMMAND_DELETE_PLAYER, 0}));
    EXPECT_EQ(menu.GetCurrentId(), "");
}

TEST_F(MenuTest, PagesChangeOnlyToItemsThatExist) {
    ASSERT_TRUE(Load("<item id='A'><item id='B'><item id='C'/></item></item>"));
    EXPECT_FALSE(menu.OpenSubmenu("NOWHERE"));
    EXPECT_EQ(menu.GetCurrentId(), "");
    menu.Back();
    EXPECT_EQ(menu.GetCurrentId(), "");
    EXPECT_TRUE(menu.OpenSubmenu("C"));  // an item without children: an empty page
    menu.Back();
    EXPECT_EQ(menu.GetCurrentId(), "B");
    menu.Back();
    EXPECT_EQ(menu.GetCurrentId(), "A");
    menu.GoToRoot();
    EXPECT_EQ(menu.GetCurrentId(), "");
    EXPECT_FALSE(menu.SetItemDisabled("NOWHERE", true));
    EXPECT_EQ(menu.FindItem("NOWHERE"), nullptr);
}

TEST_F(MenuTest, PagesWithACommandOpenAndCloseAroundIt) {
    struct Case {
        const char* open;
        const char* close;
        std::uint32_t opened;
        std::uint32_t closed;
    };
    const Case cases[] = {
        {"_show_high_scores", "_hide_high_scores", COMMAND_SHOW_HIGH_SCORES,
         COMMAND_HIDE_HIGH_SCORES},
        {"_show_credits", "_hide_credits", COMMAND_SHOW_CREDITS, COMMAND_HIDE_CREDITS},
        {"_get_options", "_set_options", COMMAND_GET_OPTIONS, COMMAND_SET_OPTIONS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.open);
        ASSERT_TRUE(Load(std::string("<item id='PAGE' type='_SIMPLE' x='100' func='") + c.open +
                         "'><item id='CLOSE' type='_SIMPLE' x='100' y='200' func='" + c.close +
                         "'/></item>"));
        sink.commands.clear();
        Click(100, 30);
        EXPECT_EQ(menu.GetCurrentId(), "PAGE");
        Click(100, 230);
        EXPECT_EQ(menu.GetCurrentId(), "") << "back on the page the page was opened from";
        EXPECT_EQ(sink.commands, (Commands{{c.opened, 0}, {c.closed, 0}}));
    }
}

}  // namespace

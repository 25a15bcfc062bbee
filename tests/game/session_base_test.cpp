// The session base: the name entry with its caret, the request for a first
// player, and the screen fade.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/framework/app_framework.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "frontend/menu_command.h"
#include "game/game_session_base.h"

namespace {

// A window that records the commands sent to it; it opens the name entry on
// "_edit_player_name" as the game application does.
class CCommandWindow : public CAppFramework {
public:
    explicit CCommandWindow(CGameSessionBase& session) : m_session(session) {}
    // Never created, so the constructor's pause is still held; the next
    // application of the process would start inactive.
    ~CCommandWindow() override { app_test::BalancePauses(*this); }
    std::intptr_t MsgProc(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override {
        if (message == WM_COMMAND) {
            commands.push_back(LowWord(wParam));
            if (LowWord(wParam) == COMMAND_EDIT_PLAYER_NAME && openOnEdit) {
                m_session.OpenNameEntry();
            }
        }
        return CAppFramework::MsgProc(message, wParam, lParam);
    }

    std::vector<std::uint32_t> commands;
    bool openOnEdit = true;

private:
    CGameSessionBase& m_session;
};

// Reaches the measured width the entry keeps from its last drawing.
class CTestSession : public CGameSessionBase {
public:
    void SetMeasuredWidth(float width) { m_typedNameWidth = width; }
    float CaretAlpha() const { return m_caret.value; }
};

class NameEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        session.OpenNameEntry();
    }
    void Type(std::u16string_view units) {
        for (const char16_t unit : units) {
            session.OnNameChar(&window, unit);
        }
    }

    CTestSession session;
    CCommandWindow window{session};
};

TEST_F(NameEntryTest, TypedUnitsGiveTheName) {
    struct Case {
        const char* what;
        std::u16string typed;
        std::u16string name;
    };
    const std::u16string clef = u"\U0001D11E";  // one character, two units
    const std::u16string high = clef.substr(0, 1);
    const std::u16string low = clef.substr(1, 1);
    const Case cases[] = {
        {"letters", u"Ann", u"Ann"},
        {"a leading space", u" A", u"A"},
        {"a later space", u"A B", u"A B"},
        {"backspace", u"Ab\bc", u"Ac"},
        {"backspace on nothing", u"\b\bA", u"A"},
        {"sixteen and no more", std::u16string(17, u'x'), std::u16string(16, u'x')},
        {"a whole pair", u"A" + clef, u"A" + clef},
        {"no room for both halves", std::u16string(15, u'x') + clef, std::u16string(15, u'x')},
        {"a pair filling the name", std::u16string(14, u'x') + clef,
         std::u16string(14, u'x') + clef},
        {"a lone low half", u"A" + low, u"A"},
        {"a lone high half", u"A" + high + u"B", u"AB"},
        {"backspace takes the pair", u"A" + clef + u"\b", u"A"},
        {"a low half after backspace", u"AB" + high + u"\b" + low, u"A"},
    };
    for (const Case& c : cases) {
        session.OpenNameEntry();
        Type(c.typed);
        EXPECT_EQ(session.GetTypedName(), c.name) << c.what;
    }
}

TEST_F(NameEntryTest, TheMeasuredWidthStopsTheName) {
    Type(u"Wide");
    session.SetMeasuredWidth(179.9f);
    Type(u"r");
    session.SetMeasuredWidth(180.0f);
    Type(u"s\U0001D11E");
    EXPECT_EQ(session.GetTypedName(), u"Wider");
    Type(u"\b");
    EXPECT_EQ(session.GetTypedName(), u"Wide") << "backspace still works";
}

TEST_F(NameEntryTest, EnterAsksForANewPlayerAndAClosedEntryTakesNothing) {
    Type(u"Jo\r");
    EXPECT_EQ(window.commands, std::vector<std::uint32_t>{COMMAND_NEW_PLAYER});
    EXPECT_EQ(session.GetTypedName(), u"Jo");

    session.CloseNameEntry();
    Type(u"x\b\r");
    EXPECT_EQ(session.GetTypedName(), u"Jo");
    EXPECT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(session.RenderNameEntry(1, Vec2{1, 1}, Vec2{512, 391}, 0xFFFFFFFF, true, 0.0f),
              RESULT_OK)
        << "nothing drawn";
}

TEST_F(NameEntryTest, WithoutPlayersEveryFrameAsksForTheEntryUntilItIsOpen) {
    session.CloseNameEntry();
    window.openOnEdit = false;
    session.UpdateNameEntry(&window, 0.01f);
    session.UpdateNameEntry(&window, 0.01f);
    EXPECT_EQ(window.commands,
              (std::vector<std::uint32_t>{COMMAND_EDIT_PLAYER_NAME, COMMAND_EDIT_PLAYER_NAME}));
    window.openOnEdit = true;
    session.UpdateNameEntry(&window, 0.01f);
    session.UpdateNameEntry(&window, 0.01f);
    EXPECT_EQ(window.commands.size(), 3u);
    EXPECT_TRUE(session.IsNameEntryOpen());
    EXPECT_TRUE(session.GetTypedName().empty());

    // A player exists: the entry is not asked for.
    CTestSession withPlayer;
    ASSERT_TRUE(withPlayer.AddProfile(u"P"));
    CCommandWindow other(withPlayer);
    withPlayer.UpdateNameEntry(&other, 0.01f);
    EXPECT_TRUE(other.commands.empty());
}

TEST_F(NameEntryTest, TheCaretBlinksBetweenZeroAndFull) {
    EXPECT_FLOAT_EQ(session.CaretAlpha(), 0.0f);
    session.UpdateNameEntry(nullptr, 0.1f);
    EXPECT_FLOAT_EQ(session.CaretAlpha(), 100.0f);
    session.UpdateNameEntry(nullptr, 0.2f);
    EXPECT_FLOAT_EQ(session.CaretAlpha(), 255.0f);
    session.UpdateNameEntry(nullptr, 0.1f);
    EXPECT_FLOAT_EQ(session.CaretAlpha(), 155.0f);
}

class FadeTest : public ::testing::Test {
protected:
    void SetUp() override { app_test::PrivateFolder(); }
    static std::uint32_t Mask() { return ResourceManager::Instance().GetColourMask(); }

    CGameSessionBase session;
};

TEST_F(FadeTest, TheFadeOutBitStaysOneFrameAfterBlack) {
    session.SetGameMode(MODE_LOADING | MODE_FADE_OUT);
    session.UpdateFade(0.3f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 105.0f);
    EXPECT_EQ(Mask(), 0xFF696969u);
    session.UpdateFade(0.3f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 0.0f);
    EXPECT_EQ(session.GetGameMode(), MODE_LOADING | MODE_FADE_OUT);
    session.UpdateFade(0.3f);
    EXPECT_EQ(session.GetGameMode(), MODE_LOADING);
    EXPECT_EQ(Mask(), 0xFF000000u);

    // Without the bit the screen comes back at the same speed.
    session.UpdateFade(0.2f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 100.0f);
    session.UpdateFade(1.0f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 255.0f);
    EXPECT_EQ(Mask(), 0xFFFFFFFFu);
}

TEST_F(FadeTest, PausingDimsAndAFadeOutWinsOverThePause) {
    session.SetGameMode(MODE_GAME | MODE_PAUSED);
    session.UpdateFade(0.1f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 205.0f);
    session.UpdateFade(1.0f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 127.0f);
    session.SetGameMode(MODE_GAME);
    session.UpdateFade(0.1f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 177.0f);

    session.SetGameMode(MODE_GAME | MODE_PAUSED | MODE_FADE_OUT);
    session.UpdateFade(1.0f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 0.0f);
}

TEST_F(FadeTest, ATargetAlreadyReachedChangesNothing) {
    EXPECT_FALSE(session.SetFade(500.0f, 255.0f));
    EXPECT_TRUE(session.SetFade(-40.0f, 300.0f)) << "clamped to 255 after the comparison";
    session.UpdateFade(0.0f);
    EXPECT_TRUE(session.SetFade(40.0f, 0.0f));
    session.SetGameMode(MODE_FADE_OUT);
    session.UpdateFade(1.0f);
    EXPECT_FLOAT_EQ(session.GetFadeLevel(), 0.0f) << "SetFade moves at its own speed: 500";
}

}  // namespace

// The texts of the HUD, the shop, the pet choice and the overlays, read back
// from the glyph draws on the fake render device: where each stands in each
// language, which briefing a level shows, the hand-centred goal lines, and the
// SKIP button's fade.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "game/level_base.h"
#include "game/panel_world.h"

namespace {

using panel_test::DrawnText;

const std::vector<std::pair<std::string, std::string>> TEXTS = {
    {"CASH", "CASH"},
    {"LEVEL", "LEVEL"},
    {"MENU_NORMAL", "N"},
    {"MENU_EXPERT", "E"},
    {"CLOSED", "CLOSED"},
    {"GOAL", "GOAL"},
    {"EXPERT", "EXPERT"},
    {"PAUSE", "PAUSE"},
    {"TRAINING_1", "TA"},
    {"TRAINING_2", "TB"},
    {"BRIEFING_7", "BRIEF"},
    {"MINIGAME_BRIEFING_2", "MB"},
    {"MINIGAME_TUTORIAL", "TUT"},
    {"CHANGE_PET", "PET"},
};

class HudTextsTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        StartWorld("English", TEXTS);
        ASSERT_TRUE(session.AddProfile(u"Ann"));
        profile().storyLevel = 7;
        profile().shownCash = 1234.4f;
        profile().savings = 560;
        session.GetLevel().need = 300;
        session.GetLevel().expert = 900;
        session.SetTimeLeft(10.0f);
        session.BuildGui();
    }
    void TearDown() override {
        g_levelBase.Clear();
        PanelWorldTest::TearDown();
    }

    CProfile& profile() { return *session.GetCurrentProfile(); }

    std::vector<DrawnText> Frame(std::uint32_t mode) {
        device.draws.clear();
        session.SetGameMode(mode);
        session.RenderHud(&device, Vec2{1.0f, 1.0f});
        return DrawnTexts();
    }

    static const DrawnText* Find(const std::vector<DrawnText>& texts, std::u16string_view text) {
        for (const DrawnText& drawn : texts) {
            if (drawn.text == text) {
                return &drawn;
            }
        }
        return nullptr;
    }

    // The y at which a text stands, -1000 when it is not drawn.
    static float YOf(const std::vector<DrawnText>& texts, std::u16string_view text) {
        const DrawnText* found = Find(texts, text);
        return found != nullptr ? found->y : -1000.0f;
    }

    CGameSession session;
};

TEST_F(HudTextsTest, PlayHudShowsCashLevelAndLabelsAndClosedOnlyWhenTimeIsUp) {
    std::vector<DrawnText> texts = Frame(MODE_GAME);
    const DrawnText* cash = Find(texts, u"1234");
    ASSERT_NE(cash, nullptr);
    EXPECT_EQ(cash->font, 1);
    EXPECT_EQ(cash->scale, 1.0f);
    ASSERT_NE(Find(texts, u"7"), nullptr);
    const DrawnText* label = Find(texts, u"CASH");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x, 10.0f);
    EXPECT_FLOAT_EQ(label->scale, 0.7f);
    EXPECT_EQ(Find(texts, u"CLOSED"), nullptr);

    session.SetTimeLeft(0.0f);
    texts = Frame(MODE_GAME);
    const DrawnText* closed = Find(texts, u"CLOSED");
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(closed->colour, 0xFFFFFF88u);

    // In training the story level is not shown; on a bonus level none of it.
    EXPECT_EQ(Find(Frame(MODE_GAME | MODE_TRAINING), u"7"), nullptr);
    session.GetLevel().bonus = true;
    texts = Frame(MODE_GAME);
    EXPECT_EQ(Find(texts, u"CLOSED"), nullptr);
    EXPECT_EQ(Find(texts, u"1234"), nullptr);
    EXPECT_EQ(Find(texts, u"CASH"), nullptr);
}

TEST_F(HudTextsTest, JapaneseLowersThePlayLabelsAndClosedButNotTheShopLabels) {
    session.SetTimeLeft(0.0f);
    const std::vector<DrawnText> english = Frame(MODE_GAME);
    const std::vector<DrawnText> englishShop = Frame(MODE_GAME | MODE_SHOP);
    UseLanguage("Japanese", TEXTS);
    const std::vector<DrawnText> japanese = Frame(MODE_GAME);
    const std::vector<DrawnText> japaneseShop = Frame(MODE_GAME | MODE_SHOP);

    for (const std::u16string_view label : {u"CASH", u"LEVEL", u"N", u"E"}) {
        EXPECT_FLOAT_EQ(YOf(japanese, label) - YOf(english, label), 4.0f) << label.size();
        EXPECT_FLOAT_EQ(YOf(japaneseShop, label), YOf(englishShop, label)) << label.size();
        EXPECT_GT(YOf(englishShop, label), -1000.0f);
    }
    EXPECT_FLOAT_EQ(YOf(japanese, u"CLOSED") - YOf(english, u"CLOSED"), 5.0f);
    EXPECT_EQ(YOf(english, u"7"), YOf(japanese, u"7")) << "the numbers stay";
}

TEST_F(HudTextsTest, ShopShowsTheSavingsAndThePetChoiceItsLine) {
    std::vector<DrawnText> texts = Frame(MODE_GAME | MODE_SHOP);
    EXPECT_NE(Find(texts, u"560"), nullptr);
    EXPECT_EQ(Find(texts, u"1234"), nullptr) << "no play HUD in the shop";

    texts = Frame(MODE_GAME | MODE_PET_CHOICE);
    const DrawnText* line = Find(texts, u"PET");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->font, 0);
    EXPECT_FLOAT_EQ(line->scale, 0.7f);
}

TEST_F(HudTextsTest, BriefingShowsTheTextOfTheTrainingStepTheBonusLevelOrTheStoryLevel) {
    resource_test::WriteFile("Resources/Data/levels.xml",
                             "<Levels><BonusLevel/><Level/><BonusLevel/></Levels>");
    ASSERT_EQ(g_levelBase.Load("Resources/Data/levels.xml"), 3);
    profile().levelIndex = 3;
    const std::uint32_t briefing = MODE_GAME | MODE_PAUSED | MODE_BRIEFING;
    struct Case {
        std::uint32_t mode;
        std::int32_t trainingStep;
        bool bonus;
        std::u16string text;
        bool tutorial;
        bool goals;
    };
    const Case cases[] = {
        {briefing | MODE_TRAINING, 25, false, u"TA", false, false},
        {briefing | MODE_TRAINING, 26, false, u"TB", false, false},
        {briefing, -1, true, u"MB", true, false},
        {briefing, -1, false, u"BRIEF", false, true},
    };
    for (const Case& c : cases) {
        session.SetTrainingStep(c.trainingStep);
        session.GetLevel().bonus = c.bonus;
        const std::vector<DrawnText> texts = Frame(c.mode);
        const DrawnText* text = Find(texts, c.text);
        ASSERT_NE(text, nullptr) << c.trainingStep;
        EXPECT_EQ(text->colour, 0xFFFFFFFFu);
        const DrawnText* tutorial = Find(texts, u"TUT");
        EXPECT_EQ(tutorial != nullptr, c.tutorial);
        if (tutorial != nullptr) {
            EXPECT_EQ(tutorial->colour, 0xFF000000u);
        }
        EXPECT_EQ(Find(texts, u"GOAL300") != nullptr, c.goals) << c.trainingStep;
    }
}

TEST_F(HudTextsTest, GoalLinesAreCentredByHandOnTheirMeasuredWidth) {
    struct Case {
        std::uint32_t mode;
        float goalY;
        float expertY;
    };
    const Case cases[] = {
        {MODE_GAME | MODE_PAUSED | MODE_BRIEFING, 516.0f, 549.0f},
        {MODE_GAME | MODE_PAUSED, 450.0f, 483.0f},
    };
    for (const Case& c : cases) {
        const std::vector<DrawnText> texts = Frame(c.mode);
        // 0.35 of the line's measured width left of 506, on a whole pixel.
        const DrawnText* goal = Find(texts, u"GOAL300");
        ASSERT_NE(goal, nullptr) << c.goalY;
        const float width = Resources().GetTextWidth(0, u"GOAL 300", 0.0f, true, -1);
        ASSERT_GT(width, 70.0f);
        EXPECT_FLOAT_EQ(goal->x, std::floor(506.0f - 0.35f * width));
        EXPECT_EQ(goal->y, c.goalY);
        EXPECT_EQ(goal->colour, 0xFF000000u);
        EXPECT_FLOAT_EQ(goal->scale, 0.7f);
        const DrawnText* expert = Find(texts, u"EXPERT900");
        ASSERT_NE(expert, nullptr);
        EXPECT_EQ(expert->y, c.expertY);
    }
    // Neither on a bonus level's pause nor in training.
    session.GetLevel().bonus = true;
    EXPECT_EQ(Find(Frame(MODE_GAME | MODE_PAUSED), u"GOAL300"), nullptr);
    session.GetLevel().bonus = false;
    EXPECT_EQ(Find(Frame(MODE_GAME | MODE_PAUSED | MODE_TRAINING), u"GOAL300"), nullptr);
    EXPECT_NE(Find(Frame(MODE_GAME | MODE_PAUSED), u"PAUSE"), nullptr);
}

TEST_F(HudTextsTest, NothingIsDrawnWithoutAPlayerOrUnderTheMenu) {
    EXPECT_TRUE(Frame(MODE_MENU | MODE_GAME).empty());
    ASSERT_TRUE(session.DeleteProfile(u"Ann"));
    device.draws.clear();
    session.SetGameMode(MODE_GAME);
    session.RenderHud(&device, Vec2{1.0f, 1.0f});
    EXPECT_TRUE(device.draws.empty());
}

TEST_F(HudTextsTest, SkipFadesWithTheTrainingTipAndHidesUnderAnOverlay) {
    const CGuiButton& skip = session.GetButton(BTN_SKIP);
    const auto skipColours = [&]() {
        std::vector<std::uint32_t> colours;
        for (const media_test::RecordedDraw& draw : DrawsOf(gui)) {
            if (draw.source && draw.source->top == skip.normalSource.top &&
                draw.translation.x == skip.x) {
                colours.push_back(draw.colour);
            }
        }
        return colours;
    };
    session.SetTipAlpha(127.9f);
    Frame(MODE_GAME | MODE_TRAINING);
    EXPECT_EQ(skipColours(), std::vector<std::uint32_t>{0x7FFFFFFFu});
    Frame(MODE_GAME | MODE_TRAINING | MODE_PAUSED);
    EXPECT_TRUE(skipColours().empty());
    Frame(MODE_GAME);
    EXPECT_TRUE(skipColours().empty());
}

}  // namespace

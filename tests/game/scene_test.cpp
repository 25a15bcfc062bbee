// The scene dispatcher and the session's screens without a device: what the
// screens are built from, which world objects a frame updates for each mode
// word, what a level start sets up, and the depth passes around the heroine.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "engine/framework/app_test_support.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "heroine/audio_system.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace {

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        session_test::ResetGlobalSession();
        g_hintManager.Clear();
        ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
    }
    void TearDown() override {
        g_hintManager.Clear();
        session_test::ResetGlobalSession();
    }

    // The first hint window's panel alpha after one frame of the scene.
    static float HintAlphaAfterFrame(std::uint32_t mode, bool bonus) {
        g_hintManager.Clear();
        g_hintManager.AddHint(HintDesc{});
        g_gameSession.SetGameMode(mode);
        g_gameSession.GetLevel().bonus = bonus;
        g_scene.Update(InputState{}, Vec2{1.0f, 1.0f}, 0.1f);
        return g_hintManager.GetWindows().front().panelAlpha;
    }
};

TEST_F(SceneTest, BuildingTheScreensTwiceLeavesOneMarkerClipAndFortyFivePoints) {
    for (int run = 0; run < 2; ++run) {
        g_gameSession.BuildGui();
        EXPECT_EQ(g_gameSession.GetMapMarker().GetClipCount(), 1) << run;
        EXPECT_TRUE(g_gameSession.GetMapMarker().IsPlaying(0)) << run;
        ASSERT_EQ(g_gameSession.GetMapPoints().size(), CGameSession::MAP_POINT_COUNT) << run;
    }
    EXPECT_EQ(g_gameSession.GetMapPoints().front(), (Vec2{398.0f, 697.0f}));
    EXPECT_EQ(g_gameSession.GetMapPoints()[15], (Vec2{813.0f, 413.0f}));
    EXPECT_EQ(g_gameSession.GetMapPoints().back(), (Vec2{442.0f, 52.0f}));
    EXPECT_FLOAT_EQ(g_gameSession.GetTimeBarWidth(), 282.0f);
    // No language table here: the captions are absent and the buttons keep
    // working without text.
    EXPECT_EQ(g_gameSession.GetButton(BTN_OK).caption, -1);
    EXPECT_EQ(g_gameSession.GetButton(BTN_OK).x, 382.0f);
    EXPECT_EQ(g_gameSession.GetButton(BTN_PAUSE).clickOnRelease, false);
    EXPECT_EQ(g_gameSession.GetButton(BTN_NEXT).clickOnRelease, true);
}

TEST_F(SceneTest, BuildingTheScreensDropsThePendingPurchaseAndTheDebugState) {
    g_gameSession.SetTextureGroup(8);
    g_gameSession.SetTextureHoldTimer(0.5f);
    g_gameSession.SetFastBonusChain(3);
    g_gameSession.BuildGui();
    EXPECT_EQ(g_gameSession.GetTextureGroup(), 0);
    EXPECT_EQ(g_gameSession.GetTextureHoldTimer(), 0.0f);
    EXPECT_EQ(g_gameSession.GetFastBonusChain(), 0);
    EXPECT_EQ(g_gameSession.GetPendingCode(), 0u);
    EXPECT_EQ(g_gameSession.GetPendingIndex(), -1);
    EXPECT_FALSE(g_gameSession.IsDebugOn());
}

TEST_F(SceneTest, AFrameUpdatesTheShopByItsExactWordsTheBonusGameOrPlay) {
    struct Case {
        std::uint32_t mode;
        bool bonus;
        bool hintsMove;
    };
    // The hint windows move in play and in the shop, not on a bonus level:
    // only the four exact shop words count as the shop, whatever the level.
    const Case cases[] = {
        {0x8, false, true},     {0x108, false, true},     {0x10008, false, true},
        {0x10108, false, true}, {0x5010008, false, true}, {0x5010108, false, true},
        {0x8, true, false},     {0x10008, true, true},    {0x5010108, true, true},
        {0x10028, true, false}, {0x1010008, true, false}, {0x4010108, true, false},
    };
    for (const Case& c : cases) {
        const float alpha = HintAlphaAfterFrame(c.mode, c.bonus);
        EXPECT_EQ(alpha > 0.0f, c.hintsMove) << std::hex << c.mode << " bonus " << c.bonus;
    }
}

TEST_F(SceneTest, ALevelResetSetsUpEveryWorldObjectFromTheRecordAndTheUpgrades) {
    CProfile& profile = *g_gameSession.GetCurrentProfile();
    profile.computerLevel = 1;
    profile.machineLevel = 2;
    profile.audioSystemLevel = 3;
    profile.petKind = 1;
    profile.petLevel = 4;
    profile.footwearLevel = 2;
    g_hintManager.AddHint(HintDesc{});
    g_orderList.HoldArrivals(true);
    g_orderList.HoldTimers(true);
    g_orderList.GetSaleBadge().kind = 5;
    g_orderList.GetSaleBadge().count = 2;
    g_machine.SetDisabled(true);
    g_instrumentPanel.SetAllDisabled(true);
    g_heroine.firstHandItem = ITEM_BRUSH_1;

    g_scene.ResetForLevel(2, 3, 4, 5, 1, 2, 5);

    EXPECT_EQ(g_location.GetLocation(), 2);
    EXPECT_EQ(g_location.GetDecorationLevel(), 3);
    EXPECT_EQ(g_instrumentPanel.GetLocation(), 2);
    EXPECT_EQ(g_instrumentPanel.GetComputerLevel(), 1);
    EXPECT_EQ(g_instrumentPanel.GetFoodTypes(), 4);
    EXPECT_EQ(g_instrumentPanel.GetMachineIngredients(), 5);
    EXPECT_EQ(g_instrumentPanel.GetBrushTypes(), 1);
    EXPECT_EQ(g_instrumentPanel.GetMedicTypes(), 2);
    EXPECT_FALSE(g_instrumentPanel.AreAllDisabled());
    EXPECT_EQ(g_machine.GetLevel(), 2);
    EXPECT_FALSE(g_machine.IsDisabled());
    EXPECT_EQ(g_audioSystem.GetLevel(), 3);
    EXPECT_EQ(g_pet.GetKind(), 1);
    EXPECT_EQ(g_pet.GetLevel(), 4);
    EXPECT_EQ(g_heroine.GetFootwearLevel(), 2);
    // A level start in location 2 puts her at the top of the stairs.
    EXPECT_EQ(g_heroine.position, (Vec2{690.0f, 80.0f}));
    EXPECT_EQ(g_heroine.firstHandItem, 0u);
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
    EXPECT_TRUE(g_hintManager.GetWindows().empty());
    EXPECT_FALSE(g_orderList.AreArrivalsHeld());
    EXPECT_FALSE(g_orderList.AreTimersHeld());
    EXPECT_EQ(g_orderList.GetSaleBadge().kind, -1);
    EXPECT_EQ(g_orderList.GetSaleBadge().count, 0);
}

TEST_F(SceneTest, TheHeroineStartsWhereHerLocationAndTheTrainingPutHer) {
    struct Case {
        std::int32_t location;
        bool levelStart;
        bool training;
        Vec2 position;
    };
    const Case cases[] = {
        {1, true, false, {550, 430}}, {1, false, true, {660, 200}}, {2, true, false, {690, 80}},
        {2, false, false, {430, 30}}, {3, true, true, {660, 20}},   {4, true, false, {1, 2}},
    };
    for (const Case& c : cases) {
        g_heroine.position = Vec2{1.0f, 2.0f};
        g_gameSession.SetGameMode(c.training ? MODE_GAME | MODE_TRAINING : MODE_GAME);
        g_heroine.Reset(c.location, c.levelStart);
        EXPECT_EQ(g_heroine.position, c.position) << c.location << " " << c.levelStart;
    }
}

TEST_F(SceneTest, AnObjectIsBehindTheHeroineOnlyWhileItsBottomIsAboveHerFeet) {
    struct Case {
        float bottom;
        float line;
        bool behind;
    };
    const Case cases[] = {{299.0f, 300.0f, true}, {300.0f, 300.0f, false}, {301.0f, 300.0f, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsInDepthPass(c.bottom, c.line, false), c.behind) << c.bottom;
        EXPECT_EQ(IsInDepthPass(c.bottom, c.line, true), !c.behind) << c.bottom;
    }

    // Her feet at 80 + 256 once her figure is built.
    g_heroine.BuildAnimations(1);
    g_heroine.position = Vec2{600.0f, 80.0f};
    EXPECT_FLOAT_EQ(CScene::GetDepthLine(), 336.0f);
    // A pet standing 10 pixels below her feet is still drawn behind her; at
    // 20 pixels it comes in front. The pet of location 3 stands on its stand.
    g_pet.Init(3, 0, 1);
    const float petBottom = g_pet.GetBottomEdge();
    g_heroine.position.y = petBottom - 10.0f - 256.0f;
    const float petLine = CScene::GetDepthLine() + CScene::PET_LINE_OFFSET;
    EXPECT_TRUE(g_pet.IsDrawnInPass(petLine, false));
    EXPECT_FALSE(g_pet.IsDrawnInPass(petLine, true));
    g_heroine.position.y -= 10.0f;
    const float nearerLine = CScene::GetDepthLine() + CScene::PET_LINE_OFFSET;
    EXPECT_FALSE(g_pet.IsDrawnInPass(nearerLine, false));
    EXPECT_TRUE(g_pet.IsDrawnInPass(nearerLine, true));
}

}  // namespace

// The heroine's figure: the order of her layers and carried pictures while
// she walks and serves, the mirrored walk of a second hand alone, the shadow
// of each pose, and her preview of the next footwear in the upgrade shop.
#include <gtest/gtest.h>

#include <utility>

#include "engine/platform/text_storage.h"
#include "heroine_world.h"
#include "shopfloor/item_codes.h"

namespace {

using device_test::ONE;
using heroine_test::HeroineWorldTest;

constexpr std::uint32_t SET = SAND | GREEN_GRASS;

class HeroineFigureTest : public HeroineWorldTest {
protected:
    void TakeSet() {
        g_machine.Build(1, 1);
        g_machine.Reset();
        g_machine.AcceptIngredients(SET);
        g_machine.Update(device_test::Away(), ONE, 8.0f);
        ActHere(ITEM_MACHINE | SET);
        ASSERT_EQ(g_heroine.firstHandItem, SET);
    }

    // Sets her walking by `dx`, `dy` and draws her body.
    std::vector<std::string> WalkAndDraw(float dx, float dy) {
        g_heroine.Enqueue(TaskAt({Feet().x + dx, Feet().y + dy}, ITEM_DISCARD_SPOT), ONE);
        Frame();
        device.draws.clear();
        g_heroine.RenderBody(&device, ONE);
        return DrawnLayers();
    }

    using Layers = std::vector<std::string>;
};

TEST_F(HeroineFigureTest, TheSetIsCarriedBehindHerWalkingUpAndInFrontWalkingDown) {
    TakeSet();
    EXPECT_EQ(WalkAndDraw(0, -300), (Layers{"first", "feet", "back", "arms", "body"}));
    EXPECT_EQ(g_heroine.state, CHeroine::WALK_UP);
    g_heroine.Reset(1, true);
    TakeSet();
    EXPECT_EQ(WalkAndDraw(0, 300), (Layers{"feet", "back", "arms", "body", "first"}));
    EXPECT_EQ(g_heroine.state, CHeroine::WALK_DOWN);
}

TEST_F(HeroineFigureTest, WalkingUpLeftWithTheSetDrawsTheArmsTwiceTheSecondTimeCropped) {
    TakeSet();
    EXPECT_EQ(WalkAndDraw(-200, -300), (Layers{"arms", "first", "feet", "back", "arms", "body"}));
    ASSERT_EQ(g_heroine.state, CHeroine::WALK_UP | CHeroine::WALK_LEFT);
    std::vector<backend::Rect> arms;
    for (const auto& draw : device.draws) {
        if (draw.source && draw.source->left / 10 >= 75 && draw.source->left / 10 <= 89 &&
            draw.texture ==
                Resources().Images()[static_cast<std::size_t>(Image("A_PELKA_PART_6"))].texture) {
            arms.push_back(*draw.source);
        }
    }
    ASSERT_EQ(arms.size(), 2u);
    EXPECT_EQ(arms[1].right, arms[0].right - 15);
    // The crop is set back after the draw.
    EXPECT_EQ(g_heroine.GetWalkArms().GetClip(29)->cropRight, 0);
}

TEST_F(HeroineFigureTest, ASecondHandAloneWalksWithTheMirroredStraightFrames) {
    CAquarium& aquarium = AddAquarium(Feet());
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_MEDICINE_2);
    Wish(aquarium, ITEM_FOOD_1);
    ActHere(ITEM_AQUARIUM, 0);
    Run(1.0f);
    ASSERT_EQ(g_heroine.firstHandItem, 0u);
    WalkAndDraw(0, 300);
    EXPECT_TRUE(g_heroine.GetWalkBody().IsPlaying(8));
    EXPECT_TRUE(g_heroine.GetWalkArms().IsPlaying(16));
    EXPECT_EQ(g_heroine.GetWalkBody().GetClip(8)->scaleX, -1.0f);
    EXPECT_EQ(g_heroine.GetWalkFootwear().GetCurrentClip(), 8);
}

TEST_F(HeroineFigureTest, ServingThePetDrawsBothHandsBehindHer) {
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_MEDICINE_2);
    g_heroine.state = CHeroine::STATE_SERVING_PET;
    device.draws.clear();
    g_heroine.RenderBody(&device, ONE);
    EXPECT_EQ(DrawnLayers(), (Layers{"first", "second", "feet", "main"}));
    // Standing with both hands full: both in front, the first hand first.
    g_heroine.state = CHeroine::STATE_IDLE;
    device.draws.clear();
    g_heroine.RenderBody(&device, ONE);
    EXPECT_EQ(DrawnLayers(), (Layers{"feet", "main", "first", "second"}));
}

TEST_F(HeroineFigureTest, TheShadowIsAnimatedWhileWalkingAndAStillWhileStanding) {
    device.draws.clear();
    g_heroine.RenderShadow(&device, ONE);
    ASSERT_EQ(DrawsOf("_SHADOW_PART_2").size(), 1u);
    EXPECT_EQ(DrawsOf("_SHADOW_PART_2")[0].source->top, 251);
    WalkAndDraw(0, 300);
    device.draws.clear();
    g_heroine.RenderShadow(&device, ONE);
    EXPECT_EQ(DrawnLayers(), (Layers{"shadow"}));
    EXPECT_TRUE(DrawsOf("_SHADOW_PART_2").empty());
    // Neither walking, idle nor working: nothing.
    g_heroine.state = 0;
    device.draws.clear();
    g_heroine.RenderShadow(&device, ONE);
    EXPECT_TRUE(device.draws.empty());
}

class HeroineShopTest : public HeroineWorldTest {
protected:
    // Her box is (550, 430) to (633, 686); the hover band starts at y 450.
    static constexpr Vec2 ON_HER = {590, 455};
    static constexpr Vec2 ABOVE_BAND = {590, 445};

    void Shop(Vec2 cursor, bool press = false) {
        g_heroine.UpdateShop(
            press ? device_test::PressAt(cursor.x, cursor.y) : device_test::At(cursor.x, cursor.y),
            ONE, 0.05f);
    }
    std::int32_t FootwearImage() { return g_heroine.GetStandFootwear().GetClip(0)->image; }
};

TEST_F(HeroineShopTest, HoveringPreviewsTheNextFootwearWithoutAFrameJump) {
    for (int i = 0; i < 7; ++i) {
        Shop(ABOVE_BAND);
    }
    EXPECT_FALSE(g_heroine.IsShopHovered());
    const int frame = g_heroine.GetMainLayer().GetCurrentFrame(0);
    ASSERT_GT(frame, 0);
    g_heroine.ShowFootwear(true);
    EXPECT_EQ(FootwearImage(), Image("SANDALS_2"));
    EXPECT_EQ(g_heroine.GetFootwearLevel(), 1);
    EXPECT_FLOAT_EQ(g_heroine.GetSpeed(), S2);
    EXPECT_EQ(g_heroine.GetMainLayer().GetCurrentFrame(0), frame);
    g_heroine.ShowFootwear(false);
    EXPECT_EQ(FootwearImage(), Image("SLIPPERS_2"));
    EXPECT_EQ(g_heroine.GetMainLayer().GetCurrentFrame(0), frame);

    // On and off again: preview and hint come and go.
    Shop(ON_HER);
    EXPECT_TRUE(g_heroine.IsShopHovered());
    EXPECT_EQ(FootwearImage(), Image("SANDALS_2"));
    EXPECT_NE(g_heroine.GetShopHintId(), -1);
    Shop(ABOVE_BAND);
    EXPECT_EQ(FootwearImage(), Image("SLIPPERS_2"));
    EXPECT_EQ(g_heroine.GetShopHintId(), -1);
}

TEST_F(HeroineShopTest, AClickSelectsTheFootwearAndAClickElsewhereDropsIt) {
    Shop(ON_HER);
    Shop(ON_HER, true);
    EXPECT_TRUE(g_heroine.IsPurchasePending());
    // Selected: leaving her keeps the preview.
    Shop(ABOVE_BAND);
    EXPECT_EQ(FootwearImage(), Image("SANDALS_2"));
    Shop(ABOVE_BAND, true);
    EXPECT_FALSE(g_heroine.IsPurchasePending());
    EXPECT_EQ(FootwearImage(), Image("SLIPPERS_2"));
    EXPECT_EQ(g_heroine.GetShopHintId(), -1);
}

TEST_F(HeroineShopTest, BothFootwearUpgradesAreExplained) {
    UseLanguage("English", {{"UPGRADE_FOOTWEAR_HEADER", "SHOES"},
                            {"UPGRADE_FOOTWEAR_TEXT_1", "FASTER"},
                            {"UPGRADE_FOOTWEAR_TEXT_2", "FASTEST"}});
    const std::pair<std::int32_t, const char*> cases[] = {{1, "UPGRADE_FOOTWEAR_TEXT_1"},
                                                          {2, "UPGRADE_FOOTWEAR_TEXT_2"}};
    for (const auto& [level, text] : cases) {
        SCOPED_TRACE(level);
        g_hintManager.Clear();
        g_heroine.BuildAnimations(level);
        Shop(ON_HER);
        ASSERT_TRUE(g_heroine.IsShopHovered());
        EXPECT_NE(g_heroine.GetShopHintId(), -1);
        ASSERT_TRUE(g_hintManager.IsFirstHintOpen());
        EXPECT_EQ(g_hintManager.GetWindows().front().text, TextStorage().FindIndex(text));
        Shop(ABOVE_BAND);
    }
}

TEST_F(HeroineShopTest, TheLastFootwearCannotBeHovered) {
    g_heroine.BuildAnimations(3);
    Shop(ON_HER);
    EXPECT_FALSE(g_heroine.IsShopHovered());
    EXPECT_EQ(FootwearImage(), Image("BOOTS_2"));
    EXPECT_EQ(g_heroine.GetShopHintId(), -1);
}

}  // namespace

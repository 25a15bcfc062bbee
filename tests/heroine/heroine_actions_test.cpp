// The heroine's queue: walking speeds and legs, detours around bought
// aquariums, cancelling (also while she works with nothing queued), the
// action at each station and the numbered tags.
#include <gtest/gtest.h>

#include "engine/media/popup_texts.h"
#include "heroine_world.h"
#include "shopfloor/item_codes.h"

namespace {

using device_test::ONE;
using heroine_test::HeroineWorldTest;

constexpr unsigned SAMPLE_DISCARD = 22;
constexpr unsigned SAMPLE_TAKEN = 23;
constexpr unsigned SAMPLE_REFUSED = 24;

class HeroineActionsTest : public HeroineWorldTest {};

TEST_F(HeroineActionsTest, SpeedFollowsFootwearAndTheBonusReward) {
    struct Case {
        std::int32_t level;
        bool reward;
        float speed;
    };
    for (const Case c : {Case{1, false, S1}, Case{2, false, S2}, Case{3, false, S3},
                         Case{1, true, S2}, Case{2, true, S3}, Case{3, true, S3 + S2 - S1}}) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " reward " << c.reward);
        g_gameSession.SetBonusReward(c.reward ? 1 : 0);
        g_heroine.BuildAnimations(c.level);
        EXPECT_FLOAT_EQ(g_heroine.GetSpeed(), c.speed);
        // Fifteen walking frames cover 150 pixels at any speed.
        EXPECT_FLOAT_EQ(g_heroine.GetWalkBody().GetClip(0)->frameTime, 10.0f / c.speed);
    }
    // Another level keeps the speed; without any speed the frames take 0.05 s.
    g_heroine.BuildAnimations(4);
    EXPECT_FLOAT_EQ(g_heroine.GetSpeed(), S3 + S2 - S1);
    device_test::Renew(g_heroine);
    g_heroine.BuildAnimations(0);
    EXPECT_FLOAT_EQ(g_heroine.GetWalkBody().GetClip(0)->frameTime, 0.05f);
}

TEST_F(HeroineActionsTest, ALongSidewaysLegStartsHorizontallyAndEachAxisMovesAtFullSpeed) {
    const Vec2 start = g_heroine.position;  // (550, 430)
    g_heroine.Enqueue(TaskAt({Feet().x + 300, Feet().y - 100}, ITEM_DISCARD_SPOT), ONE);
    Frame(device_test::Away(), 0.1f);
    EXPECT_EQ(g_heroine.state, CHeroine::WALK_RIGHT);
    EXPECT_FLOAT_EQ(g_heroine.position.x, start.x + 10.0f);
    EXPECT_FLOAT_EQ(g_heroine.position.y, start.y);
    EXPECT_TRUE(g_heroine.GetWalkBody().IsPlaying(2));
    // Once the way behind her is 60 % of the way left, y moves as well:
    // after 120 of the 300 pixels.
    Run(1.1f, 0.1f);
    EXPECT_FLOAT_EQ(g_heroine.position.x, start.x + 120.0f);
    EXPECT_FLOAT_EQ(g_heroine.position.y, start.y);
    Frame(device_test::Away(), 0.1f);
    EXPECT_EQ(g_heroine.state, CHeroine::WALK_RIGHT | CHeroine::WALK_UP);
    EXPECT_TRUE(g_heroine.GetWalkBody().IsPlaying(3));
    EXPECT_FLOAT_EQ(g_heroine.position.y, start.y - 10.0f);
    // She ends on the station; a task of 0 seconds ends in its arrival frame.
    Run(3.0f, 0.1f);
    EXPECT_EQ(g_heroine.position.x, start.x + 300);
    EXPECT_EQ(g_heroine.position.y, start.y - 100);
    EXPECT_TRUE(g_heroine.GetTasks().empty());
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
}

TEST_F(HeroineActionsTest, PathsGoAroundBoughtAquariumsOnly) {
    // An aquarium box squarely between her feet (591, 686) and a station 400
    // pixels to the left.
    CAquarium& aquarium = AddAquarium({0, 0});
    aquarium.shape = CPlacedRect(350.0f, 650.0f, 0, 100, 0, 80);
    const Vec2 station = {191.0f, 686.0f};

    g_heroine.Enqueue(TaskAt(station, ITEM_DISCARD_SPOT), ONE);
    const CHeroineTask& detour = g_heroine.GetTasks().back();
    const Vec2 corner = {detour.waypoint.x + 41.5f, detour.waypoint.y + 256.0f};
    // The first leg ends at the box's corner, the second at the station.
    EXPECT_TRUE(corner.x == 350.0f || corner.x == 450.0f) << corner.x;
    EXPECT_TRUE(corner.y <= 650.0f || corner.y >= 730.0f) << corner.y;
    ASSERT_FALSE(detour.path.empty());
    EXPECT_LE(detour.path.size(), 16u);
    EXPECT_EQ(detour.path.back().x, station.x - 41.5f);

    // Not bought: the straight walk.
    device_test::Renew(g_heroine);
    g_heroine.BuildAnimations(1);
    g_heroine.Reset(1, true);
    aquarium.SetLevel(0);
    g_heroine.Enqueue(TaskAt(station, ITEM_DISCARD_SPOT), ONE);
    EXPECT_TRUE(g_heroine.GetTasks().back().path.empty());
    EXPECT_EQ(g_heroine.GetTasks().back().waypoint.x, station.x - 41.5f);
}

TEST_F(HeroineActionsTest, ARightPressCancels) {
    // Walking: the queue empties and she stops where she stands.
    g_heroine.Enqueue(TaskAt({Feet().x + 300, Feet().y}, ITEM_DISCARD_SPOT), ONE);
    g_heroine.Enqueue(TaskAt({Feet().x, Feet().y + 50}, ITEM_DISCARD_SPOT), ONE);
    Frame();
    const Vec2 stopped = g_heroine.position;
    Frame(RightPress());
    EXPECT_TRUE(g_heroine.GetTasks().empty());
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
    EXPECT_EQ(g_heroine.position.x, stopped.x);
    EXPECT_TRUE(g_heroine.GetMainLayer().IsPlaying(0));

    // Working: only the current task stays, 0.1 s longer.
    CAquarium& aquarium = AddAquarium(Feet());
    Wish(aquarium, ITEM_BRUSH_1);
    ActHere(ITEM_BRUSH_1);
    g_heroine.Enqueue(TaskAt(Feet(), ITEM_AQUARIUM, 0), ONE);
    g_heroine.Enqueue(TaskAt(Feet(), ITEM_DISCARD_SPOT), ONE);
    Frame();
    ASSERT_EQ(g_heroine.state, CHeroine::STATE_LONG_WORK);
    const float stay = g_heroine.GetTasks().front().seconds;
    Frame(RightPress(), 0.0f);
    ASSERT_EQ(g_heroine.GetTasks().size(), 1u);
    EXPECT_FLOAT_EQ(g_heroine.GetTasks().front().seconds, stay + 0.1f);
}

TEST_F(HeroineActionsTest, ARightPressWhileWorkingWithNothingQueuedEmptiesNothing) {
    // The 2 s stay ends while her work clip still plays (with 0.03 s frames
    // each 0.05 s picture lasts two of them, 0.06 s), so she stays working
    // with an empty queue.
    CAquarium& aquarium = AddAquarium(Feet());
    Wish(aquarium, ITEM_BRUSH_1);
    ActHere(ITEM_BRUSH_1);
    ActHere(ITEM_AQUARIUM, 0);
    ASSERT_EQ(g_heroine.state, CHeroine::STATE_LONG_WORK);
    while (!g_heroine.GetTasks().empty()) {
        Frame(device_test::Away(), 0.03f);
    }
    ASSERT_TRUE(g_heroine.IsWorking());
    Frame(RightPress(), 0.03f);
    EXPECT_TRUE(g_heroine.GetTasks().empty());
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
    // The next task is walked to normally.
    g_heroine.Enqueue(TaskAt({Feet().x, Feet().y + 100}, ITEM_DISCARD_SPOT), ONE);
    Frame();
    EXPECT_EQ(g_heroine.state, CHeroine::WALK_DOWN);
}

TEST_F(HeroineActionsTest, OnePressOverABodyAndItsLampQueuesTwoTasks) {
    CAquarium& aquarium = AddAquarium({300, 600});
    aquarium.GetBody().hovered = true;
    aquarium.GetLampSwitch().hovered = true;
    aquarium.bodyTagPoint = {280, 480};
    aquarium.lampTagPoint = {330, 440};
    Frame(device_test::PressAt(0, 0));
    ASSERT_EQ(g_heroine.GetTasks().size(), 2u);
    EXPECT_EQ(g_heroine.GetTasks()[0].code, static_cast<std::uint32_t>(ITEM_AQUARIUM));
    EXPECT_EQ(g_heroine.GetTasks()[1].code, static_cast<std::uint32_t>(ITEM_LAMP_SWITCH));
    EXPECT_EQ(g_heroine.GetTasks()[1].aquariumIndex, 0);
    EXPECT_EQ(g_heroine.GetTasks()[1].target.x, 300 - 41.5f);
    EXPECT_EQ(g_heroine.GetTasks()[1].target.y, 600 - 256.0f);
}

TEST_F(HeroineActionsTest, InstrumentClicksQueueToolsAndSelectIngredients) {
    // Location 1: sand at (600, 60), the computer at (350, 170).
    constexpr Vec2 OVER_SAND = {600, 60};
    constexpr Vec2 OVER_COMPUTER = {350, 170};
    g_instrumentPanel.SetKnownItemCounts(2, 4, 0, 0);
    g_instrumentPanel.Build(1, 1, 2, 4, 0, 0);
    const auto click = [](Vec2 at) {
        g_instrumentPanel.Update(device_test::At(at.x, at.y), ONE, 0.0f);
        g_heroine.Update(device_test::PressAt(at.x, at.y), ONE, 0.0f);
    };
    click(OVER_SAND);
    EXPECT_TRUE(g_heroine.GetTasks().empty());
    EXPECT_EQ(g_instrumentPanel.GetSelectedKinds(), static_cast<std::uint32_t>(SAND));
    // In training a repeated click on the last queued tool is ignored; after
    // another task it queues again.
    g_gameSession.SetGameMode(MODE_GAME | MODE_TRAINING);
    click(OVER_COMPUTER);
    click(OVER_COMPUTER);
    ASSERT_EQ(g_heroine.GetTasks().size(), 1u);
    EXPECT_EQ(g_heroine.GetTasks()[0].code, static_cast<std::uint32_t>(ITEM_COMPUTER));
    g_heroine.Enqueue(TaskAt(Feet(), ITEM_DISCARD_SPOT), ONE);
    click(OVER_COMPUTER);
    EXPECT_EQ(g_heroine.GetTasks().size(), 3u);
    // Outside training every click queues.
    g_gameSession.SetGameMode(MODE_GAME);
    click(OVER_COMPUTER);
    EXPECT_EQ(g_heroine.GetTasks().size(), 4u);
}

TEST_F(HeroineActionsTest, TheMachineTakesTheSelectionAndTheAudioSystemStartsWhateverSheHolds) {
    g_instrumentPanel.SetKnownItemCounts(2, 4, 0, 0);
    g_instrumentPanel.Build(1, 1, 2, 4, 0, 0);
    g_machine.Build(1, 1);
    g_machine.Reset();
    g_audioSystem.Setup(1, 1);
    for (const Vec2 at : {Vec2{600, 60}, Vec2{600, 110}}) {  // sand, green grass
        g_instrumentPanel.Update(device_test::At(at.x, at.y), ONE, 0.0f);
        g_instrumentPanel.ToggleSelection();
    }
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_MACHINE);
    EXPECT_TRUE(g_machine.IsWorking());
    EXPECT_EQ(g_machine.GetCurrentSet(), static_cast<std::uint32_t>(SAND | GREEN_GRASS));
    ActHere(ITEM_AUDIO_SYSTEM);
    EXPECT_TRUE(g_audioSystem.IsWorking());
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(ITEM_FOOD_1));
}

TEST_F(HeroineActionsTest, PickUpsFillTheFirstHandFirstAndRefuseAThirdItem) {
    ActHere(ITEM_FOOD_1);
    EXPECT_EQ(Plays(SAMPLE_TAKEN), 1);
    ActHere(ITEM_MEDICINE_1);
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(ITEM_FOOD_1));
    EXPECT_EQ(g_heroine.secondHandItem, static_cast<std::uint32_t>(ITEM_MEDICINE_1));
    ActHere(ITEM_FOOD_2);
    EXPECT_EQ(Plays(SAMPLE_REFUSED), 1);
    EXPECT_EQ(Plays(SAMPLE_TAKEN), 2);
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(ITEM_FOOD_1));
}

TEST_F(HeroineActionsTest, AVitaminIsTakenOnlyOnceItsChargeHasRunOut) {
    g_instrumentPanel.Build(1, 1, 6, 4, 1, 1);
    ActHere(ITEM_VITAMIN_GROWTH);
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(ITEM_VITAMIN_GROWTH));
    EXPECT_FLOAT_EQ(g_instrumentPanel.GetChargeLeft(ITEM_VITAMIN_GROWTH), 20.0f);
    ActHere(ITEM_VITAMIN_GROWTH);
    EXPECT_EQ(Plays(SAMPLE_TAKEN), 2);
    EXPECT_EQ(g_heroine.secondHandItem, 0u);
}

TEST_F(HeroineActionsTest, TheDiscardSpotFinesTwentyPerFullHand) {
    ActHere(ITEM_DISCARD_SPOT);
    EXPECT_EQ(Plays(SAMPLE_DISCARD), 0);
    EXPECT_EQ(Cash(), 0);
    EXPECT_TRUE(PopupTexts::Instance().GetTexts().empty());
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_BRUSH_2);
    ActHere(ITEM_DISCARD_SPOT);
    EXPECT_EQ(Plays(SAMPLE_DISCARD), 1);
    EXPECT_EQ(Cash(), -40);
    ASSERT_EQ(PopupTexts::Instance().GetTexts().size(), 1u);
    EXPECT_EQ(g_heroine.firstHandItem, 0u);
    EXPECT_EQ(g_heroine.secondHandItem, 0u);
}

TEST_F(HeroineActionsTest, EachFullHandIsFinedOnItsOwn) {
    struct Case {
        std::uint32_t first;
        std::uint32_t second;
        std::int32_t fine;
    };
    const Case cases[] = {
        {ITEM_FOOD_1, 0, 20},
        {0, ITEM_BRUSH_2, 20},
        {ITEM_FOOD_1, ITEM_BRUSH_2, 40},
    };
    for (const Case& c : cases) {
        g_heroine.firstHandItem = c.first;
        g_heroine.secondHandItem = c.second;
        const std::int32_t before = Cash();
        ActHere(ITEM_DISCARD_SPOT);
        EXPECT_EQ(before - Cash(), c.fine) << std::hex << c.first << " " << c.second;
    }
}

TEST_F(HeroineActionsTest, TakingTheFinishedSetNeedsEmptyHandsAndASet) {
    g_machine.Build(1, 1);
    g_machine.Reset();
    // The set is gone (taken by an earlier task, or not made yet): refused,
    // hands unchanged.
    ActHere(ITEM_MACHINE | SAND | GREEN_GRASS);
    EXPECT_EQ(Plays(SAMPLE_REFUSED), 1);
    EXPECT_EQ(Plays(SAMPLE_TAKEN), 0);
    EXPECT_EQ(g_heroine.firstHandItem, 0u);
    EXPECT_EQ(g_heroine.GetFirstHandPicture().GetSprite(0, 0).image, -1);

    g_machine.AcceptIngredients(SAND | GREEN_GRASS);
    g_machine.Update(device_test::Away(), ONE, 8.0f);
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_MACHINE | SAND | GREEN_GRASS);
    EXPECT_EQ(Plays(SAMPLE_REFUSED), 2);
    ActHere(ITEM_DISCARD_SPOT);
    ActHere(ITEM_MACHINE | SAND | GREEN_GRASS);
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(SAND | GREEN_GRASS));
    EXPECT_EQ(g_heroine.secondHandItem, g_heroine.firstHandItem);
    EXPECT_NE(g_heroine.GetFirstHandPicture().GetSprite(0, 0).image, -1);
}

TEST_F(HeroineActionsTest, AquariumDeliveriesSetTheWorkAndTheStay) {
    struct Case {
        const char* name;
        std::uint32_t first;   // picked up first
        std::uint32_t second;  // then, 0 for none
        std::uint32_t wish;
        std::int32_t state;
        float stay;
        unsigned clip;
        std::uint32_t firstLeft;
        std::uint32_t secondLeft;
    };
    const Case cases[] = {
        {"food, second hand empty", ITEM_FOOD_1, 0, ITEM_FOOD_1, CHeroine::STATE_SHORT_WORK, 1.0f,
         5, 0, 0},
        {"food, second hand full", ITEM_FOOD_1, ITEM_MEDICINE_2, ITEM_FOOD_1,
         CHeroine::STATE_SHORT_WORK, 1.0f, 6, 0, ITEM_MEDICINE_2},
        {"second hand's medicine", ITEM_FOOD_1, ITEM_MEDICINE_2, ITEM_MEDICINE_2,
         CHeroine::STATE_SHORT_WORK, 1.0f, 8, ITEM_FOOD_1, 0},
        {"second hand's brush", ITEM_FOOD_1, ITEM_BRUSH_2, ITEM_BRUSH_2, CHeroine::STATE_LONG_WORK,
         2.0f, 13, ITEM_FOOD_1, 0},
        {"food with a vitamin", ITEM_FOOD_2, ITEM_VITAMIN_COST, ITEM_FOOD_2,
         CHeroine::STATE_SHORT_WORK, 1.0f, 5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_heroine.Reset(1, true);
        device_test::Renew(g_instrumentPanel);
        CAquarium& aquarium = AddAquarium(Feet());
        const std::int32_t slot = g_aquariumSet.GetCount() - 1;
        ActHere(c.first);
        if (c.second != 0) {
            ActHere(c.second);
        }
        Wish(aquarium, c.wish);
        g_heroine.Enqueue(TaskAt(Feet(), ITEM_AQUARIUM, slot), ONE);
        Frame(device_test::Away(), 0.0f);
        EXPECT_EQ(g_heroine.state, c.state);
        EXPECT_FLOAT_EQ(g_heroine.GetTasks().front().seconds, c.stay);
        EXPECT_EQ(g_heroine.GetMainLayer().GetCurrentClip(), static_cast<int>(c.clip));
        EXPECT_EQ(g_heroine.firstHandItem, c.firstLeft);
        EXPECT_EQ(g_heroine.secondHandItem, c.secondLeft);
    }
}

TEST_F(HeroineActionsTest, AnUnwantedDeliveryIsRefusedAndNoWishIsSilent) {
    CAquarium& aquarium = AddAquarium(Feet());
    ActHere(ITEM_FOOD_1);
    ActHere(ITEM_AQUARIUM, 0);
    EXPECT_EQ(Plays(SAMPLE_REFUSED), 0);
    Wish(aquarium, ITEM_FOOD_3);
    ActHere(ITEM_AQUARIUM, 0);
    EXPECT_EQ(Plays(SAMPLE_REFUSED), 1);
    EXPECT_EQ(g_heroine.firstHandItem, static_cast<std::uint32_t>(ITEM_FOOD_1));
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
}

TEST_F(HeroineActionsTest, TheLevelCompletePoseNeedsEmptyHands) {
    g_heroine.PlayLevelCompletePose();
    EXPECT_TRUE(g_heroine.GetMainLayer().IsPlaying(14));
    EXPECT_TRUE(g_heroine.GetStandFootwear().IsPlaying(0));
    EXPECT_EQ(g_heroine.state, CHeroine::STATE_IDLE);
    ActHere(ITEM_FOOD_1);
    g_heroine.PlayLevelCompletePose();
    EXPECT_FALSE(g_heroine.GetMainLayer().IsPlaying(14));
}

TEST_F(HeroineActionsTest, TagsCountTheQueueAndSortAroundHerFeet) {
    // Her feet line is 686; an aquarium tag sorts 158 below its point.
    g_heroine.Enqueue(TaskAt({591, 500}, ITEM_FOOD_1), ONE);       // depth 400 + 50
    g_heroine.Enqueue(TaskAt({591, 700}, ITEM_AQUARIUM, 0), ONE);  // depth 600 + 158
    g_heroine.Enqueue(TaskAt({591, 600}, ITEM_FOOD_2), ONE);       // depth 500 + 50
    const auto tagsDrawn = [this](bool inFront) {
        device.draws.clear();
        g_heroine.RenderTaskTags(&device, ONE, inFront);
        std::vector<std::string> texts;
        for (const auto& drawn : DrawnTexts()) {
            texts.emplace_back(drawn.text.begin(), drawn.text.end());
        }
        return texts;
    };
    EXPECT_EQ(tagsDrawn(false), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(tagsDrawn(true), (std::vector<std::string>{"2"}));
    EXPECT_EQ(DrawsOf("ITEMS").size(), 1u);
}

TEST_F(HeroineActionsTest, WhileSheWorksTheTagsBehindCountFromOne) {
    CAquarium& aquarium = AddAquarium(Feet());
    Wish(aquarium, ITEM_FOOD_1);
    ActHere(ITEM_FOOD_1);
    g_heroine.Enqueue(TaskAt(Feet(), ITEM_AQUARIUM, 0), ONE);
    g_heroine.Enqueue(TaskAt({591, 500}, ITEM_FOOD_2), ONE);
    g_heroine.Enqueue(TaskAt({591, 520}, ITEM_FOOD_3), ONE);
    Frame();
    ASSERT_EQ(g_heroine.state, CHeroine::STATE_SHORT_WORK);
    ASSERT_FALSE(g_heroine.GetTasks().front().tagVisible);
    device.draws.clear();
    g_heroine.RenderTaskTags(&device, ONE, false);
    std::vector<std::u16string> texts;
    for (const auto& drawn : DrawnTexts()) {
        texts.push_back(drawn.text);
    }
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"1", u"2"}));
}

}  // namespace

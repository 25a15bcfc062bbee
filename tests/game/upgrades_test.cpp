// Upgrade prices, levels and the purchase protocol of the shop, and the small
// services the shop floor calls on the session.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "engine/framework/app_test_support.h"
#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "game/game_session.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"

namespace {

// Every price distinct: hundreds by upgrade, units by level.
constexpr const char* UPGRADES =
    "<Upgrades>"
    "<Footwear cost_1=\"101\" cost_2=\"102\" cost_3=\"103\" speed_1=\"1\"/>"
    "<PetAquarium cost_1=\"201\" cost_2=\"202\" cost_3=\"203\" cost_4=\"204\" cost_5=\"205\" "
    "cost_6=\"206\"/>"
    "<Aquarium cost_1=\"301\" cost_2=\"302\" cost_3=\"303\" cost_4=\"304\"/>"
    "<Machine cost_1=\"401\" cost_2=\"402\" cost_3=\"403\"/>"
    "<AudioSystem cost_1=\"501\" cost_2=\"502\" cost_3=\"503\"/>"
    "<Computer cost=\"600\"/>"
    "<VitaminCost cost=\"700\" max=\"2\"/>"
    "<VitaminGrowth cost=\"800\" max=\"3\"/>"
    "</Upgrades>";

// The five slot levels as "1 0 0 1 1".
std::string SlotLevels(const CProfile& profile) {
    std::string text;
    for (const std::int32_t level : profile.slotLevels) {
        text += (text.empty() ? "" : " ") + std::to_string(level);
    }
    return text;
}

class UpgradesTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        folder = std::make_unique<app_test::CScopedWorkingFolder>();
        folder->WriteData("upgrades.xml", UPGRADES);
        ASSERT_TRUE(session.LoadUpgrades());
        SetAquariums(5);
    }
    void TearDown() override { g_aquariumSet = CAquariumSet{}; }

    static void SetAquariums(int count) {
        g_aquariumSet = CAquariumSet{};
        for (int i = 0; i < count; ++i) {
            g_aquariumSet.AddAquarium(0, 0, 0, 0, 0.0f, 0.0f, 1.0f, 1.0f, false);
        }
    }
    CProfile& Player() {
        if (session.GetCurrentProfile() == nullptr) {
            session.AddProfile(u"Ann");
        }
        return *session.GetCurrentProfile();
    }

    std::unique_ptr<app_test::CScopedWorkingFolder> folder;
    CGameSession session;
};

TEST_F(UpgradesTest, EveryPriceAndMaximumByCodeAndLevel) {
    struct Case {
        std::uint32_t code;
        std::int32_t level;
        std::int32_t price;
        bool maxed;
    };
    const Case cases[] = {
        {ITEM_FOOTWEAR, 1, 102, false},     {ITEM_FOOTWEAR, 2, 103, false},
        {ITEM_FOOTWEAR, 3, 0, true},        {ITEM_FOOTWEAR, 0, 0, false},
        {ITEM_PET, 1, 202, false},          {ITEM_PET, 3, 204, false},
        {ITEM_PET, 5, 206, false},          {ITEM_PET, 6, 0, true},
        {ITEM_AQUARIUM, 0, 301, false},     {ITEM_AQUARIUM, 1, 302, false},
        {ITEM_AQUARIUM, 3, 304, false},     {ITEM_AQUARIUM, 4, 0, true},
        {ITEM_MACHINE, 1, 402, false},      {ITEM_MACHINE, 2, 403, false},
        {ITEM_MACHINE, 3, 0, true},         {ITEM_AUDIO_SYSTEM, 0, 501, false},
        {ITEM_AUDIO_SYSTEM, 2, 503, false}, {ITEM_AUDIO_SYSTEM, 3, 0, true},
        {ITEM_COMPUTER, 0, 600, false},     {ITEM_COMPUTER, 1, 0, true},
        {ITEM_VITAMIN_COST, 0, 700, false}, {ITEM_VITAMIN_COST, 1, 700, false},
        {ITEM_VITAMIN_COST, 2, 0, true},    {ITEM_VITAMIN_GROWTH, 2, 800, false},
        {ITEM_VITAMIN_GROWTH, 3, 0, true},  {ITEM_VITAMIN_GROWTH, 4, 0, true},
    };
    Player().savings = 100000;
    for (const Case& c : cases) {
        const std::int32_t slot = c.code == ITEM_AQUARIUM ? 2 : -1;
        session.SetUpgradeLevel(c.code, c.level, slot);
        ASSERT_EQ(session.GetUpgradeLevel(c.code, slot), c.level) << std::hex << c.code;
        EXPECT_EQ(session.GetUpgradeCost(c.code, slot), c.price)
            << std::hex << c.code << std::dec << " level " << c.level;
        EXPECT_EQ(session.IsUpgradeMaxed(c.code, slot), c.maxed)
            << std::hex << c.code << std::dec << " level " << c.level;
        EXPECT_EQ(session.TryPurchase(false, c.code, slot), c.price > 0);
    }
    // A code that is no upgrade.
    EXPECT_EQ(session.GetUpgradeLevel(ITEM_FOOD_1, -1), 0);
    EXPECT_EQ(session.GetUpgradeCost(ITEM_FOOD_1, -1), 0);
    EXPECT_FALSE(session.IsUpgradeMaxed(ITEM_FOOD_1, -1));
}

TEST_F(UpgradesTest, OnlyBuiltSlotsHaveLevelsAndPrices) {
    CProfile& player = Player();
    player.savings = 100000;
    EXPECT_EQ(session.GetUpgradeLevel(ITEM_AQUARIUM, 0), 1);
    EXPECT_EQ(session.GetUpgradeLevel(ITEM_AQUARIUM, 4), 1);
    EXPECT_EQ(session.GetUpgradeCost(ITEM_AQUARIUM, 1), 301);

    // Six aquariums are still five slots; none of these indexes is a slot.
    SetAquariums(6);
    for (const std::int32_t index : {-1, 5, 6, -100}) {
        EXPECT_EQ(session.GetUpgradeLevel(ITEM_AQUARIUM, index), 0) << index;
        EXPECT_EQ(session.GetUpgradeCost(ITEM_AQUARIUM, index), 0) << index;
        EXPECT_FALSE(session.IsUpgradeMaxed(ITEM_AQUARIUM, index)) << index;
        EXPECT_FALSE(session.TryPurchase(true, ITEM_AQUARIUM, index)) << index;
        session.SetUpgradeLevel(ITEM_AQUARIUM, 4, index);
    }
    EXPECT_EQ(session.GetPendingCode(), 0u);
    EXPECT_EQ(SlotLevels(player), "1 0 0 1 1");

    // An empty shop floor has no slot at all.
    SetAquariums(0);
    for (const std::int32_t index : {0, 1, 4}) {
        EXPECT_EQ(session.GetUpgradeLevel(ITEM_AQUARIUM, index), 0) << index;
        EXPECT_EQ(session.GetUpgradeCost(ITEM_AQUARIUM, index), 0) << index;
        EXPECT_FALSE(session.IsUpgradeMaxed(ITEM_AQUARIUM, index)) << index;
        session.SetUpgradeLevel(ITEM_AQUARIUM, 3, index);
    }
    EXPECT_EQ(SlotLevels(player), "1 0 0 1 1");

    // Two aquariums: slots 0 and 1 only.
    SetAquariums(2);
    session.SetUpgradeLevel(ITEM_AQUARIUM, 3, 1);
    session.SetUpgradeLevel(ITEM_AQUARIUM, 3, 2);
    EXPECT_EQ(SlotLevels(player), "1 3 0 1 1");
}

TEST_F(UpgradesTest, WithoutAProfileNothingIsForSale) {
    EXPECT_EQ(session.GetUpgradeLevel(ITEM_FOOTWEAR, -1), 0);
    EXPECT_EQ(session.GetUpgradeCost(ITEM_COMPUTER, -1), 0);
    EXPECT_FALSE(session.IsUpgradeMaxed(ITEM_FOOTWEAR, -1));
    EXPECT_FALSE(session.TryPurchase(true, ITEM_COMPUTER, -1));
    session.ApplyPurchase();
    EXPECT_EQ(session.GetPendingCode(), 0u);
}

TEST_F(UpgradesTest, APurchaseCostingAllSavingsSucceedsAndRaisesTheLevel) {
    CProfile& player = Player();
    player.savings = 402;
    EXPECT_FALSE(session.TryPurchase(true, ITEM_COMPUTER, -1)) << "600 is too much";
    EXPECT_EQ(session.GetPendingCode(), 0u);
    ASSERT_TRUE(session.TryPurchase(true, ITEM_MACHINE, -1));
    EXPECT_EQ(session.GetPendingCode(), ITEM_MACHINE);
    EXPECT_EQ(session.GetPendingPrice(), 402);
    EXPECT_EQ(session.GetPendingIndex(), -1);

    session.ApplyPurchase();
    EXPECT_EQ(player.savings, 0);
    EXPECT_EQ(player.machineLevel, 2);
    EXPECT_EQ(session.GetPendingCode(), 0u);
    EXPECT_EQ(session.GetPendingPrice(), 0);
}

TEST_F(UpgradesTest, AnAquariumPurchaseRaisesItsSlotAndTheAquarium) {
    CProfile& player = Player();
    player.savings = 1000;
    ASSERT_TRUE(session.TryPurchase(true, ITEM_AQUARIUM, 2));
    session.ApplyPurchase();
    EXPECT_EQ(player.slotLevels[2], 1);
    EXPECT_EQ(g_aquariumSet.GetAquarium(2)->GetLevel(), 1);
    EXPECT_EQ(player.savings, 699);

    // The shop floor was rebuilt smaller meanwhile: nothing is paid.
    ASSERT_TRUE(session.TryPurchase(true, ITEM_AQUARIUM, 3));
    SetAquariums(2);
    session.ApplyPurchase();
    EXPECT_EQ(player.savings, 699);
    EXPECT_EQ(player.slotLevels[3], 1);
    EXPECT_EQ(session.GetPendingCode(), 0u);
}

TEST_F(UpgradesTest, TryWithoutRememberAndCancelKeepOrClearThePending) {
    Player().savings = 5000;
    ASSERT_TRUE(session.TryPurchase(true, ITEM_AQUARIUM, 1));
    EXPECT_TRUE(session.TryPurchase(false, ITEM_COMPUTER, -1));
    EXPECT_EQ(session.GetPendingCode(), ITEM_AQUARIUM);
    EXPECT_EQ(session.GetPendingIndex(), 1);

    session.CancelPurchase(ITEM_COMPUTER, -1);
    session.CancelPurchase(ITEM_AQUARIUM, 2);
    EXPECT_EQ(session.GetPendingCode(), ITEM_AQUARIUM) << "another code or slot";
    session.CancelPurchase(ITEM_AQUARIUM, 1);
    EXPECT_EQ(session.GetPendingCode(), 0u);
    EXPECT_EQ(session.GetPendingIndex(), -1);

    ASSERT_TRUE(session.TryPurchase(true, ITEM_PET, -1));
    session.CancelPurchase(ITEM_PET, -1);
    EXPECT_EQ(session.GetPendingCode(), 0u);
    // A refused try leaves the pending purchase alone.
    ASSERT_TRUE(session.TryPurchase(true, ITEM_PET, -1));
    session.SetUpgradeLevel(ITEM_COMPUTER, 1, -1);
    EXPECT_FALSE(session.TryPurchase(true, ITEM_COMPUTER, -1));
    EXPECT_EQ(session.GetPendingCode(), ITEM_PET);
}

TEST_F(UpgradesTest, AVitaminStaysOnOfferWhileTheNextIsAffordable) {
    CProfile& player = Player();
    player.savings = 2100;
    ASSERT_TRUE(session.TryPurchase(true, ITEM_VITAMIN_COST, -1));
    session.ApplyPurchase();
    EXPECT_EQ(player.costVitaminLevel, 1);
    EXPECT_EQ(player.savings, 1400);
    EXPECT_EQ(session.GetPendingCode(), ITEM_VITAMIN_COST) << "BUY can be clicked again";
    EXPECT_EQ(session.GetPendingPrice(), 700);

    session.ApplyPurchase();
    EXPECT_EQ(player.costVitaminLevel, 2);
    EXPECT_EQ(player.savings, 700);
    EXPECT_EQ(session.GetPendingCode(), 0u) << "the max is reached";
    session.ApplyPurchase();
    EXPECT_EQ(player.savings, 700) << "nothing pending, nothing paid";
    EXPECT_EQ(player.costVitaminLevel, 2);

    // Savings for exactly one: the offer ends with it.
    ASSERT_FALSE(session.TryPurchase(true, ITEM_VITAMIN_GROWTH, -1));
    player.savings = 800;
    ASSERT_TRUE(session.TryPurchase(true, ITEM_VITAMIN_GROWTH, -1));
    session.ApplyPurchase();
    EXPECT_EQ(player.growthVitaminLevel, 1);
    EXPECT_EQ(player.savings, 0);
    EXPECT_EQ(session.GetPendingCode(), 0u);
}

TEST_F(UpgradesTest, WithoutUpgradesXmlEverythingCostsNothing) {
    folder.reset();
    folder = std::make_unique<app_test::CScopedWorkingFolder>();
    HtmlLog().Start();
    EXPECT_FALSE(session.LoadUpgrades());
    Player().savings = 1000;
    EXPECT_EQ(session.GetUpgradeCost(ITEM_FOOTWEAR, -1), 0);
    EXPECT_FALSE(session.TryPurchase(true, ITEM_FOOTWEAR, -1));
    EXPECT_NE(app_test::ReadFile(HtmlLog().GetLogPath()).find("Couldn't open upgrades data"),
              std::string::npos);
}

TEST_F(UpgradesTest, ShopFloorServicesActOnTheCurrentProfileOnly) {
    EXPECT_EQ(session.AddCash(10), nullptr);
    EXPECT_EQ(session.AddToTotals(10), nullptr);
    EXPECT_EQ(session.SetBonusReward(true), nullptr);
    EXPECT_FALSE(session.HasBonusReward());
    EXPECT_FALSE(session.HasGameInProgress());
    EXPECT_EQ(session.GetPetKind(), 0);

    CProfile& player = Player();
    player.levelCash = 40;
    player.shownCash = 40.0f;
    EXPECT_EQ(session.AddCash(-100), &player);
    EXPECT_EQ(player.levelCash, -60) << "cash is not clamped";
    EXPECT_FLOAT_EQ(session.GetShownCashSpeed(), -200.0f);
    player.shownCash = -60.0f;
    session.AddCash(50);
    EXPECT_FLOAT_EQ(session.GetShownCashSpeed(), 100.0f) << "half a second to catch up";

    session.AddToTotals(25);
    EXPECT_EQ(player.savings, 25);
    EXPECT_EQ(player.totalScore, 25);
    session.AddToCounter(3);
    EXPECT_EQ(player.secondCounter, 3);
    EXPECT_FLOAT_EQ(session.GetShownCounterSpeed(), 6.0f);
    session.AddTry();
    EXPECT_EQ(player.tries, 4);

    session.SetBonusReward(true);
    EXPECT_TRUE(session.HasBonusReward());
    session.SetBonusReward(false);
    EXPECT_FALSE(session.HasBonusReward());
    player.petKind = 1;
    EXPECT_EQ(session.GetPetKind(), 1);
    player.gameStarted = 1;
    EXPECT_TRUE(session.HasGameInProgress());
}

TEST_F(UpgradesTest, SumsOnTheProfileStopAtTheEndsOfTheirRange) {
    constexpr std::int32_t MAX = INT32_MAX;
    constexpr std::int32_t MIN = INT32_MIN;
    struct Case {
        const char* name;
        CProfile* (CGameSession::*add)(std::int32_t);
        std::int32_t CProfile::*word;
        std::int32_t before;
        std::int32_t amount;
        std::int32_t after;
    };
    const Case cases[] = {
        {"savings", &CGameSession::AddToTotals, &CProfile::savings, 2147483600, 220, MAX},
        {"total score", &CGameSession::AddToTotals, &CProfile::totalScore, 2147483600, 220, MAX},
        {"total score, lowered", &CGameSession::AddToTotals, &CProfile::totalScore, MIN + 5, -10,
         MIN},
        {"total score, just fits", &CGameSession::AddToTotals, &CProfile::totalScore, MAX - 220,
         220, MAX},
        {"cash", &CGameSession::AddCash, &CProfile::levelCash, MAX - 3, 10, MAX},
        {"cash, fined", &CGameSession::AddCash, &CProfile::levelCash, MIN + 3, -10, MIN},
        {"second counter", &CGameSession::AddToCounter, &CProfile::secondCounter, MAX, 1, MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Player().*c.word = c.before;
        (session.*c.add)(c.amount);
        EXPECT_EQ(Player().*c.word, c.after);
    }
    Player().tries = MAX;
    session.AddTry();
    EXPECT_EQ(Player().tries, MAX);
}

// The session's sounds over a fake device: samples and streams stand in the
// resource lists as the loading puts them there.
class SessionSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        // An application run before leaves its records behind.
        Resources().Samples().clear();
        Resources().Streams().clear();
        ASSERT_TRUE(Sound().Init());
        for (int i = 0; i < 31; ++i) {
            SampleRecord record;
            std::tie(record.sample, record.channel) = Sound().LoadSample("s" + std::to_string(i));
            Resources().Samples().push_back(record);
        }
        for (int i = 0; i < 6; ++i) {
            StreamRecord record;
            record.stream = Sound().LoadStream("m" + std::to_string(i));
            Resources().Streams().push_back(record);
        }
        ASSERT_TRUE(session.AddProfile(u"Mu"));
    }
    void TearDown() override {
        Sound().Shutdown();
        Resources().Samples().clear();
        Resources().Streams().clear();
    }

    static CResourceManager& Resources() { return ResourceManager::Instance(); }
    static CSoundManager& Sound() { return Resources().GetSoundManager(); }
    int SamplePlays(int i) { return audio.channels[Resources().Samples()[i].channel].plays; }
    int PlayingStream() {
        for (int i = 0; i < 6; ++i) {
            if (audio.channels[Resources().Streams()[i].stream].state ==
                backend::ChannelState::Playing) {
                return i;
            }
        }
        return -1;
    }

    media_test::CFakeAudio audio;
    CGameSession session;
};

TEST_F(SessionSoundTest, StoryLevelsCycleThroughFourLevelTunes) {
    const std::pair<std::int32_t, int> cases[] = {{1, 2}, {2, 3}, {3, 4}, {4, 5},
                                                  {5, 2}, {6, 3}, {45, 2}};
    for (const auto& [storyLevel, stream] : cases) {
        session.GetCurrentProfile()->storyLevel = storyLevel;
        session.PlayLevelMusic(true);
        EXPECT_EQ(PlayingStream(), stream) << storyLevel;
    }
}

TEST_F(SessionSoundTest, EveryPurchaseTryClicksAndABuyRings) {
    session.GetCurrentProfile()->savings = 0;
    EXPECT_FALSE(session.TryPurchase(true, ITEM_FOOTWEAR, -1));
    EXPECT_EQ(SamplePlays(25), 1) << "refused, still heard";
    session.SetUpgradeLevel(ITEM_MACHINE, 3, -1);
    EXPECT_FALSE(session.TryPurchase(true, ITEM_MACHINE, -1));
    EXPECT_EQ(SamplePlays(25), 2) << "at its maximum, still heard";
    EXPECT_EQ(SamplePlays(30), 0);

    session.ApplyPurchase();
    EXPECT_EQ(SamplePlays(30), 0) << "nothing pending, no ring";

    app_test::CScopedWorkingFolder folder;
    folder.WriteData("upgrades.xml", UPGRADES);
    ASSERT_TRUE(session.LoadUpgrades());
    session.GetCurrentProfile()->savings = 600;
    ASSERT_TRUE(session.TryPurchase(true, ITEM_COMPUTER, -1));
    session.ApplyPurchase();
    EXPECT_EQ(SamplePlays(30), 1);
    EXPECT_EQ(session.GetUpgradeLevel(ITEM_COMPUTER, -1), 1);
}

}  // namespace

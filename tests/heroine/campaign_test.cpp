// The whole story played by the scripted player on the shipped data: a new
// game from a new profile with no savings, through the comics, the pet
// choice and the training, every story and bonus level in turn, and between
// them the map and the upgrade shop, where the savings buy what a sensible
// player buys first. Every story level must end at or above its need goal.
// The run prints one line per story level, prefixed "[campaign]".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "game/game_session.h"
#include "game/session_test_support.h"
#include "game/shipped_screen.h"
#include "heroine/audio_system.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "heroine/scripted_player.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/pet.h"

namespace {

using scripted_player::Centre;
using scripted_player::CPlayer;

constexpr std::int32_t STORY_LEVELS = 45;
// A failed level is tried again up to this often before the run gives up.
constexpr int TRIES = 3;
// Game seconds a level may run past its own time while the last fish grow.
constexpr float OVERTIME = 300.0f;
constexpr float SCREEN_LIMIT = 60.0f;
constexpr int RENDER_EVERY = 400;

// One line of the table.
struct StoryRow {
    std::int32_t story = 0;
    std::int32_t index = 0;
    std::int32_t cash = 0;
    std::int32_t need = 0;
    std::int32_t expert = 0;
    int tries = 0;
    std::string bought;
    // The bonus level that followed, if one did.
    std::string bonus;
    // What was left after the shop that followed.
    std::int32_t savings = 0;
};

// An upgrade as the shop offers it: its code, the aquarium slot or -1.
struct Upgrade {
    std::uint32_t code;
    std::int32_t index;
};

std::string UpgradeName(Upgrade upgrade, std::int32_t level) {
    std::string name;
    switch (upgrade.code) {
        case ITEM_FOOTWEAR:
            name = "footwear";
            break;
        case ITEM_MACHINE:
            name = "machine";
            break;
        case ITEM_AUDIO_SYSTEM:
            name = "audio";
            break;
        case ITEM_COMPUTER:
            name = "computer";
            break;
        case ITEM_PET:
            name = "pet";
            break;
        default:
            name = "aquarium " + std::to_string(upgrade.index + 1);
            break;
    }
    return name + " " + std::to_string(level);
}

class CampaignTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { scripted_player::OpenShippedScreen(s_screen, "campaign"); }

    static void TearDownTestSuite() { s_screen.Close(); }

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(player.NewProfile());
        // Drawing every frame would cost minutes; one frame in 20 s of play
        // still draws every level the story passes.
        player.renderEvery = RENDER_EVERY;
    }

    void TearDown() override {
        session_test::ResetWorld();
        session_test::ResetGlobalSession();
    }

    static CProfile& Profile() { return CPlayer::Profile(); }

    // Where a click selects the upgrade in the shop; false when the shop
    // shows no such station.
    static bool StationOf(Upgrade upgrade, Vec2& at) {
        switch (upgrade.code) {
            case ITEM_FOOTWEAR: {
                const backend::Rect& box = g_heroine.box;
                at = {g_heroine.position.x + static_cast<float>(box.right - box.left) * 0.5f,
                      g_heroine.position.y + static_cast<float>(box.bottom - box.top) * 0.6f};
                return true;
            }
            case ITEM_MACHINE:
                at = Centre(g_machine.GetBody());
                return true;
            case ITEM_AUDIO_SYSTEM:
                at = Centre(g_audioSystem.GetStand(std::max(g_audioSystem.GetLevel(), 1)));
                return true;
            case ITEM_PET:
                at = Centre(g_pet.GetLevelPicture(g_pet.GetLevel()));
                return g_pet.GetLevel() >= 1;
            case ITEM_COMPUTER:
                for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
                    if (item.kind == ITEM_COMPUTER) {
                        at = Centre(item.picture);
                        return true;
                    }
                }
                return false;
            default: {
                CAquarium* aquarium = g_aquariumSet.GetAquarium(upgrade.index);
                if (aquarium != nullptr) {
                    at = Centre(aquarium->GetBody());
                }
                return aquarium != nullptr;
            }
        }
    }

    // What a sensible player wants, most wanted first: faster shoes, every
    // aquarium the level has, a faster machine, the music, the computer
    // for its orders; then the rest of the shoes and the machine, better
    // aquariums, better music and a bigger pet aquarium.
    static std::vector<Upgrade> Wishlist() {
        std::vector<Upgrade> list;
        const bool shoes = g_gameSession.GetUpgradeLevel(ITEM_FOOTWEAR, -1) < 2;
        const bool machine = g_gameSession.GetUpgradeLevel(ITEM_MACHINE, -1) < 2;
        if (shoes) {
            list.push_back({ITEM_FOOTWEAR, -1});
        }
        const std::int32_t aquariums = g_aquariumSet.GetCount();
        for (std::int32_t a = 0; a < aquariums; ++a) {
            if (g_gameSession.GetUpgradeLevel(ITEM_AQUARIUM, a) == 0) {
                list.push_back({ITEM_AQUARIUM, a});
            }
        }
        if (machine) {
            list.push_back({ITEM_MACHINE, -1});
        }
        if (g_gameSession.GetUpgradeLevel(ITEM_AUDIO_SYSTEM, -1) < 1) {
            list.push_back({ITEM_AUDIO_SYSTEM, -1});
        }
        list.push_back({ITEM_COMPUTER, -1});
        if (!shoes) {
            list.push_back({ITEM_FOOTWEAR, -1});
        }
        if (!machine) {
            list.push_back({ITEM_MACHINE, -1});
        }
        for (std::int32_t a = 0; a < aquariums; ++a) {
            list.push_back({ITEM_AQUARIUM, a});
        }
        list.push_back({ITEM_AUDIO_SYSTEM, -1});
        list.push_back({ITEM_PET, -1});
        return list;
    }

    // Selects the upgrade by a click on its station and buys it with BUY.
    bool Buy(Upgrade upgrade) {
        Vec2 at;
        if (!StationOf(upgrade, at)) {
            return false;
        }
        const std::int32_t before = g_gameSession.GetUpgradeLevel(upgrade.code, upgrade.index);
        player.ClickAt(at);
        if (g_gameSession.GetPendingCode() != upgrade.code) {
            return false;
        }
        player.Click(BTN_BUY);
        return g_gameSession.GetUpgradeLevel(upgrade.code, upgrade.index) == before + 1;
    }

    // Spends the savings down the wishlist, the first affordable upgrade at
    // a time; what it bought goes into `bought`.
    void Shop(std::string& bought) {
        std::vector<std::uint64_t> refused;
        for (bool spent = true; spent;) {
            spent = false;
            for (const Upgrade upgrade : Wishlist()) {
                const std::uint64_t key =
                    (static_cast<std::uint64_t>(upgrade.code) << 8) | (upgrade.index & 0xff);
                const std::int32_t price =
                    g_gameSession.GetUpgradeCost(upgrade.code, upgrade.index);
                if (price <= 0 || price > Profile().savings ||
                    std::find(refused.begin(), refused.end(), key) != refused.end()) {
                    continue;
                }
                if (!Buy(upgrade)) {
                    refused.push_back(key);
                    continue;
                }
                const std::int32_t level =
                    g_gameSession.GetUpgradeLevel(upgrade.code, upgrade.index);
                bought += (bought.empty() ? "" : ", ") + UpgradeName(upgrade, level);
                spent = true;
                break;
            }
        }
    }

    // The screens between two levels, as a player clicks through them,
    // until the next briefing or the end of the game.
    void ToTheNextBriefing(std::string& bought) {
        const float end = player.seconds + SCREEN_LIMIT;
        while (player.seconds < end) {
            const std::uint32_t mode = g_gameSession.GetGameMode();
            if ((mode & (MODE_BRIEFING | MODE_GAME_COMPLETED)) != 0) {
                return;
            }
            // The screens in the order the game serves them.
            if ((mode & (MODE_FADE_OUT | MODE_LEAVE_SCREEN)) != 0) {
                player.Frame();
            } else if ((mode & (MODE_COMICS_1 | MODE_COMICS_2)) != 0) {
                player.Click(BTN_NEXT);
            } else if ((mode & MODE_PET_CHOICE) != 0) {
                // The fish's gift grows the fish, which is cash sooner.
                player.Click(BTN_FISH_PERSON);
            } else if ((mode & (MODE_COMICS_3 | MODE_COMICS_4)) != 0) {
                player.Click(BTN_NEXT);
            } else if ((mode & MODE_LOAD_TEXTURES) != 0) {
                player.Frame();
            } else if ((mode & MODE_MAP) != 0) {
                player.Click(BTN_PLAY);
            } else if ((mode & MODE_SHOP) != 0) {
                Shop(bought);
                player.Click(BTN_FINISH);
            } else {
                player.Frame();
            }
        }
        FAIL() << "no briefing after the screens, mode " << std::hex << g_gameSession.GetGameMode();
    }

    // A training level is left with its SKIP button, which shows once the
    // first order is placed as the first tip asks.
    void SkipTraining() {
        const auto shown = [] {
            return g_gameSession.GetTrainingStep() >= 1 && g_gameSession.GetTipAlpha() > 0.0f;
        };
        const float end = player.seconds + SCREEN_LIMIT;
        while (!shown() && player.seconds < end) {
            if (!CPlayer::HeroineIdle() || !player.PlaceOrder()) {
                player.Frame();
            }
        }
        ASSERT_TRUE(shown()) << "training step " << g_gameSession.GetTrainingStep();
        player.Click(BTN_SKIP);
        ASSERT_TRUE(g_gameSession.HasModeBits(MODE_NEXT_LEVEL));
    }

    // OK on the level-complete overlay, or TRY_AGAIN on the failed one, until
    // the game moves on.
    void CloseTheOverlay() {
        const bool won = g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE);
        const SessionButton button = won ? BTN_OK : BTN_TRY_AGAIN;
        const std::uint32_t next = won ? MODE_NEXT_LEVEL : MODE_RETRY;
        for (int clicks = 0; clicks < 20 && !g_gameSession.HasModeBits(next); ++clicks) {
            player.Click(button);
        }
        ASSERT_TRUE(g_gameSession.HasModeBits(next)) << std::hex << g_gameSession.GetGameMode();
    }

    void PlayTheStory() {
        ASSERT_EQ(Profile().savings, 0);
        ASSERT_TRUE(g_gameSession.StartGame(true, false));
        int tries = 0;
        std::int32_t triedIndex = -1;
        while (!g_gameSession.HasModeBits(MODE_GAME_COMPLETED)) {
            std::string bought;
            ASSERT_NO_FATAL_FAILURE(ToTheNextBriefing(bought));
            // The game's end starts the profile over; the last savings stay.
            if (!rows.empty() && !g_gameSession.HasModeBits(MODE_GAME_COMPLETED)) {
                rows.back().bought += bought;
                rows.back().savings = Profile().savings;
            }
            if (g_gameSession.HasModeBits(MODE_GAME_COMPLETED)) {
                break;
            }
            ASSERT_NO_FATAL_FAILURE(player.PassBriefing());
            const CLevelRecord& level = g_gameSession.GetLevel();
            const std::int32_t index = Profile().levelIndex;
            if (g_gameSession.HasModeBits(MODE_TRAINING)) {
                ASSERT_NO_FATAL_FAILURE(SkipTraining());
                continue;
            }
            tries = index == triedIndex ? tries + 1 : 1;
            triedIndex = index;
            const float limit = level.need_time * 60.0f + OVERTIME;
            if (level.bonus) {
                player.PlayBonusLevel(limit);
            } else {
                player.PlayStoryLevel(limit);
            }
            ASSERT_FALSE(HasFatalFailure());
            ASSERT_TRUE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE | MODE_LEVEL_FAILED))
                << "level " << index << " still runs after " << limit << " s, mode " << std::hex
                << g_gameSession.GetGameMode() << std::dec << ", cash " << Profile().levelCash;
            const bool won = g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE);
            if (level.bonus) {
                // Told on the line of the story level before it. A bonus
                // level always completes; its score decides the reward.
                if (!rows.empty()) {
                    rows.back().bonus = "bonus level " + std::to_string(index) + ": score " +
                                        std::to_string(g_bonusGame.GetScore()) + " of " +
                                        std::to_string(level.need);
                }
            } else {
                const std::int32_t cash = Profile().levelCash;
                EXPECT_GE(cash, level.need)
                    << "story level " << Profile().storyLevel << " (level " << index
                    << ") ended with cash " << cash << ", need " << level.need << ", expert "
                    << level.expert << ", try " << tries;
                if (tries == 1) {
                    rows.push_back({Profile().storyLevel, index, cash, level.need, level.expert, 1,
                                    "", "", 0});
                } else {
                    rows.back().cash = cash;
                    rows.back().tries = tries;
                }
            }
            ASSERT_TRUE(won || tries < TRIES) << "level " << index << " lost " << tries << " times";
            ASSERT_NO_FATAL_FAILURE(CloseTheOverlay());
            if (!level.bonus && !rows.empty()) {
                rows.back().savings = Profile().savings;
            }
        }
    }

    static screen_test::ShippedScreen s_screen;

    CPlayer player{s_screen};
    std::vector<StoryRow> rows;
};

screen_test::ShippedScreen CampaignTest::s_screen;

TEST_F(CampaignTest, EveryStoryLevelIsWonByAScriptedPlayer) {
    PlayTheStory();
    for (const StoryRow& row : rows) {
        const std::string tries = row.tries > 1 ? ", tries " + std::to_string(row.tries) : "";
        const std::string bonus = row.bonus.empty() ? "" : " | " + row.bonus;
        std::printf(
            "[campaign] story %2d (level %2d): cash %5d, need %5d, expert %5d%s%s | shop: "
            "%s; savings left %d\n",
            row.story, row.index, row.cash, row.need, row.expert, tries.c_str(), bonus.c_str(),
            row.bought.empty() ? "-" : row.bought.c_str(), row.savings);
    }
    std::printf(
        "[campaign] %zu story levels in %.0f s of game time; pet fed %d, gifts %d, "
        "music %d, computer %d, vitamins %d, discarded %d, resumed %d\n",
        rows.size(), static_cast<double>(player.seconds), player.counts.petFed,
        player.counts.petGifts, player.counts.musicOn, player.counts.computerCalls,
        player.counts.vitamins, player.counts.discarded, player.counts.resumed);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(STORY_LEVELS));
}

}  // namespace

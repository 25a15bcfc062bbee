// Both training levels played through the session and the scene on the
// shipped levels, fishes and upgrades: the player clicks only what the
// current tip lights, at the places the lit objects report, pressing and
// releasing in frames of their own, while the heroine walks and works for
// real; each training ends by the ordinary end test in its next level. Every
// arrow of every tip, once the window is fully there, points at the object
// the tip names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <list>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "game/data_file_test_support.h"
#include "game/scene.h"
#include "heroine/heroine_world.h"
#include "layout_checks.h"
#include "shopfloor/item_codes.h"
#include "training_tips.h"

namespace {

using device_test::ONE;
constexpr float FRAME = 0.05f;
constexpr Vec2 OK_AT = {512.0f, 420.0f};

// The objects the arrows of the tips point at.
enum class Target {
    NONE,
    ORDER,
    AQUARIUM_0,
    AQUARIUM_1,
    SELL_0,
    SELL_1,
    COMPRESSOR_1,
    ROCK,
    GREEN_GRASS,
    STONE,
    BLUE_GRASS,
    FOOD_1,
    FOOD_2,
    VITAMIN,
    MACHINE,
    FINISHED_SET,
};

struct TipTargets {
    const char* tip;
    Target first;
    Target second;
};

// What each tip's first and second arrow names (both trainings' first tip
// alike).
const TipTargets TIP_TARGETS[] = {
    {"TIP_1", Target::AQUARIUM_0, Target::ORDER},
    {"TIP_2", Target::ROCK, Target::GREEN_GRASS},
    {"TIP_3", Target::MACHINE, Target::NONE},
    {"TIP_5", Target::FINISHED_SET, Target::AQUARIUM_0},
    {"TIP_7", Target::FOOD_2, Target::AQUARIUM_0},
    {"TIP_9", Target::FOOD_1, Target::AQUARIUM_0},
    {"TIP_10", Target::SELL_0, Target::NONE},
    {"TIP_11", Target::AQUARIUM_0, Target::ORDER},
    {"TIP_12", Target::AQUARIUM_1, Target::ORDER},
    {"TIP_13", Target::STONE, Target::BLUE_GRASS},
    {"TIP_14", Target::MACHINE, Target::NONE},
    {"TIP_15", Target::ROCK, Target::GREEN_GRASS},
    {"TIP_16", Target::MACHINE, Target::NONE},
    {"TIP_17", Target::FINISHED_SET, Target::AQUARIUM_1},
    {"TIP_18", Target::FINISHED_SET, Target::AQUARIUM_0},
    {"TIP_19", Target::COMPRESSOR_1, Target::NONE},
    {"TIP_21", Target::FOOD_2, Target::FOOD_1},
    {"TIP_22", Target::AQUARIUM_0, Target::AQUARIUM_1},
    {"TIP_24", Target::FOOD_2, Target::FOOD_1},
    {"TIP_25", Target::AQUARIUM_0, Target::AQUARIUM_1},
    {"TIP_26", Target::SELL_0, Target::SELL_1},
    {"TIP_27", Target::ROCK, Target::GREEN_GRASS},
    {"TIP_28", Target::MACHINE, Target::NONE},
    {"TIP_30", Target::FINISHED_SET, Target::AQUARIUM_0},
    {"TIP_32", Target::VITAMIN, Target::FOOD_2},
    {"TIP_33", Target::AQUARIUM_0, Target::NONE},
    {"TIP_34", Target::SELL_0, Target::NONE},
};

class TrainingPlayTest : public heroine_test::HeroineWorldTest {
protected:
    void SetUp() override {
        HeroineWorldTest::SetUp();
        const std::filesystem::path shipped = data_test::ShippedDataFolder();
        ASSERT_GT(g_fishBase.Load((shipped / "fishes.xml").string()), 0);
        ASSERT_GT(g_levelBase.Load((shipped / "levels.xml").string()), 24);
        std::filesystem::copy_file(shipped / "upgrades.xml", "Resources/Data/upgrades.xml",
                                   std::filesystem::copy_options::overwrite_existing);
        ASSERT_TRUE(g_gameSession.LoadUpgrades());
        UseLanguage("English", training_test::TipTexts());
        g_orderList.Clear();
        g_hintManager.Clear();
        // The briefing's OK button where the player will find it.
        g_gameSession.GetButton(BTN_OK).Create(
            training_test::PlainButton(OK_AT.x - 50.0f, OK_AT.y - 20.0f));
    }

    void TearDown() override {
        g_orderList.Clear();
        g_hintManager.Clear();
        g_aquariumSet = CAquariumSet{};
        g_levelBase.Clear();
        device_test::Renew(g_fishBase);
        HeroineWorldTest::TearDown();
    }

    // A play frame as the application runs it: the session, then the world,
    // which moves only in plain play and in the shop, training or not; any
    // other mode bit (briefing, pause, fades, pending steps) freezes it.
    void Step() {
        g_gameSession.Update(nullptr, nullptr, input, ONE, Vec2{}, FRAME);
        const std::uint32_t mode = g_gameSession.GetGameMode() & ~MODE_TRAINING;
        if (mode == MODE_GAME || mode == (MODE_GAME | MODE_SHOP)) {
            g_scene.Update(input, ONE, FRAME);
        }
        for (const CHintWindow& window : g_hintManager.GetWindows()) {
            if (window.id > m_lastTipId) {
                m_lastTipId = window.id;
                tipsShown.push_back(training_test::TipId(window.text));
            }
        }
        CheckArrows();
        input.previousMouse = input.currentMouse;
        vitaminTaken = vitaminTaken || (g_gameSession.GetTrainingStep() == 32 &&
                                        (g_heroine.firstHandItem == ITEM_VITAMIN_GROWTH ||
                                         g_heroine.secondHandItem == ITEM_VITAMIN_GROWTH));
    }

    // The press and the release, each in a frame of its own.
    void ClickAt(Vec2 at) {
        input.cursorX = at.x;
        input.cursorY = at.y;
        input.currentMouse.buttons[0] = 0x80;
        Step();
        input.currentMouse.buttons[0] = 0;
        Step();
    }

    // The middle of the image's hover area, margins included.
    static Vec2 Centre(const CGuiImage& image) {
        const layout_test::Box box = layout_test::HitBox(image);
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }

    // Where the player clicks next: the first lit object that takes a click.
    std::optional<Vec2> LitTarget() {
        for (std::size_t i = 0; i < g_orderList.GetCount(); ++i) {
            const OrderEntry* order = g_orderList.GetEntry(static_cast<std::int32_t>(i));
            if (order->active && order->highlighted && !order->picked) {
                return Vec2{order->card.x + 45.0f, order->card.y + 40.0f};
            }
        }
        for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
            if (item.highlight && !item.disabled && !item.selected) {
                return Centre(item.picture);
            }
        }
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
            if (aquarium.IsHighlighted(CAquarium::PART_SELL) && !aquarium.IsEmpty()) {
                return Centre(aquarium.GetSellButton());
            }
            if (aquarium.IsHighlighted(CAquarium::PART_COMPRESSOR) &&
                !aquarium.IsDisabled(CAquarium::PART_COMPRESSOR)) {
                return Centre(aquarium.GetCompressorSwitch());
            }
            if (aquarium.IsHighlighted(CAquarium::PART_BODY) &&
                !aquarium.IsDisabled(CAquarium::PART_BODY)) {
                return Centre(aquarium.GetBody());
            }
        }
        if (g_machine.IsProductHighlighted() && g_machine.GetCurrentSet() != 0) {
            return Centre(g_machine.GetFinishedSet().GetSprite(0, 0));
        }
        if (g_machine.IsBodyHighlighted()) {
            return Centre(g_machine.GetBody());
        }
        return std::nullopt;
    }

    // The hit area of an arrow's target; none when it is not on the floor.
    static std::optional<layout_test::Box> TargetBox(Target target) {
        const auto item = [](std::uint32_t kind) -> std::optional<layout_test::Box> {
            for (const CInstrumentItem& it : g_instrumentPanel.GetItems()) {
                if (it.kind == kind) {
                    return layout_test::HitBox(it.picture);
                }
            }
            return std::nullopt;
        };
        const auto aquarium = [](int i) -> CAquarium* {
            return i < g_aquariumSet.GetCount() ? g_aquariumSet.GetAquarium(i) : nullptr;
        };
        switch (target) {
            case Target::ORDER:
                if (const OrderEntry* order = g_orderList.GetEntry(0)) {
                    return layout_test::HitBox(order->card);
                }
                return std::nullopt;
            case Target::AQUARIUM_0:
            case Target::AQUARIUM_1:
                if (CAquarium* a = aquarium(target == Target::AQUARIUM_0 ? 0 : 1)) {
                    return layout_test::HitBox(a->GetBody());
                }
                return std::nullopt;
            case Target::SELL_0:
            case Target::SELL_1:
                if (CAquarium* a = aquarium(target == Target::SELL_0 ? 0 : 1)) {
                    return layout_test::HitBox(a->GetSellButton());
                }
                return std::nullopt;
            case Target::COMPRESSOR_1:
                if (CAquarium* a = aquarium(1)) {
                    return layout_test::HitBox(a->GetCompressorSwitch());
                }
                return std::nullopt;
            case Target::ROCK:
                return item(ROCK);
            case Target::GREEN_GRASS:
                return item(GREEN_GRASS);
            case Target::STONE:
                return item(STONE);
            case Target::BLUE_GRASS:
                return item(BLUE_GRASS);
            case Target::FOOD_1:
                return item(ITEM_FOOD_1);
            case Target::FOOD_2:
                return item(ITEM_FOOD_2);
            case Target::VITAMIN:
                return item(ITEM_VITAMIN_GROWTH);
            case Target::MACHINE:
                return layout_test::HitBox(g_machine.GetBody());
            case Target::FINISHED_SET:
                return layout_test::HitBox(g_machine.GetFinishedSet().GetSprite(0, 0));
            case Target::NONE:
                break;
        }
        return std::nullopt;
    }

    // While a tip's window is fully there, each arrow it draws is measured
    // against its target as it rests (popped in, without its bob); a target
    // that slides in is met once it has arrived. The closest approach of each
    // arrow is kept for ArrowFaults.
    void CheckArrows() {
        const std::list<CHintWindow>& windows = g_hintManager.GetWindows();
        if (windows.empty() || windows.front().panelAlpha < 255.0f || !windows.front().open) {
            return;
        }
        const CHintWindow& window = windows.front();
        const std::string tip = training_test::TipId(window.text);
        const auto found = std::find_if(std::begin(TIP_TARGETS), std::end(TIP_TARGETS),
                                        [&](const TipTargets& t) { return tip == t.tip; });
        const Target targets[] = {found == std::end(TIP_TARGETS) ? Target::NONE : found->first,
                                  found == std::end(TIP_TARGETS) ? Target::NONE : found->second};
        const CGuiImage* arrows[] = {&window.firstArrow, &window.secondArrow};
        const Vec2 directions[] = {window.firstDirection, window.secondDirection};
        for (int k = 0; k < 2; ++k) {
            const std::string name = tip + " arrow " + std::to_string(k + 1);
            const bool drawn = directions[k] != Vec2{0.0f, 0.0f};
            EXPECT_EQ(drawn, targets[k] != Target::NONE) << name;
            const std::optional<layout_test::Box> box = TargetBox(targets[k]);
            if (!drawn || !box) {
                continue;
            }
            CGuiImage arrow = *arrows[k];
            arrow.scaleX = arrow.scaleY = 1.0f;
            arrow.offsetX = arrow.offsetY = 0.0f;
            const Vec2 point = layout_test::ArrowPoint(arrow);
            const float distance = layout_test::Distance(point, *box);
            ArrowMeasure& best = m_arrows[{window.id, k}];
            if (best.name.empty() || distance < best.distance) {
                best = {name, distance, layout_test::ArrowFault(point, *box)};
            }
        }
    }

    // The arrows measured in the level, by tip and arrow, with their faults
    // (empty where the arrow points at its target); then forgotten.
    std::vector<std::pair<std::string, std::string>> ArrowFaults() {
        std::vector<std::pair<std::string, std::string>> faults;
        for (const auto& [key, measure] : m_arrows) {
            faults.emplace_back(measure.name, measure.fault);
        }
        m_arrows.clear();
        return faults;
    }

    // Plays until the script reaches `step` or `seconds` pass: while the
    // heroine is idle, one click on whatever the open tip lights.
    void PlayTo(std::int32_t step, float seconds) {
        for (float t = 0.0f; t < seconds && g_gameSession.GetTrainingStep() != step; t += FRAME) {
            const std::optional<Vec2> target =
                g_gameSession.HasModeBits(MODE_BRIEFING) ? OK_AT : LitTarget();
            if (target && g_heroine.GetTasks().empty() && !g_heroine.IsWorking() &&
                m_cooldown <= 0.0f) {
                ClickAt(*target);
                m_cooldown = 0.5f;
            } else {
                Step();
                m_cooldown -= FRAME;
            }
        }
    }

    // What a failure needs to tell where the play stuck.
    std::string State() {
        std::ostringstream out;
        out << ::testing::PrintToString(tipsShown) << " mode " << std::hex
            << g_gameSession.GetGameMode() << std::dec << " orders " << g_orderList.CountActive()
            << " hands " << g_heroine.firstHandItem << "," << g_heroine.secondHandItem << " tasks "
            << g_heroine.GetTasks().size() << " set " << g_machine.GetCurrentSet();
        for (int i = 0; i < g_aquariumSet.GetCount(); ++i) {
            const CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
            out << " aquarium " << i << ": fish " << aquarium.GetFishKind() << " wish "
                << aquarium.GetRequest();
        }
        return out.str();
    }

    InputState input;
    std::vector<std::string> tipsShown;
    // A new level's hint windows count from 1 again.
    void ForgetTips() {
        tipsShown.clear();
        m_lastTipId = 0;
    }

    // Whether the heroine held the growth vitamin in step 32.
    bool vitaminTaken = false;

private:
    std::int32_t m_lastTipId = 0;
    struct ArrowMeasure {
        std::string name;
        float distance = 0.0f;
        std::string fault;
    };
    std::map<std::pair<std::int32_t, int>, ArrowMeasure> m_arrows;
    float m_cooldown = 0.0f;
};

TEST_F(TrainingPlayTest, BothTrainingsByRealClicksEndInTheirNextLevel) {
    struct Case {
        std::int32_t levelIndex;
        std::int32_t storyLevel;
        int aquariums;
        std::vector<std::int32_t> steps;
        std::vector<std::string> tips;
        int arrows;  // shown by the tips
    };
    std::vector<std::string> firstTips;
    for (int i = 1; i <= 26; ++i) {
        firstTips.push_back("TIP_" + std::to_string(i));
    }
    const Case cases[] = {
        {1, 1, 2, {1, 2, 3, 4, 5, 10, 15, 20, 25, 100}, firstTips, 37},
        {24,
         17,
         1,
         {27, 28, 29, 30, 31, 32, 33, 34, 100},
         {"TIP_1", "TIP_27", "TIP_28", "TIP_29", "TIP_30", "TIP_31", "TIP_32", "TIP_33", "TIP_34"},
         11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.levelIndex);
        CProfile& player = *g_gameSession.GetCurrentProfile();
        player.levelIndex = c.levelIndex;
        player.storyLevel = c.storyLevel;
        g_gameSession.SetGameMode(MODE_GAME | MODE_NEXT_LEVEL);
        ASSERT_TRUE(g_gameSession.StartGame(false, false));
        g_gameSession.SetGameMode(MODE_GAME | MODE_TRAINING);
        ASSERT_EQ(g_aquariumSet.GetCount(), c.aquariums);
        ForgetTips();
        input = InputState{};
        input.cursorX = -500.0f;
        input.cursorY = -500.0f;
        vitaminTaken = false;
        for (std::int32_t step : c.steps) {
            PlayTo(step, 120.0f);
            ASSERT_EQ(g_gameSession.GetTrainingStep(), step) << State();
        }
        EXPECT_EQ(tipsShown, c.tips);
        // Every arrow shown points at what its tip names. The order card's
        // arrow stops 13 short of the card: its point is at x 840, the arrow
        // is 77 long and the cards rest at x 930, so at rest its tip is at
        // x 917 (at the near end of its bob, 924).
        const std::vector<std::pair<std::string, std::string>> arrows = ArrowFaults();
        EXPECT_EQ(static_cast<int>(arrows.size()), c.arrows);
        for (const auto& [name, fault] : arrows) {
            const bool expected =
                name == "TIP_1 arrow 2" || name == "TIP_11 arrow 2" || name == "TIP_12 arrow 2";
            EXPECT_EQ(fault.empty(), !expected) << name << ": " << fault;
        }
        // The growth vitamin is the second training's step 32.
        EXPECT_EQ(vitaminTaken, c.levelIndex == 24);

        // The ordinary end test takes the finished training on, without the
        // level-complete overlay.
        for (float t = 0.0f; t < 30.0f && !g_gameSession.HasModeBits(MODE_NEXT_LEVEL); t += FRAME) {
            Step();
            ASSERT_FALSE(g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE));
        }
        ASSERT_EQ(g_gameSession.GetGameMode(),
                  MODE_GAME | MODE_TRAINING | MODE_NEXT_LEVEL | MODE_FADE_OUT);
        EXPECT_EQ(tipsShown, c.tips);
        // The fade has run out: the next level starts and is saved.
        g_gameSession.ClearModeBits(MODE_FADE_OUT);
        Step();
        EXPECT_EQ(player.levelIndex, c.levelIndex + 1);
        EXPECT_EQ(player.storyLevel, c.storyLevel);
        player.levelIndex = 0;
        player.storyLevel = 0;
        ASSERT_GT(g_gameSession.LoadProfiles(PROFILES_FILE), 0);
        EXPECT_EQ(g_gameSession.GetCurrentProfile()->levelIndex, c.levelIndex + 1);
        EXPECT_EQ(g_gameSession.GetCurrentProfile()->storyLevel, c.storyLevel);
        g_orderList.Clear();
        g_hintManager.Clear();
    }
}

}  // namespace

#pragma once
// The bonus game run for real on the fake render and audio devices: every
// sample the game plays, the animations of the hand, the gulls and the turtle
// with frames enough for every clip, a clock that stands still unless a test
// moves it, and a fresh global session with one player on a bonus level.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/panel_world.h"
#include "game/session_test_support.h"
#include "heroine/bonus_game.h"

namespace bonus_test {

class CFixedClock : public backend::IClock {
public:
    double Seconds() override { return static_cast<double>(milliseconds) / 1000.0; }
    std::uint64_t Milliseconds() override { return milliseconds; }
    void Sleep(std::uint32_t) override {}

    std::uint64_t milliseconds = 123456789;
};

inline constexpr float FRAME = 0.02f;

inline CLevelEnemy Gull(float creationTime = 0.0f, float speed = 100.0f,
                        float attackSpeed = 300.0f) {
    CLevelEnemy entry;
    entry.kind = ENEMY_GULL_1;
    entry.speed = speed;
    entry.attack_speed = attackSpeed;
    entry.creation_time = creationTime;
    return entry;
}

inline CLevelEnemy Turtle(float creationTime = 0.0f, std::int32_t path = 0, float speed = 50.0f,
                          float energy = 5.0f, float rest = 2.0f) {
    CLevelEnemy entry;
    entry.kind = ENEMY_TURTLE_1;
    entry.path = path;
    entry.speed = speed;
    entry.energy = energy;
    entry.rest = rest;
    entry.creation_time = creationTime;
    return entry;
}

inline CLevelRecord BonusLevel(std::int32_t need, std::vector<CLevelEnemy> enemies) {
    CLevelRecord level;
    level.number = 5;
    level.bonus = true;
    level.need = need;
    level.enemies = std::move(enemies);
    return level;
}

class BonusWorldTest : public panel_test::PanelWorldTest {
protected:
    void SetUp() override {
        PanelWorldTest::SetUp();
        backend::SetClock(&clock);
        StartWorld("English", {{"BONUS_LEVEL_GOAL", "GOAL "}}, 60);
        bar = AddImage("MINIGAME_BAR", 109, 446);
        turtleBody = AddImage("_TURTLE_BODY", 54, 32);
        sheet = AddImage("SHEET", 512, 512);
        AddAnimation("A_HAND_PART_1", 80);
        AddAnimation("A_HAND_PART_2", 24);
        AddAnimation("A_GULL_PART_1", 60);
        AddAnimation("A_GULL_PART_2", 60);
        AddAnimation("A_TURTLE", 71);

        session_test::ResetGlobalSession();
        ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
        g_gameSession.SetGameMode(MODE_GAME);
        g_gameSession.SetLevelStartDelay(0.0f);
        g_gameSession.GetStatistics().Reset(true);
        PopupTexts::Instance().Update(100.0f);
        PopupTexts::Instance().Update(100.0f);
    }

    void TearDown() override {
        backend::SetClock(nullptr);
        session_test::ResetGlobalSession();
        PanelWorldTest::TearDown();
    }

    // An Animation2D resource of `count` frames, each 10 x 10 pixels with
    // its hot spot at its corner.
    void AddAnimation(const std::string& id, int count) {
        Animation2DRecord record;
        record.id = id;
        record.image = sheet;
        for (int i = 0; i < count; ++i) {
            AnimationFrame frame;
            frame.image = sheet;
            frame.right = 10;
            frame.bottom = 10;
            record.frames.push_back(frame);
        }
        Resources().Animations2D().push_back(record);
    }

    void StartBonus(std::int32_t need, std::vector<CLevelEnemy> enemies) {
        game.StartLevel(BonusLevel(need, std::move(enemies)));
    }

    // One frame; the clock moves on with it, so that every reseeded draw
    // differs from the last but repeats from run to run.
    void Frame(const InputState& input, float elapsed = FRAME) {
        clock.milliseconds += static_cast<std::uint64_t>(elapsed * 1000.0f);
        game.Update(input, scale, elapsed);
    }
    void Frame(float elapsed = FRAME) { Frame(InputState{}, elapsed); }
    // Frames of `elapsed` seconds until `seconds` have passed.
    void Run(float seconds, float elapsed = FRAME) {
        for (float t = 0.0f; t < seconds - elapsed / 2.0f; t += elapsed) {
            Frame(elapsed);
        }
    }

    // A left-button press at design point (x, y).
    static InputState Press(float x, float y) {
        InputState input;
        input.cursorX = x;
        input.cursorY = y;
        input.currentMouse.buttons[0] = 0x80;
        return input;
    }
    static InputState Pointer(float x, float y, float moveX = 0.0f) {
        InputState input;
        input.cursorX = x;
        input.cursorY = y;
        input.rawDeltaX = moveX;
        return input;
    }

    // The floating texts added so far, as their text and colour.
    static std::vector<std::pair<std::u16string, std::uint32_t>> Popups() {
        std::vector<std::pair<std::u16string, std::uint32_t>> texts;
        for (const PopupText& text : PopupTexts::Instance().GetTexts()) {
            texts.emplace_back(text.text, text.colour);
        }
        return texts;
    }

    CBonusTurtle& PlaceTurtle(float x, std::int32_t row = 0) {
        game.SpawnTurtle(ENEMY_TURTLE_1, 50.0f, 5.0f, 2.0f, row);
        CBonusTurtle& turtle = game.Turtles().back();
        turtle.base.x = x;
        return turtle;
    }
    CBonusGull& PlaceGull(float x, float y, std::int32_t state) {
        game.SpawnGull(ENEMY_GULL_1, 100.0f, 300.0f);
        CBonusGull& gull = game.Gulls().back();
        gull.base.x = x;
        gull.base.y = y;
        gull.state = state;
        gull.direction = {0.0f, 0.0f};
        gull.boost = 0.0f;
        return gull;
    }

    CFixedClock clock;
    CBonusGame game;
    Vec2 scale{1.0f, 1.0f};
    std::int32_t bar = -1;
    std::int32_t turtleBody = -1;
    std::int32_t sheet = -1;
};

}  // namespace bonus_test

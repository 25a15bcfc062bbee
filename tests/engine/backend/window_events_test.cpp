// The window's event pump: SDL events pushed into the queue come out as our
// events, with the live input state kept in step.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <vector>

#include "engine/backend/input.h"
#include "engine/backend/system.h"
#include "engine/backend/video.h"

namespace {

using backend::Event;
using backend::EventType;

class WindowEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(backend::Video().Init());
        backend::WindowDesc desc;
        desc.clientWidth = 64;
        desc.clientHeight = 64;
        window = backend::Video().CreateWindow(desc);
        ASSERT_NE(window, nullptr);
        window->Show();
        Drain();
        backend::LiveInput() = backend::InputSnapshot{};
    }

    std::vector<Event> Drain() {
        std::vector<Event> events;
        Event event;
        while (window->PollEvent(event)) {
            events.push_back(event);
        }
        return events;
    }

    static void PushKey(SDL_Scancode scancode, bool down) {
        SDL_Event raw{};
        raw.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        raw.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        raw.key.keysym.scancode = scancode;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
    }

    std::unique_ptr<backend::IWindow> window;
};

TEST_F(WindowEventsTest, KeysArriveAsSetOneScanCodesAndDriveTheKeyArray) {
    struct KeyCase {
        SDL_Scancode sdl;
        std::uint8_t expected;
        std::uint32_t typed;  // character the key also types, 0 for none
    };
    const KeyCase cases[] = {
        {SDL_SCANCODE_ESCAPE, 0x01, 0},    {SDL_SCANCODE_BACKSPACE, 0x0E, 8},
        {SDL_SCANCODE_RETURN, 0x1C, 13},   {SDL_SCANCODE_SPACE, 0x39, 0},
        {SDL_SCANCODE_F1, 0x3B, 0},        {SDL_SCANCODE_F12, 0x58, 0},
        {SDL_SCANCODE_UP, 0xC8, 0},        {SDL_SCANCODE_DOWN, 0xD0, 0},
        {SDL_SCANCODE_LEFT, 0xCB, 0},      {SDL_SCANCODE_RIGHT, 0xCD, 0},
        {SDL_SCANCODE_KP_ENTER, 0x9C, 13}, {SDL_SCANCODE_RCTRL, 0x9D, 0},
        {SDL_SCANCODE_RALT, 0xB8, 0},      {SDL_SCANCODE_A, 0x1E, 0},
        {SDL_SCANCODE_Z, 0x2C, 0},         {SDL_SCANCODE_0, 0x0B, 0},
        {SDL_SCANCODE_LSHIFT, 0x2A, 0},    {SDL_SCANCODE_KP_5, 0x4C, 0},
        {SDL_SCANCODE_DELETE, 0xD3, 0},    {SDL_SCANCODE_PAGEDOWN, 0xD1, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(SDL_GetScancodeName(c.sdl));
        PushKey(c.sdl, true);
        std::vector<Event> events = Drain();
        ASSERT_EQ(events.size(), c.typed != 0 ? 2u : 1u);
        EXPECT_EQ(events[0].type, EventType::KeyDown);
        EXPECT_EQ(events[0].code, c.expected);
        if (c.typed != 0) {
            EXPECT_EQ(events[1].type, EventType::Char);
            EXPECT_EQ(events[1].code, c.typed);
        }
        EXPECT_EQ(backend::LiveInput().keys[c.expected], 0x80);

        PushKey(c.sdl, false);
        events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, EventType::KeyUp);
        EXPECT_EQ(events[0].code, c.expected);
        EXPECT_EQ(backend::LiveInput().keys[c.expected], 0x00);
    }
}

TEST_F(WindowEventsTest, TypedTextBecomesUtf16Units) {
    SDL_Event raw{};
    raw.type = SDL_TEXTINPUT;
    // "a", e acute, the euro sign and a character outside the basic plane.
    std::strcpy(raw.text.text, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    ASSERT_EQ(SDL_PushEvent(&raw), 1);
    const std::vector<Event> events = Drain();
    const std::vector<std::uint32_t> expected = {0x61, 0xE9, 0x20AC, 0xD83D, 0xDE00};
    ASSERT_EQ(events.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(events[i].type, EventType::Char);
        EXPECT_EQ(events[i].code, expected[i]);
    }
}

TEST_F(WindowEventsTest, MouseButtonsMotionAndWheel) {
    struct ButtonCase {
        Uint8 sdl;
        std::uint32_t ours;
    };
    for (const ButtonCase c : {ButtonCase{SDL_BUTTON_LEFT, 0}, ButtonCase{SDL_BUTTON_RIGHT, 1},
                               ButtonCase{SDL_BUTTON_MIDDLE, 2}}) {
        SDL_Event raw{};
        raw.type = SDL_MOUSEBUTTONDOWN;
        raw.button.button = c.sdl;
        raw.button.state = SDL_PRESSED;
        raw.button.x = 5;
        raw.button.y = 6;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
        std::vector<Event> events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, EventType::MouseDown);
        EXPECT_EQ(events[0].code, c.ours);
        EXPECT_EQ(backend::LiveInput().buttons[c.ours], 0x80);

        raw.type = SDL_MOUSEBUTTONUP;
        raw.button.state = SDL_RELEASED;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
        events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, EventType::MouseUp);
        EXPECT_EQ(backend::LiveInput().buttons[c.ours], 0x00);
    }

    for (int step = 1; step <= 2; ++step) {
        SDL_Event raw{};
        raw.type = SDL_MOUSEMOTION;
        raw.motion.x = 30 + step;
        raw.motion.y = 40 - step;
        raw.motion.xrel = 3;
        raw.motion.yrel = -2;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
    }
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 2;
    wheel.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1);

    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].type, EventType::MouseMoved);
    EXPECT_EQ(events[1].x, 32);
    EXPECT_EQ(events[1].y, 38);
    EXPECT_EQ(events[2].type, EventType::Wheel);
    EXPECT_EQ(events[2].y, 2);

    const backend::InputSnapshot first = backend::TakeInputSnapshot();
    EXPECT_EQ(first.cursorX, 32.0f);
    EXPECT_EQ(first.cursorY, 38.0f);
    EXPECT_EQ(first.relativeX, 6);
    EXPECT_EQ(first.relativeY, -4);
    EXPECT_EQ(first.wheel, 2);
    const backend::InputSnapshot second = backend::TakeInputSnapshot();
    EXPECT_EQ(second.cursorX, 32.0f);
    EXPECT_EQ(second.relativeX, 0);
    EXPECT_EQ(second.relativeY, 0);
    EXPECT_EQ(second.wheel, 0);
}

TEST_F(WindowEventsTest, DeltasComeFromTheMotionNotFromThePointerPosition) {
    // The fullscreen cursor is built from the deltas. In relative mode the
    // pointer sits still (at the edge, say) while the motion goes on, and
    // the deltas of a frame are the sum of its motion events.
    struct Motion {
        int x;
        int y;
        int xrel;
        int yrel;
    };
    struct Case {
        const char* name;
        std::vector<Motion> motions;
        int relativeX;
        int relativeY;
    };
    const Case cases[] = {
        {"pinned at the right edge", {{63, 10, 25, 0}, {63, 10, 25, 0}}, 50, 0},
        {"pinned at the top-left corner", {{0, 0, -7, -9}, {0, 0, -1, -1}}, -8, -10},
        {"the pointer jumps back to the centre", {{32, 32, 40, -3}}, 40, -3},
        {"there and back", {{40, 20, 8, 4}, {32, 16, -8, -4}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const Motion& m : c.motions) {
            SDL_Event raw{};
            raw.type = SDL_MOUSEMOTION;
            raw.motion.x = m.x;
            raw.motion.y = m.y;
            raw.motion.xrel = m.xrel;
            raw.motion.yrel = m.yrel;
            ASSERT_EQ(SDL_PushEvent(&raw), 1);
        }
        Drain();
        const backend::InputSnapshot snapshot = backend::TakeInputSnapshot();
        EXPECT_EQ(snapshot.relativeX, c.relativeX);
        EXPECT_EQ(snapshot.relativeY, c.relativeY);
        EXPECT_EQ(snapshot.cursorX, static_cast<float>(c.motions.back().x));
    }
}

TEST_F(WindowEventsTest, WindowStateChangesAndQuitBecomeOurEvents) {
    struct WindowCase {
        Uint8 sdl;
        EventType ours;
    };
    const WindowCase cases[] = {
        {SDL_WINDOWEVENT_FOCUS_LOST, EventType::FocusLost},
        {SDL_WINDOWEVENT_FOCUS_GAINED, EventType::FocusGained},
        {SDL_WINDOWEVENT_MINIMIZED, EventType::Minimised},
        {SDL_WINDOWEVENT_RESTORED, EventType::Restored},
        {SDL_WINDOWEVENT_EXPOSED, EventType::Exposed},
        {SDL_WINDOWEVENT_CLOSE, EventType::Close},
    };
    for (const WindowCase& c : cases) {
        SDL_Event raw{};
        raw.type = SDL_WINDOWEVENT;
        raw.window.event = c.sdl;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
        const std::vector<Event> events = Drain();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, c.ours);
    }

    // What SIGINT and SIGTERM turn into.
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::Close);
    EXPECT_TRUE(backend::CloseRequested());
}

TEST_F(WindowEventsTest, HangupClosesAsTerminationDoes) {
    struct sigaction hangup {};
    struct sigaction termination {};
    ASSERT_EQ(sigaction(SIGHUP, nullptr, &hangup), 0);
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &termination), 0);
    if (hangup.sa_handler == SIG_IGN || termination.sa_handler == SIG_DFL) {
        GTEST_SKIP() << "SIGHUP ignored or SDL's signal handlers turned off";
    }
    ASSERT_NE(hangup.sa_handler, SIG_DFL) << "SIGHUP would end the process without a close";
    ASSERT_EQ(raise(SIGHUP), 0);
    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::Close);
    EXPECT_TRUE(backend::CloseRequested());
}

TEST_F(WindowEventsTest, FocusGainedWhileMinimisedFollowsTheRestore) {
    // The framework resumes on a focus gain only when the window is not
    // minimised; a gain reported before the restore would leave it paused.
    std::vector<EventType> seen;
    for (const Uint8 sdl : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED,
                            SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_RESTORED}) {
        SDL_Event raw{};
        raw.type = SDL_WINDOWEVENT;
        raw.window.event = sdl;
        ASSERT_EQ(SDL_PushEvent(&raw), 1);
        for (const Event& event : Drain()) {
            seen.push_back(event.type);
        }
    }
    EXPECT_EQ(seen, (std::vector<EventType>{EventType::FocusLost, EventType::Minimised,
                                            EventType::Restored, EventType::FocusGained}));
}

TEST_F(WindowEventsTest, WaitEventReturnsAQueuedEventOrTimesOut) {
    Event event;
    const Uint64 before = SDL_GetTicks64();
    EXPECT_FALSE(window->WaitEvent(event, 30));
    EXPECT_GE(SDL_GetTicks64() - before, 25u);

    PushKey(SDL_SCANCODE_SPACE, true);
    ASSERT_TRUE(window->WaitEvent(event, 1000));
    EXPECT_EQ(event.type, EventType::KeyDown);
    EXPECT_EQ(event.code, backend::SCAN_SPACE);
    PushKey(SDL_SCANCODE_SPACE, false);
    Drain();
}

}  // namespace

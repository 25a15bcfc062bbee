#pragma once
// A scripted player of the shop floor on the shipped data, run in the order
// of the application's frame on a manual clock: it only moves the cursor and
// presses the left button where the game's own objects say they are, and the
// heroine, the machine and the level flow do the rest. It places the orders,
// sells the grown fish, brings every wish, answers the computer, feeds the
// pet and uses its gift, switches the audio system on when wishes pile up
// and gives a vitamin with the food when one is ready.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/framework/app_test_support.h"
#include "engine/media/gui_image.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "game/shipped_screen.h"
#include "heroine/instrument_panel.h"

namespace scripted_player {

Vec2 Centre(const CGuiImage& image);
Vec2 Centre(const CGuiButton& button);

// What the player did since it was made.
struct Counts {
    int placed = 0;
    int sold = 0;
    // Wishes of the fish brought, and of those the interior sets.
    int served = 0;
    int setsBuilt = 0;
    int petFed = 0;
    int petGifts = 0;
    int musicOn = 0;
    int computerCalls = 0;
    int vitamins = 0;
    // Items dropped at the discard spot, each for a fine.
    int discarded = 0;
    int resumed = 0;
};

// The shipped data in a private folder, on a 1024 x 768 screen.
void OpenShippedScreen(screen_test::ShippedScreen& screen, const char* title);

class CPlayer {
public:
    static constexpr float FRAME = 0.05f;

    explicit CPlayer(screen_test::ShippedScreen& screen) : m_screen(screen) {}

    // A session with one new profile, "Ann", and a world as the program
    // starts with it; no profile is on file.
    void NewProfile();

    // One frame as the application runs it; every `renderEvery`-th frame
    // of the game is drawn as well.
    void Frame();
    // The cursor moves there in one frame, the button goes down in the next
    // and comes up in the one after.
    void ClickAt(Vec2 at);
    void Click(SessionButton button) { ClickAt(Centre(g_gameSession.GetButton(button))); }
    // Clicks there until the heroine has one more task: a station that
    // blinks as new in the level takes no click while it is hidden.
    void ClickStation(Vec2 at);
    // The heroine goes there and does what the station asks.
    void GoTo(Vec2 at);

    template <typename Condition>
    bool RunUntil(Condition condition, float limit) {
        const float end = seconds + limit;
        while (!condition() && seconds < end) {
            Frame();
        }
        return condition();
    }

    static CProfile& Profile() { return *g_gameSession.GetCurrentProfile(); }
    static bool HeroineIdle();
    // The shown instrument of that kind, null when the level has none.
    static const CInstrumentItem* Item(std::uint32_t kind);

    // Starts the level at `index` as the next level after the one before,
    // and plays through the loading and the briefing with its OK button.
    void StartLevel(std::int32_t index, std::int32_t story);
    // Waits for the briefing of the level being loaded and closes it.
    void PassBriefing();

    // Drops a waiting order into the first empty aquarium.
    bool PlaceOrder();
    // The heroine brings what the fish in aquarium `a` wishes for.
    void Serve(std::int32_t a);
    // Plays the shop floor until the level-complete or level-failed overlay,
    // or until `limit` seconds of game time have passed.
    void PlayStoryLevel(float limit);
    // Clicks every diving gull away before it reaches its turtle, until the
    // bonus level ends or `limit` seconds have passed.
    void PlayBonusLevel(float limit);

    app_test::CManualClock clock;
    InputState input;
    float seconds = 0.0f;
    Counts counts;
    // 0: nothing is drawn.
    int renderEvery = 0;

private:
    // One thing a player would do now; false when there is nothing to do.
    bool Act();
    // A click that met the pause button on the way is undone with RESUME.
    bool Resume();
    // Gives what she still carries where it is wished for, or drops it.
    bool EmptyHands();
    bool AnswerComputer();
    bool LookAfterPet();
    bool PlayMusic();
    // The aquarium whose fish has waited longest for its wish, -1 for none.
    static std::int32_t MostUrgentWish();
    // Picks up a ready vitamin to give with the food.
    void TakeVitamin();

    screen_test::ShippedScreen& m_screen;
    std::int64_t m_frames = 0;
};

}  // namespace scripted_player

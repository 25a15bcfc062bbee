// A whole game road on the real application: the shipped data, the headless
// drivers, a clock that moves only when told, a fake sound device. Commands
// come as the menu sends them and clicks land on button centres through the
// backend's live input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/backend/image.h"
#include "engine/backend/input.h"
#include "engine/framework/app_test_support.h"
#include "engine/media/fake_audio.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/menu.h"
#include "frontend/menu_command.h"
#include "game/data_file_test_support.h"
#include "game/game_app.h"
#include "game/game_app_fixture.h"
#include "game/session_test_support.h"

namespace {

constexpr std::uint8_t KEY_F5 = 0x3F;
constexpr std::uint8_t KEY_F7 = 0x41;
constexpr std::uint8_t DEBUG_SEQUENCE[] = {0x20, 0x12, 0x30, 0x16, 0x22};

class RoadTest : public game_test::GameAppFixture {
protected:
    void SetUp() override {
        GameAppFixture::SetUp();
        app_test::WriteFile(UserFile("profiles.sav"),
                            session_test::ProfileFile({CProfile(u"Road")}));
        std::filesystem::create_symlink(data_test::ShippedDataFolder().parent_path(),
                                        folder->Path() / "Resources");
    }

    static CGameSession& Session() { return g_gameSession; }
    static CResourceManager& Resources() { return ResourceManager::Instance(); }
    std::uint32_t Mode() const { return g_gameSession.GetGameMode(); }
    static CProfile& Player() { return *g_gameSession.GetCurrentProfile(); }

    // The application started and faded in to the menu; the splash pictures
    // pass while it starts.
    void StartAtTheMenu() {
        clock.step = 0.25;
        ASSERT_NO_FATAL_FAILURE(Start());
        clock.step = 0.0;
        ASSERT_TRUE(FramesUntil([this] { return Mode() == MODE_MENU; }));
    }
    void Frame(double seconds = 0.02) {
        clock.Advance(seconds);
        ASSERT_EQ(app->RenderFrame(), RESULT_OK);
    }
    // Frames until the condition holds; false after 2000 frames.
    bool FramesUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 2000; ++i) {
            if (done()) {
                return true;
            }
            Frame();
        }
        return done();
    }
    bool UntilFadeIsBlack() {
        return FramesUntil([this] { return (Mode() & MODE_FADE_OUT) == 0; });
    }
    // The left button pressed over the button's centre in one frame and let
    // go in the next, which is the frame of the click.
    void Click(SessionButton which) {
        const CGuiButton& button = Session().GetButton(which);
        const float x =
            button.x + static_cast<float>(button.normalSource.right - button.normalSource.left) / 2;
        const float y =
            button.y + static_cast<float>(button.normalSource.bottom - button.normalSource.top) / 2;
        // The fullscreen mouse moves the cursor by its own factor: steer it
        // there over a few frames.
        const InputState& state = g_inputDevices.GetState();
        for (int i = 0; i < 8; ++i) {
            backend::LiveInput().relativeX = static_cast<int>((x - state.cursorX) / 1.2f);
            backend::LiveInput().relativeY = static_cast<int>((y - state.cursorY) / 1.2f);
            Frame();
        }
        backend::LiveInput().relativeX = 0;
        backend::LiveInput().relativeY = 0;
        backend::LiveInput().buttons[0] = 0x80;
        Frame();
        backend::LiveInput().relativeX = 0;
        backend::LiveInput().relativeY = 0;
        backend::LiveInput().buttons[0] = 0;
        Frame();
    }
    void Key(std::uint8_t key) {
        backend::LiveInput().keys[key] = 0x80;
        Frame();
        backend::LiveInput().keys[key] = 0;
        Frame();
    }
    int SamplePlays(int sample) {
        return audio.channels[Resources().Samples()[static_cast<std::size_t>(sample)].channel]
            .plays;
    }
    bool StreamPlays(unsigned stream) {
        return Resources().GetSoundManager().IsPlaying(SoundType::Stream, stream);
    }
    bool HasTexture(const char* id) {
        const std::int32_t index = Resources().GetIndex(RESOURCE_IMAGE, id);
        return index >= 0 && Resources().Images()[static_cast<std::size_t>(index)].texture;
    }
    static std::string SavedProfiles() { return app_test::ReadFile(UserFile("profiles.sav")); }

    media_test::CFakeAudio audio;
};

TEST_F(RoadTest, ANewGameFromTheMenuToTheShopAndBack) {
    ASSERT_NO_FATAL_FAILURE(StartAtTheMenu());

    // The menu stays visible until the fade is black.
    app->SendMessage(WM_COMMAND, COMMAND_NEW_GAME, 0);
    EXPECT_EQ(Mode(), MODE_MENU | MODE_GAME | MODE_FADE_OUT | MODE_TRAINING | MODE_COMICS_1 |
                          MODE_COMICS_2 | MODE_PET_CHOICE | MODE_MAP | MODE_LOAD_TEXTURES);
    EXPECT_EQ(static_cast<unsigned char>(SavedProfiles().at(35)), 1) << "game started, saved";
    int fadeFrames = 0;
    while (Session().HasModeBits(MODE_FADE_OUT) && fadeFrames < 200) {
        EXPECT_TRUE(Session().HasModeBits(MODE_MENU)) << "frame " << fadeFrames;
        Frame();
        ++fadeFrames;
    }
    EXPECT_GT(fadeFrames, 0);
    Frame();
    EXPECT_FALSE(Session().HasModeBits(MODE_MENU));

    // Comic page 1, page 2 without a fade, back, and on twice.
    ASSERT_TRUE(Session().HasModeBits(MODE_COMICS_1));
    Click(BTN_NEXT);
    EXPECT_FALSE(Session().HasModeBits(MODE_COMICS_1));
    EXPECT_FALSE(Session().HasModeBits(MODE_FADE_OUT));
    Click(BTN_BACK);
    EXPECT_TRUE(Session().HasModeBits(MODE_COMICS_1));
    Click(BTN_NEXT);
    Click(BTN_NEXT);
    EXPECT_FALSE(Session().HasModeBits(MODE_COMICS_1 | MODE_COMICS_2));

    // The turtle; then the loading screen of location 1.
    ASSERT_TRUE(Session().HasModeBits(MODE_PET_CHOICE));
    Click(BTN_TURTLE_PERSON);
    EXPECT_EQ(Player().petKind, 1);
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_PET_CHOICE); }));
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_LOAD_TEXTURES); }));
    EXPECT_EQ(Resources().GetCurrentGroup(), 8);
    EXPECT_NE(Log().find("Loading textures:"), std::string::npos);
    EXPECT_FALSE(HasTexture("PET_FISH_1"));
    EXPECT_FALSE(HasTexture("PET_FISH_3"));

    // The map; PLAY starts the level's tune, the briefing follows 1.2 s later.
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_FADE_OUT); }));
    ASSERT_TRUE(Session().HasModeBits(MODE_MAP));
    Click(BTN_PLAY);
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_MAP); }));
    EXPECT_TRUE(StreamPlays(2));
    const int briefings = SamplePlays(55);
    ASSERT_TRUE(FramesUntil([this] { return Session().HasModeBits(MODE_BRIEFING); }));
    EXPECT_EQ(SamplePlays(55), briefings + 1);
    Click(BTN_OK);
    EXPECT_EQ(Mode(), MODE_GAME | MODE_TRAINING);

    // The debug win in training goes to level index 2, story level 1, with
    // neither map nor shop.
    for (const std::uint8_t key : DEBUG_SEQUENCE) {
        Key(key);
    }
    ASSERT_TRUE(Session().IsDebugOn());
    Key(KEY_F7);
    ASSERT_TRUE(UntilFadeIsBlack());
    Frame();
    EXPECT_EQ(Player().levelIndex, 2);
    EXPECT_EQ(Player().storyLevel, 1);
    EXPECT_FALSE(Session().HasModeBits(MODE_MAP | MODE_SHOP | MODE_TRAINING));

    // The time runs out: the time-up sound and the level-failed overlay.
    ASSERT_TRUE(FramesUntil([this] { return Session().HasModeBits(MODE_BRIEFING); }));
    Click(BTN_OK);
    const int timeUps = SamplePlays(59);
    Session().SetTimeLeft(0.01f);
    ASSERT_TRUE(FramesUntil([this] { return Session().HasModeBits(MODE_LEVEL_FAILED); }));
    EXPECT_EQ(SamplePlays(59), timeUps + 1);
    // The first TRY_AGAIN completes the reveal, the second retries.
    Click(BTN_TRY_AGAIN);
    EXPECT_FALSE(Session().HasModeBits(MODE_RETRY));
    Click(BTN_TRY_AGAIN);
    EXPECT_TRUE(Session().HasModeBits(MODE_RETRY));
    ASSERT_TRUE(UntilFadeIsBlack());
    Frame();
    EXPECT_EQ(Player().levelIndex, 2);
    EXPECT_FALSE(Session().HasModeBits(MODE_MAP | MODE_SHOP));
    EXPECT_TRUE(StreamPlays(2)) << "the level's music again";

    // The debug win: the first OK completes the reveal, the second pays.
    ASSERT_TRUE(FramesUntil([this] { return Session().HasModeBits(MODE_BRIEFING); }));
    Click(BTN_OK);
    Key(KEY_F7);
    ASSERT_TRUE(Session().HasModeBits(MODE_LEVEL_COMPLETE));
    const std::int32_t expert = Session().GetLevel().expert;
    Click(BTN_OK);
    EXPECT_EQ(Player().savings, 0);
    Click(BTN_OK);
    EXPECT_EQ(Player().savings, expert);
    EXPECT_EQ(Player().totalScore, expert);

    // Index 3: the map, then the shop; F5 adds savings; FINISH saves.
    ASSERT_TRUE(UntilFadeIsBlack());
    Frame();
    EXPECT_EQ(Player().levelIndex, 3);
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_FADE_OUT); }));
    ASSERT_TRUE(Session().HasModeBits(MODE_MAP));
    Click(BTN_PLAY);
    ASSERT_TRUE(FramesUntil([this] {
        return !Session().HasModeBits(MODE_MAP) && !Session().HasModeBits(MODE_FADE_OUT);
    }));
    ASSERT_TRUE(Session().HasModeBits(MODE_SHOP));
    Key(KEY_F5);
    EXPECT_EQ(Player().savings, expert + 5000);
    Click(BTN_FINISH);
    ASSERT_TRUE(FramesUntil([this] { return !Session().HasModeBits(MODE_SHOP); }));
    EXPECT_EQ(SavedProfiles().size(), CProfile::RECORD_SIZE);

    // Escape, SAVE_AND_EXIT: the menu's pictures, then the menu at its root.
    ASSERT_TRUE(FramesUntil([this] { return Session().HasModeBits(MODE_BRIEFING); }));
    Click(BTN_OK);
    Key(backend::SCAN_ESCAPE);
    ASSERT_TRUE(Session().HasModeBits(MODE_PAUSED));
    Click(BTN_SAVE_AND_EXIT);
    ASSERT_TRUE(FramesUntil([this] { return Mode() == MODE_MENU; }));
    EXPECT_EQ(Resources().GetCurrentGroup(), 4);
    EXPECT_TRUE(g_menu.GetCurrentId().empty());
    EXPECT_EQ(Player().levelIndex, 3);
    EXPECT_FALSE(Session().IsGameActive());
}

TEST_F(RoadTest, AContinuedGameShowsTheComicPageOfItsNewLocation) {
    struct Case {
        std::int32_t index;
        std::int32_t story;
        std::uint32_t page;
        const char* picture;
    };
    const Case cases[] = {
        {20, 16, MODE_COMICS_3, "comics_3.png"},
        {39, 31, MODE_COMICS_4, "comics_4.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        // A game saved at the first level of a location, as a restart, a
        // SAVE_AND_EXIT or a closed window leaves it.
        CProfile player(u"Road");
        player.gameStarted = 1;
        player.levelIndex = c.index;
        player.storyLevel = c.story;
        app_test::WriteFile(HtmlLog().GetUserFolder() + "profiles.sav",
                            session_test::ProfileFile({player}));
        session_test::ResetGlobalSession();
        g_menu = CMenu{};
        ASSERT_NO_FATAL_FAILURE(StartAtTheMenu());

        app->SendMessage(WM_COMMAND, COMMAND_CONTINUE_GAME, 0);
        ASSERT_TRUE(Session().HasModeBits(c.page));
        // The page once it has faded in completely.
        ASSERT_TRUE(FramesUntil([this] {
            return !Session().HasModeBits(MODE_MENU | MODE_FADE_OUT) &&
                   Session().GetFadeLevel() >= 255.0f;
        }));
        ASSERT_TRUE(Session().HasModeBits(c.page));
        std::vector<std::uint32_t> frame;
        ASSERT_TRUE(app->GetDevice()->ReadPixels(frame));
        backend::DecodedImage picture;
        ASSERT_EQ(backend::DecodeImageFile(
                      (data_test::ShippedDataFolder() / "Images" / c.picture).string(), picture),
                  backend::DecodeResult::Ok);
        ASSERT_EQ(frame.size(), picture.pixels.size());
        // Every pixel but those of the NEXT button in the corner shows the
        // picture.
        const CGuiButton& next = Session().GetButton(BTN_NEXT);
        std::size_t matching = 0;
        std::size_t compared = 0;
        for (std::size_t i = 0; i < frame.size(); ++i) {
            const auto x = static_cast<float>(i % static_cast<std::size_t>(picture.width));
            const auto y = static_cast<float>(i / static_cast<std::size_t>(picture.width));
            if (x >= next.x && y >= next.y) {
                continue;
            }
            ++compared;
            int worst = 0;
            for (const int shift : {0, 8, 16}) {
                const int shown = static_cast<int>((frame[i] >> shift) & 0xFF);
                const int source = static_cast<int>((picture.pixels[i] >> shift) & 0xFF);
                worst = std::max(worst, std::abs(shown - source));
            }
            matching += worst <= 2 ? 1 : 0;
        }
        EXPECT_GT(matching, compared * 99 / 100) << matching << " of " << compared;
        // Gone as a close takes it, its pictures released: the next start
        // reads the index afresh and would drop them with their records.
        ResourceManager::Instance().Release();
        app.reset();
    }
}

}  // namespace

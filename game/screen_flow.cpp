// The screen flow of the session: Escape and the overlays over a paused
// world, the pending steps and the screens served once the fade is black, in
// their fixed order, and the debug keys.
#include <array>

#include "engine/backend/input.h"
#include "engine/platform/geometry.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "frontend/menu.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/scene.h"
#include "game/session_sounds.h"
#include "heroine/audio_system.h"
#include "heroine/heroine.h"
#include "heroine/machine.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace sound = session_sound;

namespace {

constexpr std::int32_t MENU_GROUP = 4;
constexpr std::int32_t BONUS_GROUP = 64;
// The loading screen stays at full brightness this long after its last picture.
constexpr float TEXTURE_HOLD = 0.5f;
constexpr float FULL_BRIGHTNESS = 255.0f;

// The debug mode: typed D E B U G, it toggles; F5 adds savings in the shop,
// F6 jumps to the next location, F7 wins the level being played.
constexpr std::array<std::uint8_t, 5> DEBUG_SEQUENCE = {0x20, 0x12, 0x30, 0x16, 0x22};
constexpr std::uint8_t KEY_DEBUG_SAVINGS = 0x3F;
constexpr std::uint8_t KEY_DEBUG_SKIP = 0x40;
constexpr std::uint8_t KEY_DEBUG_WIN = 0x41;
constexpr std::int32_t DEBUG_SAVINGS = 5000;

// Where the debug jump lands: below the story level, the story level and
// level index of the next location's first level, with its comic page.
struct LocationJump {
    std::int32_t below;
    std::int32_t storyLevel;
    std::int32_t levelIndex;
    const char* comic;
};
constexpr LocationJump LOCATION_JUMPS[] = {
    {16, 16, 20, "COMICS_3"},
    {31, 31, 39, "COMICS_4"},
    {46, 46, 57, "COMICS_5"},
};

bool IsPlaying(std::uint32_t mode) {
    return mode == MODE_GAME || mode == (MODE_GAME | MODE_TRAINING);
}

bool IsPauseOverlay(std::uint32_t mode) {
    return mode == (MODE_GAME | MODE_PAUSED) || mode == (MODE_GAME | MODE_TRAINING | MODE_PAUSED);
}

// The picture of a late comic page. The story loads it when it reaches the
// page, but a continued game comes to the page without that, and a loading
// screen since then has released it: the page loads it when it shows,
// whatever its group.
void LoadPagePicture(backend::IRenderDevice* device, const char* id) {
    ResourceManager::Instance().LoadImageIfReleased(device, id, ~CoverageMask{0});
}

bool AnyKeyWentDown(const InputState& input) {
    for (std::size_t key = 0; key < input.currentKeys.size(); ++key) {
        if (input.KeyWentDown(static_cast<std::uint8_t>(key))) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CGameSession::Update(CAppFramework* window, backend::IRenderDevice* device,
                          const InputState& input, Vec2 scale, Vec2 /*offset*/, float elapsed) {
    UpdateNameEntry(window, elapsed);
    // Everything past this point plays a profile's game.
    if (GetCurrentProfile() == nullptr) {
        return;
    }
    HandleEscape(input);
    if (HasModeBits(MODE_PAUSED)) {
        UpdateOverlays(device, input, scale, elapsed);
    }
    if (!HasModeBits(MODE_FADE_OUT)) {
        // A game started from the menu kept the menu visible until now.
        if (HasModeBits(MODE_GAME)) {
            ClearModeBits(MODE_MENU);
        }
        if (!ServePendingSteps()) {
            return;
        }
        ServeScreen(device, input, scale, elapsed);
    }
    // The training guides play only while nothing covers the shop floor.
    if (m_gameMode == (MODE_GAME | MODE_TRAINING) && m_levelStartDelay <= 0.0f) {
        RunTrainingScript(input, scale, elapsed);
    }
    if (IsPlaying(m_gameMode)) {
        UpdateLevel(input, scale, elapsed);
    }
}

void CGameSession::HandleEscape(const InputState& input) {
    if (!input.KeyWentDown(backend::SCAN_ESCAPE) || !m_gameActive || HasModeBits(MODE_BRIEFING)) {
        return;
    }
    if (IsPlaying(m_gameMode)) {
        sound::PlaySample(sound::PAUSE, true);
        AddModeBits(MODE_PAUSED);
        g_orderList.DropAll();
        if (g_machine.IsWorking()) {
            sound::Manager().Pause(SoundType::Sample, sound::MACHINE_WORKING);
        }
        if (g_audioSystem.IsWorking()) {
            sound::PauseAudioEffects();
            PlayLevelMusic(false);
        }
    } else if (IsPauseOverlay(m_gameMode)) {
        ClearModeBits(MODE_PAUSED);
        if (g_machine.IsWorking()) {
            sound::Manager().Play(SoundType::Sample, sound::MACHINE_WORKING, false, false);
        }
        if (g_audioSystem.IsWorking()) {
            const auto effect =
                sound::FIRST_AUDIO_EFFECT + static_cast<unsigned>(g_audioSystem.GetLevel() - 1);
            sound::Manager().Play(SoundType::Sample, effect, false, true);
            sound::Manager().PauseAll(SoundType::Stream, false);
        }
    }
}

void CGameSession::UpdateOverlays(backend::IRenderDevice* device, const InputState& input,
                                  Vec2 scale, float elapsed) {
    // An overlay whose button has started the fade takes no second click:
    // a second OK would pay the level twice.
    if (HasModeBits(MODE_FADE_OUT)) {
        return;
    }
    if (IsPauseOverlay(m_gameMode)) {
        if (m_buttons[BTN_RESUME].CheckClick(input, scale)) {
            ClearModeBits(MODE_PAUSED);
        } else if (m_buttons[BTN_SAVE_AND_EXIT].CheckClick(input, scale)) {
            m_textureGroup = MENU_GROUP;
            AddModeBits(MODE_LOAD_TEXTURES | MODE_FADE_OUT | MODE_EXIT_TO_MENU);
            sound::PauseAmbient();
            sound::PauseSamples({sound::LEVEL_WON, sound::LEVEL_LOST});
        }
        return;
    }
    if (HasModeBits(MODE_BRIEFING)) {
        if (m_buttons[BTN_OK].CheckClick(input, scale)) {
            ClearModeBits(MODE_BRIEFING | MODE_PAUSED);
        }
        return;
    }
    const bool complete = HasModeBits(MODE_LEVEL_COMPLETE);
    if (!complete && !HasModeBits(MODE_LEVEL_FAILED)) {
        return;
    }
    // The button is tested once a frame: during the reveal its click only
    // shows every line.
    const bool clicked = m_buttons[complete ? BTN_OK : BTN_TRY_AGAIN].CheckClick(input, scale);
    if (m_statistics.shownLines < m_statistics.totalLines) {
        m_statistics.Update(input, scale, elapsed, m_level.bonus);
        if (clicked) {
            m_statistics.ShowAll(GetCurrentProfile()->levelCash);
        }
    } else if (clicked && complete) {
        CompleteLevel(device);
    } else if (clicked) {
        AddModeBits(MODE_RETRY | MODE_FADE_OUT);
        sound::Manager().PauseAll(SoundType::Sample, false);
    }
}

bool CGameSession::ServePendingSteps() {
    CProfile& profile = *GetCurrentProfile();
    if (HasModeBits(MODE_NEXT_LEVEL)) {
        // Training and bonus levels walk levels.xml without counting as
        // story levels.
        if (!m_level.bonus && profile.levelIndex != 1 && profile.levelIndex != 24) {
            profile.storyLevel = SaturateToInt32(std::int64_t{profile.storyLevel} + 1);
        }
        profile.levelIndex = SaturateToInt32(std::int64_t{profile.levelIndex} + 1);
        StartGame(false, false);
        return false;
    }
    if (HasModeBits(MODE_RETRY)) {
        if (CheckTriesLeft()) {
            StartGame(false, true);
        }
        return false;
    }
    return true;
}

bool CGameSession::FinishLeaving(std::uint32_t screen) {
    if (!HasModeBits(MODE_LEAVE_SCREEN)) {
        return false;
    }
    ClearModeBits(screen | MODE_LEAVE_SCREEN);
    return true;
}

void CGameSession::ServeScreen(backend::IRenderDevice* device, const InputState& input, Vec2 scale,
                               float elapsed) {
    CProfile& profile = *GetCurrentProfile();
    if (HasModeBits(MODE_COMICS_1)) {
        if (m_buttons[BTN_NEXT].CheckClick(input, scale)) {
            ClearModeBits(MODE_COMICS_1);
        }
    } else if (HasModeBits(MODE_COMICS_2)) {
        if (m_buttons[BTN_BACK].CheckClick(input, scale)) {
            AddModeBits(MODE_COMICS_1);
        }
        if (m_buttons[BTN_NEXT].CheckClick(input, scale)) {
            ClearModeBits(MODE_COMICS_2);
        }
    } else if (HasModeBits(MODE_PET_CHOICE)) {
        if (FinishLeaving(MODE_PET_CHOICE)) {
            return;
        }
        std::int32_t kind = -1;
        if (m_buttons[BTN_TURTLE_PERSON].CheckClick(input, scale)) {
            kind = 1;
        } else if (m_buttons[BTN_FISH_PERSON].CheckClick(input, scale)) {
            kind = 0;
        }
        if (kind >= 0) {
            profile.petKind = kind;
            g_pet.Init(g_location.GetLocation(), kind, profile.petLevel);
            LeaveScreen();
        }
    } else if (HasModeBits(MODE_COMICS_3 | MODE_COMICS_4 | MODE_GAME_COMPLETED)) {
        const std::uint32_t page = HasModeBits(MODE_COMICS_3)   ? MODE_COMICS_3
                                   : HasModeBits(MODE_COMICS_4) ? MODE_COMICS_4
                                                                : MODE_GAME_COMPLETED;
        LoadPagePicture(device, page == MODE_COMICS_3   ? "COMICS_3"
                                : page == MODE_COMICS_4 ? "COMICS_4"
                                                        : "COMICS_5");
        if (!FinishLeaving(page) && m_buttons[BTN_NEXT].CheckClick(input, scale)) {
            LeaveScreen();
        }
    } else if (HasModeBits(MODE_LOAD_TEXTURES)) {
        ServeLoadingScreen(device, elapsed);
    } else if (HasModeBits(MODE_MAP)) {
        if (FinishLeaving(MODE_MAP)) {
            if (IsPlaying(m_gameMode)) {
                PlayLevelMusic(true);
            }
            return;
        }
        m_mapMarker.Update(elapsed);
        if (m_buttons[BTN_PLAY].CheckClick(input, scale)) {
            LeaveScreen();
        }
    } else if (HasModeBits(MODE_SHOP)) {
        if (FinishLeaving(MODE_SHOP)) {
            if (IsPlaying(m_gameMode)) {
                PlayLevelMusic(true);
            }
            g_heroine.Reset(g_location.GetLocation(), false);
            // The pair she showed off or wore before a purchase is not drawn
            // in play.
            g_heroine.ReleaseUnusedFootwear();
            return;
        }
        if (m_buttons[BTN_FINISH].CheckClick(input, scale)) {
            LeaveScreen();
            SaveProfiles(PROFILES_FILE);
            g_scene.Update(input, scale, elapsed);
        } else if (m_buttons[BTN_BUY].CheckClick(input, scale) && m_pendingCode != 0) {
            ApplyPurchase();
        }
    } else if (HasModeBits(MODE_EXIT_TO_MENU)) {
        ReturnToMenu();
    } else if (HasModeBits(MODE_GAME_OVER_PAGE)) {
        m_gameMode = MODE_MENU;
        g_menu.OpenSubmenu("MAIN_4");
    }
}

void CGameSession::ServeLoadingScreen(backend::IRenderDevice* device, float elapsed) {
    ClearModeBits(MODE_PAUSED);
    if (FinishLeaving(MODE_LOAD_TEXTURES)) {
        if (m_textureGroup == MENU_GROUP) {
            sound::Manager().Play(SoundType::Stream, sound::MENU_STREAM, true, true);
        } else if (m_textureGroup == BONUS_GROUP) {
            sound::Manager().Play(SoundType::Stream, sound::BONUS_STREAM, true, true);
        }
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const auto group = static_cast<CoverageMask>(m_textureGroup);
    // Loading waits until the screen is fully visible: it draws its own
    // progress frames.
    if (resources.GetCurrentGroup() != m_textureGroup && GetFadeLevel() >= FULL_BRIGHTNESS) {
        resources.CountByGroup(group);
        resources.SetCurrentGroup(m_textureGroup);
        HtmlLog().Write("Black", "");
        HtmlLog().Write("Blue", "Loading textures:");
        resources.UnloadImagesByGroup(0);
        resources.LoadImages(device, group);
        if (m_textureGroup != MENU_GROUP) {
            // Only the chosen pet is drawn.
            const char* const unused[2][3] = {{"PET_TURTLE_1", "PET_TURTLE_2", "PET_TURTLE_3"},
                                              {"PET_FISH_1", "PET_FISH_2", "PET_FISH_3"}};
            for (const char* id : unused[GetCurrentProfile()->petKind == 1 ? 1 : 0]) {
                resources.UnloadImage(id);
            }
            // Nor does she wear more than one pair of shoes.
            g_heroine.ReleaseUnusedFootwear();
        }
        HtmlLog().Write("Black", "");
        m_textureHoldTimer = TEXTURE_HOLD;
    }
    if (resources.GetCurrentGroup() == m_textureGroup) {
        if (m_textureHoldTimer > 0.0f) {
            m_textureHoldTimer -= elapsed;
        }
        if (m_textureHoldTimer <= 0.0f) {
            m_textureHoldTimer = 0.0f;
            LeaveScreen();
        }
    }
}

void CGameSession::HandleKeys(backend::IRenderDevice* device, const InputState& input,
                              float /*elapsed*/) {
    CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return;
    }
    const std::size_t typed = m_debugKeys.size();
    if (typed < DEBUG_SEQUENCE.size() && input.KeyWentDown(DEBUG_SEQUENCE[typed])) {
        m_debugKeys.push_back(static_cast<char>(DEBUG_SEQUENCE[typed]));
        if (m_debugKeys.size() == DEBUG_SEQUENCE.size()) {
            m_debug = !m_debug;
            m_debugKeys.clear();
        }
    } else if (AnyKeyWentDown(input)) {
        // A key out of turn starts the sequence over; the first key of the
        // sequence begins it again at once.
        m_debugKeys.clear();
        if (input.KeyWentDown(DEBUG_SEQUENCE[0])) {
            m_debugKeys.push_back(static_cast<char>(DEBUG_SEQUENCE[0]));
        }
    }

    if (m_debugSkipPending && !HasModeBits(MODE_FADE_OUT)) {
        ServeDebugSkip(device);
    }
    if (!m_debug) {
        return;
    }
    if (input.KeyWentDown(KEY_DEBUG_SAVINGS) && HasModeBits(MODE_SHOP) && !HasModeBits(MODE_MAP)) {
        profile->savings = SaturateToInt32(std::int64_t{profile->savings} + DEBUG_SAVINGS);
        sound::PlaySample(sound::SAVINGS_ADDED);
    }
    if (input.KeyWentDown(KEY_DEBUG_SKIP) && !HasModeBits(MODE_MENU | MODE_FADE_OUT)) {
        ClearModeBits(MODE_PAUSED);
        AddModeBits(MODE_FADE_OUT);
        m_debugSkipPending = true;
        sound::PlaySample(sound::PAUSE);
    }
    if (input.KeyWentDown(KEY_DEBUG_WIN) && IsPlaying(m_gameMode) && m_levelStartDelay <= 0.0f) {
        WinLevelNow();
    }
}

void CGameSession::ServeDebugSkip(backend::IRenderDevice* device) {
    m_debugSkipPending = false;
    CProfile& profile = *GetCurrentProfile();
    for (const LocationJump& jump : LOCATION_JUMPS) {
        if (profile.storyLevel < jump.below) {
            profile.storyLevel = jump.storyLevel;
            profile.levelIndex = jump.levelIndex;
            ResourceManager::Instance().LoadImageById(device, jump.comic);
            break;
        }
    }
    StartGame(false, false);
}

void CGameSession::WinLevelNow() {
    m_statistics.target = m_level.expert;
    m_statistics.shownNumber = 0.0f;
    m_statistics.expertReached = true;
    m_statistics.turtlesSaved = m_level.CountTurtles();
    GetCurrentProfile()->levelCash = m_level.expert;
    if (HasModeBits(MODE_TRAINING)) {
        g_hintManager.CloseAll();
        AddModeBits(MODE_NEXT_LEVEL | MODE_FADE_OUT);
        return;
    }
    sound::Manager().StopAll(SoundType::Stream, false);
    sound::PauseAmbient();
    sound::PauseAudioEffects();
    sound::PlaySample(sound::LEVEL_WON);
    AddModeBits(MODE_LEVEL_COMPLETE | MODE_PAUSED);
}

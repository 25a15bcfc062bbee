#include "game/game_app.h"

#include "engine/backend/system.h"
#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/text_storage.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "frontend/menu_command.h"
#include "frontend/menu_scene.h"
#include "game/config_record.h"
#include "game/game_session.h"
#include "game/scene.h"

namespace {

constexpr float DESIGN_WIDTH = 1024.0f;
constexpr float DESIGN_HEIGHT = 768.0f;
constexpr float DESIGN_RATIO = DESIGN_HEIGHT / DESIGN_WIDTH;
constexpr std::uint32_t CLEAR_COLOUR = 0xFF000000;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
// The name entry: font, centre point in design units.
constexpr std::int32_t NAME_ENTRY_FONT = 1;
constexpr Vec2 NAME_ENTRY_POINT{512.0f, 391.0f};
constexpr unsigned MENU_MUSIC_STREAM = 0;
constexpr unsigned CREDITS_MUSIC_STREAM = 1;
// The high-score table: font, design top-left (lower in Japanese), rank
// column, score column and row step.
constexpr std::int32_t HIGH_SCORES_FONT = 1;
constexpr Vec2 HIGH_SCORES_POINT{345.0f, 196.0f};
constexpr Vec2 JAPANESE_HIGH_SCORES_POINT{345.0f, 200.0f};
constexpr float HIGH_SCORES_RANK_X = -45.0f;
constexpr float HIGH_SCORES_SCORE_RIGHT = 367.0f;
constexpr float HIGH_SCORES_ROW_STEP = 33.6f;
// The version and copyright lines of the menu's root page.
constexpr std::uint32_t MENU_LINE_COLOUR = 0xFFFFFF00;
constexpr float MENU_LINE_SCALE = 0.6f;

// The world moves only in plain play and in the shop; any other bit (pause,
// overlays, fades, pending steps) freezes it.
bool IsWorldRunning(std::uint32_t mode) {
    return mode == MODE_GAME || mode == (MODE_GAME | MODE_TRAINING) ||
           mode == (MODE_GAME | MODE_SHOP) || mode == (MODE_GAME | MODE_TRAINING | MODE_SHOP);
}

CSoundManager& Sound() {
    return ResourceManager::Instance().GetSoundManager();
}

}  // namespace

void CGameApp::UpdateScreenScale() {
    const PresentParameters& pp = GetPresentParameters();
    const auto width = static_cast<float>(pp.backBufferWidth);
    const auto height = static_cast<float>(pp.backBufferHeight);
    m_scaleX = width / DESIGN_WIDTH;
    m_scaleY = height / DESIGN_HEIGHT;
    m_offsetX = 0.0f;
    m_offsetY = 0.0f;
    m_splashScaleX = m_scaleX;
    m_splashScaleY = m_scaleY;
    m_splashOffsetX = 0.0f;
    m_splashOffsetY = 0.0f;
    if (IsWindowed() || GetDesktopWidth() <= 0) {
        return;
    }
    const float ratio =
        static_cast<float>(GetDesktopHeight()) / static_cast<float>(GetDesktopWidth());
    if (ratio > DESIGN_RATIO) {
        // A desktop narrower than 4:3 (5:4, say) shows the splash pictures
        // between bands at the top and bottom.
        const float band = (ratio - DESIGN_RATIO) * width * 0.5f;
        m_splashOffsetY = band;
        m_splashScaleY = (height - 2.0f * band) / DESIGN_HEIGHT;
    }
}

HResult CGameApp::OnInitOnce() {
    DeviceSettings& settings = GetSettings();
    // The display settings are chosen after this hook, so config.cfg decides
    // the first mode.
    g_gameSession.LoadConfig(CONFIG_FILE, &settings.requestedMode, &settings.preferWindowed);
    TextStorage().Initialize();
    g_highScores.Load(HtmlLog().GetUserFolder() + HIGH_SCORES_FILE);
    if (g_gameSession.LoadProfiles(PROFILES_FILE) == 0) {
        g_gameSession.SetNoProfilesAtStart(true);
    }

    if (settings.preferWindowed) {
        HtmlLog().Write("884400", "Run mode: windowed");
    } else {
        HtmlLog().Write("884400", "Run mode: fullscreen (%ix%ix%i)", settings.requestedMode.width,
                        settings.requestedMode.height,
                        static_cast<int>(settings.requestedMode.format));
    }
    return RESULT_OK;
}

HResult CGameApp::OnDeviceCreated() {
    UpdateScreenScale();
    const PresentParameters& pp = GetPresentParameters();
    if (Failed(g_inputDevices.Init(pp.backBufferWidth, pp.backBufferHeight))) {
        return RESULT_FAIL;
    }
    // Shows the splash and loading screens while everything needed at start
    // loads; what fails to load is logged and left empty.
    ResourceManager::Instance().Initialize(GetWindow(), GetDevice(), m_scaleX, m_scaleY, m_offsetX,
                                           m_offsetY, m_splashScaleX, m_splashScaleY,
                                           m_splashOffsetX, m_splashOffsetY);
    PopupTexts::Instance().SetScale(m_scaleX, m_scaleY);
    g_menu.SetScale(m_scaleX, m_scaleY);
    g_menu.SetDisplayModes(GetEnumeration().DistinctModes());
    g_menu.Load();
    ShowOptionsInMenu();
    g_menu.FillProfileItems(g_gameSession);
    g_menuScene.Load();
    g_scene.Init();
    // The loading screen fades out before the menu shows.
    g_gameSession.AddModeBits(MODE_FADE_OUT);
    return RESULT_OK;
}

HResult CGameApp::OnDeviceReset() {
    UpdateScreenScale();
    g_menu.SetScale(m_scaleX, m_scaleY);
    PopupTexts::Instance().SetScale(m_scaleX, m_scaleY);
    ResourceManager::Instance().OnResetDevice(GetDevice(), m_scaleX, m_scaleY, m_offsetX,
                                              m_offsetY);
    return RESULT_OK;
}

HResult CGameApp::OnUpdate() {
    const float elapsed = GetElapsedTime();
    g_inputDevices.PollKeyboard(elapsed);
    g_inputDevices.PollMouse(IsWindowed(), elapsed, m_scaleX, m_scaleY);
    g_gameSession.UpdateFade(elapsed);
    Sound().Update(elapsed);
    g_gameSession.Update(this, GetDevice(), g_inputDevices.GetState(), Vec2{m_scaleX, m_scaleY},
                         Vec2{m_offsetX, m_offsetY}, elapsed);
    g_gameSession.HandleKeys(GetDevice(), g_inputDevices.GetState(), elapsed);
    PopupTexts::Instance().Update(elapsed);
    // Once the loading screen has faded out, the menu takes over.
    if (g_gameSession.GetGameMode() == MODE_LOADING) {
        g_gameSession.SetGameMode(MODE_MENU);
        ResourceManager::Instance().ReleaseIntroResources();
        Sound().Play(SoundType::Stream, MENU_MUSIC_STREAM, true, false);
    }
    if (g_gameSession.HasModeBits(MODE_MENU)) {
        // A failed frame closes the window: the menu's exit item.
        if (!g_menu.Update(*this, g_inputDevices.GetState(), elapsed)) {
            return RESULT_FAIL;
        }
        g_menuScene.Update(g_menu.GetCurrentPath(), g_inputDevices.GetState(), m_scaleX, m_scaleY,
                           elapsed);
        g_gameSession.GetCredits().Update(elapsed);
    }
    if (IsWorldRunning(g_gameSession.GetGameMode())) {
        g_scene.Update(g_inputDevices.GetState(), Vec2{m_scaleX, m_scaleY}, elapsed);
    }
    return RESULT_OK;
}

HResult CGameApp::OnRender() {
    backend::IRenderDevice* device = GetDevice();
    if (device == nullptr) {
        return RESULT_OK;
    }
    device->Clear(CLEAR_COLOUR);
    if (!device->BeginScene()) {
        return RESULT_OK;
    }
    // Single bits: while one screen hands over to another both are drawn.
    if (g_gameSession.HasModeBits(MODE_LOADING)) {
        ResourceManager::Instance().DrawIntroScreen(device);
        ResourceManager::Instance().DrawBorderFill(device, WHITE);
    }
    const Vec2 scale{m_scaleX, m_scaleY};
    if (g_gameSession.HasModeBits(MODE_MENU)) {
        g_menuScene.Render(m_scaleX, m_scaleY);
        ResourceManager::Instance().DrawBorderFill(device, WHITE);
        g_gameSession.GetCredits().Render(scale);
        g_gameSession.RenderNameEntry(NAME_ENTRY_FONT, scale, NAME_ENTRY_POINT, WHITE, true, 0.0f);
        const bool japanese = TextStorage().GetLanguage() == "Japanese";
        g_highScores.Draw(HIGH_SCORES_FONT, scale, 1.0f,
                          japanese ? JAPANESE_HIGH_SCORES_POINT : HIGH_SCORES_POINT, WHITE, 0.0f,
                          HIGH_SCORES_RANK_X, HIGH_SCORES_SCORE_RIGHT, HIGH_SCORES_ROW_STEP);
        g_menu.Draw();
        g_menu.DrawVersion(0, 895.0f, 735.0f, MENU_LINE_SCALE, MENU_LINE_COLOUR);
        g_menu.DrawCopyright(0, 300.0f, 735.0f, MENU_LINE_SCALE, MENU_LINE_COLOUR);
        g_menu.DrawCursor();
    }
    if (g_gameSession.HasModeBits(MODE_GAME)) {
        ResourceManager::Instance().DrawBorderFill(device, WHITE);
        g_scene.Render(device, g_inputDevices.GetState(), scale);
    }
    PopupTexts::Instance().Draw();
    // The debug mode's only trace; the loading screen keeps its frames clean.
    if (g_gameSession.IsDebugOn() &&
        (!g_gameSession.HasModeBits(MODE_LOAD_TEXTURES) || g_gameSession.HasModeBits(MODE_MENU))) {
        ResourceManager::Instance().DrawTextAt(1, u"*", 12.0f * m_scaleX, 2.0f * m_scaleY, WHITE);
    }
    device->EndScene();
    return RESULT_OK;
}

HResult CGameApp::OnDeviceLost() {
    ResourceManager::Instance().OnLostDevice();
    return RESULT_OK;
}

HResult CGameApp::OnDeviceDestroyed() {
    // Every resource, and the sound output stopped and freed.
    ResourceManager::Instance().Release();
    return RESULT_OK;
}

HResult CGameApp::OnShutdown() {
    ResourceManager::Instance().FinalCleanup();
    g_inputDevices.ReleaseKeyboard();
    g_inputDevices.ReleaseMouse();
    const DeviceSettings& settings = GetSettings();
    g_gameSession.SaveConfig(CONFIG_FILE, settings.requestedMode, settings.preferWindowed);
    return RESULT_OK;
}

std::intptr_t CGameApp::MsgProc(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
    switch (message) {
        case WM_CLOSE:
            if (!IsClosing()) {
                backend::ShellOpen(CLOSE_LINK);
                backend::ShellOpen(CLOSE_LAUNCHER);
            }
            break;
        case WM_CHAR:
            g_gameSession.OnNameChar(this, static_cast<char16_t>(wParam));
            break;
        case WM_MOUSEMOVE:
            // In fullscreen the cursor comes from the mouse poll instead.
            if (IsWindowed() && IsActive()) {
                InputState& state = g_inputDevices.GetState();
                state.cursorX = static_cast<float>(LParamX(lParam));
                state.cursorY = static_cast<float>(LParamY(lParam));
            }
            break;
        case WM_COMMAND:
            OnMenuCommand(LowWord(wParam), lParam);
            break;
        default:
            break;
    }
    return CAppFramework::MsgProc(message, wParam, lParam);
}

void CGameApp::ShowOptionsInMenu() {
    const DeviceSettings& settings = GetSettings();
    g_menu.SetDisplayModeOptions(settings.requestedMode, !settings.preferWindowed);
    g_menu.SetVolumeOptions(Sound().GetVolume(SoundType::Stream),
                            Sound().GetVolume(SoundType::Sample));
}

void CGameApp::ApplyVideoOptions() {
    DeviceSettings& settings = GetSettings();
    if (g_menu.GetDisplayModeOptions(&settings.requestedMode, &settings.preferWindowed)) {
        Sound().SetStoredVolumes(Sound().GetVolume(SoundType::Stream),
                                 Sound().GetVolume(SoundType::Sample));
        HtmlLog().WriteEx("884400", false, true, "<BR>APPLY VIDEO OPTIONS");
        if (settings.preferWindowed) {
            HtmlLog().Write("884400", "Windowed mode");
        } else {
            HtmlLog().Write("884400", "Fullscreen mode: %ix%ix%i", settings.requestedMode.width,
                            settings.requestedMode.height,
                            static_cast<int>(settings.requestedMode.format));
        }
        // Re-chooses the settings and resets the device before returning.
        SendMessage(WM_COMMAND, COMMAND_APPLY_SETTINGS, 0);
    }
    g_menu.GoToRoot();
}

void CGameApp::AddPlayerFromEntry() {
    if (g_gameSession.GetTypedName().empty()) {
        return;
    }
    if (!g_gameSession.AddProfileFromEntry()) {
        // The list is full or the name taken: the entry stays open for another.
        g_menu.SetItemDisabled("CREATE_PLAYER_2", false);
        return;
    }
    // The very first player came from the start of the game, not from the
    // profile page, so the menu goes back to its root.
    if (g_gameSession.HadNoProfilesAtStart()) {
        g_menu.GoToRoot();
    } else {
        g_menu.Back();
    }
    g_gameSession.SetNoProfilesAtStart(false);
    g_menu.FillProfileItems(g_gameSession);
}

void CGameApp::OnMenuCommand(std::uint32_t command, std::intptr_t value) {
    switch (command) {
        case COMMAND_GET_OPTIONS:
            ShowOptionsInMenu();
            break;
        case COMMAND_SET_VIDEO_OPTIONS:
            ApplyVideoOptions();
            break;
        case COMMAND_SET_MUSIC_VOLUME:
            Sound().SetVolume(SoundType::Stream, static_cast<int>(value));
            break;
        case COMMAND_SET_SOUND_VOLUME:
            Sound().SetVolume(SoundType::Sample, static_cast<int>(value));
            break;
        case COMMAND_SHOW_HIGH_SCORES:
            g_highScores.SetVisible(true);
            break;
        case COMMAND_HIDE_HIGH_SCORES:
            g_highScores.SetVisible(false);
            break;
        case COMMAND_SHOW_CREDITS:
            Sound().Play(SoundType::Stream, CREDITS_MUSIC_STREAM, true, true);
            g_gameSession.GetCredits().Restart();
            break;
        case COMMAND_HIDE_CREDITS:
            Sound().Play(SoundType::Stream, MENU_MUSIC_STREAM, true, true);
            g_gameSession.GetCredits().Stop();
            break;
        case COMMAND_EDIT_PLAYER_NAME:
            g_menu.OpenSubmenu("PROFILE_1");
            g_menu.SetItemDisabled("CREATE_PLAYER_2", true);
            g_menu.SetItemDisabled("CREATE_PLAYER_4", g_gameSession.GetProfileCount() == 0);
            g_gameSession.OpenNameEntry();
            break;
        case COMMAND_CANCEL_EDIT_PLAYER_NAME:
            g_gameSession.CloseNameEntry();
            g_menu.Back();
            break;
        case COMMAND_NEW_PLAYER:
            AddPlayerFromEntry();
            break;
        case COMMAND_DELETE_PLAYER:
            if (g_gameSession.DeleteProfile(g_menu.GetSelectedProfileName())) {
                g_menu.FillProfileItems(g_gameSession);
            }
            break;
        case COMMAND_SELECT_PLAYER:
            g_gameSession.SelectProfile(g_menu.GetSelectedProfileName());
            break;
        case COMMAND_MOUSE_EXCLUSIVE:
            g_inputDevices.SetMouseCooperation(IsWindowed(), true);
            break;
        case COMMAND_MOUSE_NOT_EXCLUSIVE:
            g_inputDevices.SetMouseCooperation(IsWindowed(), false);
            break;
        case COMMAND_CHECK_OLD_GAME:
            if (g_gameSession.HasGameInProgress()) {
                g_menu.OpenSubmenu("MAIN_1");
            } else {
                g_gameSession.StartGame(true, false);
            }
            break;
        case COMMAND_NEW_GAME:
            g_gameSession.StartGame(true, false);
            break;
        case COMMAND_CONTINUE_GAME:
            g_gameSession.StartGame(false, false);
            break;
        case COMMAND_CALL_PROMO_URL:
            backend::ShellOpen(PROMO_LINK);
            break;
        default:
            // The editor, difficulty, level and pack commands and "_resume"
            // have nothing to do in this game.
            break;
    }
}

#include "game/game_app.h"

#include "engine/backend/system.h"
#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"

namespace {

constexpr float DESIGN_WIDTH = 1024.0f;
constexpr float DESIGN_HEIGHT = 768.0f;
constexpr float DESIGN_RATIO = DESIGN_HEIGHT / DESIGN_WIDTH;
constexpr std::uint32_t CLEAR_COLOUR = 0xFF000000;

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
    // config.cfg (requested mode, prefer-windowed flag, volumes) comes first
    // here once the session reads it; until then the defaults stand.
    TextStorage().Initialize();
    // high_scores.sav and profiles.sav follow here.

    const DeviceSettings& settings = GetSettings();
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
    // The menu's scale, display modes and options, the menu backdrop, the
    // scene and the loading fade follow here.
    return RESULT_OK;
}

HResult CGameApp::OnDeviceReset() {
    UpdateScreenScale();
    // The menu's scale follows here.
    PopupTexts::Instance().SetScale(m_scaleX, m_scaleY);
    ResourceManager::Instance().OnResetDevice(GetDevice(), m_scaleX, m_scaleY, m_offsetX,
                                              m_offsetY);
    return RESULT_OK;
}

HResult CGameApp::OnUpdate() {
    const float elapsed = GetElapsedTime();
    g_inputDevices.PollKeyboard(elapsed);
    g_inputDevices.PollMouse(IsWindowed(), elapsed, m_scaleX, m_scaleY);
    // The session's fade comes first here.
    ResourceManager::Instance().GetSoundManager().Update(elapsed);
    // The session's update and keys come here.
    PopupTexts::Instance().Update(elapsed);
    // The switch from loading to the menu, the menu and the scene follow here.
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
    // The loading screen, the menu and the game are drawn here, by mode.
    PopupTexts::Instance().Draw();
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
    // config.cfg is written here once the session owns it.
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
            // The session's name entry takes the character here.
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
            // The menu's commands 40011 to 40040 are handled here.
            break;
        default:
            break;
    }
    return CAppFramework::MsgProc(message, wParam, lParam);
}

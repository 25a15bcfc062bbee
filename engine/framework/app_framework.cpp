#include "engine/framework/app_framework.h"

#include <cstdio>

#include "engine/backend/clock.h"
#include "engine/backend/system.h"
#include "engine/framework/app_timer.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

CAppFramework* CAppFramework::s_application = nullptr;
int CAppFramework::s_pauseCount = 0;
bool CAppFramework::s_errorBoxShown = false;

namespace {

const char* const EXIT_SENTENCE = "\n\nThis application will now exit.";
// Opened when the video system cannot start; the request is only recorded.
const char* const VIDEO_HELP_ADDRESS = "https://www.libsdl.org/";

constexpr std::uint32_t LOST_DEVICE_SLEEP_MS = 100;
// While paused the loop sleeps in the window's event wait; a close request
// (SIGTERM included) wakes it at once, so the bound of one wait hardly matters.
constexpr int PAUSED_WAIT_MS = 250;
constexpr std::size_t MAX_FRAME_STATS = 89;
// Assumed when the display mode gives no refresh rate.
constexpr int DEFAULT_REFRESH_RATE = 60;

// Frame-rate statistics of the process.
int g_statsFrames = 0;
double g_statsLastTime = 0.0;

const char* ErrorText(HResult code) {
    switch (static_cast<std::uint32_t>(code)) {
        case 0x82000001u:
            return "Could not initialize Direct3D. Please make sure\nDirectX9 has been correctly "
                   "installed on your system.\nYou can download the latest version of DirectX "
                   "from\nthe official Microsoft web site.";
        case 0x82000002u:
            return "Could not create window.\n";
        case 0x82000003u:
            return "Could not find any compatible Direct3D devices.\n";
        case 0x82000004u:
            return "This application cannot run in a desktop\nwindow with the current display "
                   "settings.\nPlease change your desktop settings to a\n16- or 32-bit display "
                   "mode and re-run.";
        case 0x82000005u:
            return "No hardware-accelerated Direct3D devices were found.";
        case 0x82000006u:
            return "This application requires functionality that is\nnot available on your "
                   "Direct3D hardware accelerator.";
        case 0x82000007u:
            return "Your Direct3D hardware accelerator cannot\nrender into a window.\n";
        case 0x82000008u:
            return "Your Direct3D hardware accelerator cannot\nrender into a window with the "
                   "current\ndesktop display settings.\n";
        case 0x82000009u:
            return "This application requires functionality that is\nnot available on your "
                   "Direct3D hardware accelerator\nwith the current desktop display settings.\n";
        case 0x8200000Au:
            return "A D3D object has a non-zero reference\ncount (meaning things were not "
                   "properly\ncleaned up).";
        case 0x8200000Bu:
            return "Could not load required media.";
        case 0x8200000Cu:
            return "Could not reset the Direct3D device.";
        case 0x8200000Du:
            return "Warning: Nothing will be rendered.\nThe reference rendering device was "
                   "selected, but your\ncomputer only has a reduced-functionality reference "
                   "device\ninstalled.  Install the DirectX SDK to get the full\nreference "
                   "device.\n";
        case 0x8200000Eu:
            return "Game is already started.";
        case 0x8007000Eu:
            return "Not enough memory.";
        case 0x80070002u:
            return "Could not load required media.";
        case 0x8876017Cu:
            return "Not enough video memory.";
        case 0x88760827u:
            return "A serious problem occured inside the display driver.";
        default:
            return "Generic application error.";
    }
}

// A failed reset is reported as such, unless video memory ran out.
HResult ResetFailureCode(HResult code) {
    return code == E_OUT_OF_VIDEO_MEMORY ? code : APPERR_RESETFAILED;
}

}  // namespace

CAppFramework::CAppFramework() {
    m_enumeration.SetCapsCallback([this](const DeviceCaps& caps, VertexProcessingType type,
                                         std::uint32_t adapterFormat,
                                         std::uint32_t backBufferFormat) {
        const std::uint32_t behaviour = type == VERTEX_PROCESSING_SOFTWARE
                                            ? BEHAVIOUR_SOFTWARE_VERTEX_PROCESSING
                                            : BEHAVIOUR_MIXED_VERTEX_PROCESSING;
        return Succeeded(CheckDeviceCaps(caps, behaviour, adapterFormat, backBufferFormat));
    });
    s_application = this;
    // Paused until Create has finished; this first pause also brings the
    // resource manager, with its sound manager, into being.
    Pause(true);
}

CAppFramework::~CAppFramework() {
    // Normally WM_CLOSE has released everything; after a start-up that failed
    // without closing the window, what is left goes here, without the hooks of
    // an application that no longer exists.
    m_device.reset();
    DestroyWindow();
    m_enumeration.Cleanup();
    if (s_application == this) {
        s_application = nullptr;
    }
}

HResult CAppFramework::AdjustWindowForMode() {
    // On this platform the window's mode is its style and its display mode at
    // once: windowed it gets its client size back, centred; fullscreen it
    // takes the chosen display mode. The device picks the new size up when it
    // is created or reset.
    if (!m_window) {
        return RESULT_OK;
    }
    if (m_windowed) {
        m_window->SetWindowed(m_clientWidth, m_clientHeight);
        m_clientRectWidth = m_clientWidth;
        m_clientRectHeight = m_clientHeight;
    } else {
        m_window->SetFullscreen(m_settings.fullscreenHalf.displayMode);
        m_window->ClientSize(m_clientRectWidth, m_clientRectHeight);
    }
    return RESULT_OK;
}

void CAppFramework::UpdateFrameStats() {
    ++g_statsFrames;
    const double now = AppTimer(TIMER_GET_ABSOLUTE_TIME);
    const double interval = now - g_statsLastTime;
    if (interval <= 1.0) {
        return;
    }
    m_framesPerSecond = static_cast<float>(g_statsFrames / interval);
    g_statsLastTime = now;
    g_statsFrames = 0;
    // No multisampling on this platform, so its label stays empty.
    char text[128];
    std::snprintf(text, sizeof(text), "%.02f fps (%dx%d), %s%s%s",
                  static_cast<double>(m_framesPerSecond), m_backBufferWidth, m_backBufferHeight, "",
                  "", "");
    m_frameStats.assign(text);
    if (m_frameStats.size() > MAX_FRAME_STATS) {
        m_frameStats.resize(MAX_FRAME_STATS);
    }
}

HResult CAppFramework::CheckDeviceCaps(const DeviceCaps&, std::uint32_t, std::uint32_t,
                                       std::uint32_t) {
    return RESULT_OK;
}

HResult CAppFramework::Create() {
    CHtmlLog& log = HtmlLog();

    // A refused second start must leave the running game's log alone, so the
    // log only starts once the guard has let this process through.
    if (!backend::AcquireSingleInstance(m_instanceName)) {
        return ShowError(APPERR_ALREADY_STARTED, true);
    }
    log.Start();

    if (!backend::Video().Init()) {
        log.Write("Red", "Couldn't create Direct3D");
        if (!s_errorBoxShown) {
            backend::ShellOpen(VIDEO_HELP_ADDRESS);
            s_errorBoxShown = true;
            backend::ShowErrorBox(m_title,
                                  std::string(ErrorText(APPERR_NODIRECT3D)) + EXIT_SENTENCE);
        }
        return APPERR_NODIRECT3D;
    }
    m_direct3D = true;

    backend::DisplayMode desktop;
    backend::Video().DesktopMode(desktop);
    m_desktopWidth = desktop.width;
    m_desktopHeight = desktop.height;
    log.Write("Black", "Desktop resolution:");
    log.Write("Gray", "%ix%i", m_desktopWidth, m_desktopHeight);

    HResult result = m_enumeration.Enumerate();
    if (Failed(result)) {
        log.Write("Red", "Enumeration error: %x", result);
        return FailStartup(result);
    }

    log.WriteEx("", false, false, "");
    log.Write("Blue", "Creating window");
    if (!m_window) {
        backend::WindowDesc desc;
        desc.title = m_title;
        desc.clientWidth = m_clientWidth;
        desc.clientHeight = m_clientHeight;
        m_window = backend::Video().CreateWindow(desc);
        if (!m_window) {
            log.Write("Red", "Couldn't create window");
            ReleaseDirect3D();
            if (!s_errorBoxShown) {
                s_errorBoxShown = true;
                backend::ShowErrorBox(m_title,
                                      std::string(ErrorText(APPERR_NOWINDOW)) + EXIT_SENTENCE);
            }
            return APPERR_NOWINDOW;
        }
    }
    // The backend hides the system cursor for every window: the game draws its own.
    m_window->ClientSize(m_clientRectWidth, m_clientRectHeight);
    log.Write("Green", "Complete");

    result = OnInitOnce();
    if (Failed(result)) {
        return FailStartup(result);
    }
    result = ChooseInitialSettings();
    if (Failed(result)) {
        return FailStartup(result);
    }
    AppTimer(TIMER_START);
    result = InitializeDevice();
    if (Failed(result)) {
        return FailStartup(result);
    }
    Pause(false);
    return RESULT_OK;
}

HResult CAppFramework::FailStartup(HResult code) {
    ReleaseDirect3D();
    return ShowError(code, true);
}

int CAppFramework::Run() {
    while (!m_quitPosted && m_window) {
        backend::Event event;
        const bool taken =
            m_active ? m_window->PollEvent(event) : m_window->WaitEvent(event, PAUSED_WAIT_MS);
        if (taken) {
            DispatchEvent(event);
            continue;
        }
        if (m_deviceLost) {
            backend::Clock().Sleep(LOST_DEVICE_SLEEP_MS);
        }
        if (m_active && Failed(RenderFrame())) {
            SendMessage(WM_CLOSE);
        }
    }
    return m_exitCode;
}

void CAppFramework::DispatchEvent(const backend::Event& event) {
    switch (event.type) {
        case backend::EventType::Close:
            SendMessage(WM_CLOSE);
            break;
        case backend::EventType::FocusLost:
            SendMessage(WM_ACTIVATEAPP, 0);
            break;
        case backend::EventType::FocusGained:
            SendMessage(WM_ACTIVATEAPP, 1);
            break;
        case backend::EventType::Minimised:
            SendMessage(WM_SIZE, SIZE_MINIMIZED);
            break;
        case backend::EventType::Restored:
            SendMessage(WM_SIZE, SIZE_RESTORED);
            break;
        case backend::EventType::Exposed:
            SendMessage(WM_PAINT);
            break;
        case backend::EventType::MouseMoved:
            SendMessage(WM_MOUSEMOVE, 0, PointLParam(event.x, event.y));
            break;
        case backend::EventType::Char:
            SendMessage(WM_CHAR, event.code);
            break;
        case backend::EventType::KeyDown:
            SendMessage(WM_KEYDOWN, event.code);
            break;
        case backend::EventType::KeyUp:
            SendMessage(WM_KEYUP, event.code);
            break;
        case backend::EventType::Wheel:
            SendMessage(WM_MOUSEWHEEL, static_cast<std::uintptr_t>(event.y));
            break;
        default:
            // Buttons have no message of their own: the backend has already
            // put them into the input state the polls read.
            break;
    }
}

std::intptr_t CAppFramework::SendMessage(std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
    return MsgProc(message, wParam, lParam);
}

HResult CAppFramework::RenderFrame() {
    if (!m_device) {
        return RESULT_FAIL;
    }
    if (m_deviceLost) {
        switch (m_device->Status()) {
            case backend::DeviceStatus::Ok:
                m_deviceLost = false;
                break;
            case backend::DeviceStatus::Lost:
                return RESULT_OK;
            case backend::DeviceStatus::NeedsReset:
                if (m_windowed) {
                    backend::DisplayMode desktop;
                    if (backend::Video().DesktopMode(desktop)) {
                        m_enumeration.SetDesktopMode(desktop);
                        m_settings.windowedHalf.displayMode = desktop;
                        m_presentParameters.backBufferFormat = desktop.format;
                    }
                }
                return ResetDevice();
        }
    }

    const double appTime = AppTimer(TIMER_GET_APP_TIME);
    const double elapsed = AppTimer(TIMER_GET_ELAPSED_TIME);
    if (m_frameMoving && elapsed == 0.0) {
        return RESULT_OK;
    }
    if (m_frameMoving || m_singleStep) {
        m_appTime = static_cast<float>(appTime);
        m_elapsedTime = static_cast<float>(elapsed);
        const HResult result = OnUpdate();
        if (Failed(result)) {
            return result;
        }
        m_singleStep = false;
    }
    // An update may close the program (a must-exit error from a command sent
    // inside it); there is nothing left to draw on then.
    if (!m_device) {
        return RESULT_OK;
    }
    const HResult result = OnRender();
    if (Failed(result)) {
        return result;
    }
    UpdateFrameStats();
    m_device->SetVSync(true);
    if (!m_device->Present()) {
        m_deviceLost = m_device->Status() != backend::DeviceStatus::Ok;
    }
    PaceFrame();
    return RESULT_OK;
}

double CAppFramework::RefreshPeriod() const {
    int rate = m_settings.Current().displayMode.refreshRate;
    if (rate <= 0) {
        rate = m_settings.windowedHalf.displayMode.refreshRate;
    }
    return rate > 0 ? 1.0 / rate : 1.0 / DEFAULT_REFRESH_RATE;
}

void CAppFramework::PaceFrame() {
    backend::IClock& clock = backend::Clock();
    const double period = RefreshPeriod();
    const double now = clock.Seconds();
    const double due = m_presentDue + period;
    if (m_presentDue <= 0.0 || now >= due || due - now > period) {
        // The first frame, a frame that took longer than a period, or a clock
        // that jumped: pacing starts again from here.
        m_presentDue = now;
        return;
    }
    // Counting from when the present was due rather than from when the sleep
    // ended keeps whole milliseconds from adding up to a slower rate.
    const auto milliseconds = static_cast<std::uint32_t>((due - now) * 1000.0);
    if (milliseconds > 0) {
        clock.Sleep(milliseconds);
    }
    m_presentDue = due;
}

void CAppFramework::Pause(bool pause) {
    s_pauseCount += pause ? 1 : -1;
    const bool wasActive = m_active;
    m_active = s_pauseCount == 0;
    if (m_active != wasActive) {
        UpdateMouseCapture();
    }
    if (pause && s_pauseCount == 1 && m_frameMoving) {
        AppTimer(TIMER_STOP);
        ResourceManager::Instance().GetSoundManager().PauseOutput();
    }
    if (s_pauseCount == 0 && m_frameMoving) {
        ResourceManager::Instance().GetSoundManager().ResumeOutput();
        AppTimer(TIMER_START);
    }
}

HResult CAppFramework::ShowError(HResult code, bool mustExit) {
    if (s_errorBoxShown) {
        return code;
    }
    if (mustExit || code == E_DRIVER_INTERNAL_ERROR) {
        s_errorBoxShown = true;
        backend::ShowErrorBox(m_title, std::string(ErrorText(code)) + EXIT_SENTENCE);
        if (m_window) {
            SendMessage(WM_CLOSE);
        }
    }
    return code;
}

void CAppFramework::CleanupDevice() {
    if (!m_device) {
        return;
    }
    if (m_deviceObjectsRestored) {
        m_deviceObjectsRestored = false;
        OnDeviceLost();
    }
    if (m_deviceObjectsCreated) {
        m_deviceObjectsCreated = false;
        OnDeviceDestroyed();
    }
    m_device.reset();
}

void CAppFramework::ReleaseDirect3D() {
    // The video system owns the window: it is shut only once the window is
    // gone, which WM_CLOSE (or, failing that, the destructor) sees to.
    if (!m_direct3D || m_window) {
        return;
    }
    m_direct3D = false;
    backend::Video().Quit();
}

void CAppFramework::DestroyWindow() {
    m_window.reset();
    ReleaseDirect3D();
}

void CAppFramework::ApplyCursorClip() {
    if (!m_window) {
        return;
    }
    if (!m_windowed && m_clipCursorWhenFullscreen) {
        m_window->ConfineCursor(true);
    } else if (m_windowed) {
        m_window->ConfineCursor(false);
    }
    UpdateMouseCapture();
}

void CAppFramework::UpdateMouseCapture() {
    if (!m_window) {
        return;
    }
    // The system pointer stops at the screen's edge; in a fullscreen mode
    // narrower than the design width scaled by the cursor's speed it would
    // stop the game's cursor short of the edges. Relative mode keeps the
    // motion coming.
    const bool capture = !m_windowed && m_active;
    m_window->SetRelativeMouse(capture);
    // A minimise released the clip and nothing resets the device on the way
    // back, so it is taken up again here.
    if (capture && m_clipCursorWhenFullscreen) {
        m_window->ConfineCursor(true);
    }
}

HResult CAppFramework::HandleSizeChange() {
    if (m_ignoreSizeChanges || !m_window) {
        return RESULT_OK;
    }
    int width = 0;
    int height = 0;
    m_window->ClientSize(width, height);
    if (width == m_clientRectWidth && height == m_clientRectHeight) {
        return RESULT_OK;
    }
    m_clientRectWidth = width;
    m_clientRectHeight = height;
    Pause(true);
    m_presentParameters.backBufferWidth = width;
    m_presentParameters.backBufferHeight = height;
    HResult result = RESULT_OK;
    if (m_device) {
        result = ResetDevice();
        if (Failed(result)) {
            result = ShowError(ResetFailureCode(result), true);
        }
    }
    Pause(false);
    return result;
}

HResult CAppFramework::SwitchFullscreen() {
    const DeviceCombo* before = m_settings.Current().combo;
    const DeviceCombo* target =
        m_windowed ? m_settings.fullscreenHalf.combo : m_settings.windowedHalf.combo;
    if (before == nullptr || target == nullptr) {
        // Nothing was found for the other mode: switching would leave the
        // device without settings.
        return APPERR_RESETFAILED;
    }
    Pause(true);
    m_ignoreSizeChanges = true;
    m_windowed = !m_windowed;
    m_settings.windowed = m_windowed;
    AdjustWindowForMode();

    HResult result = RESULT_OK;
    if (target->adapterOrdinal == before->adapterOrdinal &&
        target->deviceType == before->deviceType) {
        FillPresentParameters();
        result = ResetDevice();
    } else {
        CleanupDevice();
        result = InitializeDevice();
    }
    if (Failed(result)) {
        result = ResetFailureCode(result);
        m_ignoreSizeChanges = false;
        if (!m_windowed) {
            m_windowed = true;
            m_settings.windowed = true;
            AdjustWindowForMode();
        }
        return ShowError(result, true);
    }
    m_ignoreSizeChanges = false;
    Pause(false);
    return RESULT_OK;
}

HResult CAppFramework::ApplyNewSettings() {
    const HResult result = ChooseInitialSettings();
    if (Failed(result)) {
        ReleaseDirect3D();
        return ShowError(result, true);
    }
    m_windowed = m_settings.windowed;
    // The window takes its new mode before the reset, which sizes the back
    // buffer after the window.
    AdjustWindowForMode();
    FillPresentParameters();
    ResetDevice();
    if (!m_frameMoving) {
        m_singleStep = true;
        AppTimer(TIMER_START);
        AppTimer(TIMER_STOP);
    }
    return RESULT_OK;
}

// --- Window messages ---

std::intptr_t CAppFramework::MsgProc(std::uint32_t message, std::uintptr_t wParam,
                                     [[maybe_unused]] std::intptr_t lParam) {
    switch (message) {
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                if (!m_windowed && m_clipCursorWhenFullscreen && m_window) {
                    m_window->ConfineCursor(false);
                }
                Pause(true);
                m_minimised = true;
                m_maximised = false;
            } else if (wParam == SIZE_MAXIMIZED) {
                if (m_minimised) {
                    Pause(false);
                }
                m_minimised = false;
                m_maximised = true;
                HandleSizeChange();
            } else if (wParam == SIZE_RESTORED) {
                if (m_maximised) {
                    m_maximised = false;
                    HandleSizeChange();
                } else if (m_minimised) {
                    Pause(false);
                    m_minimised = false;
                    HandleSizeChange();
                }
            }
            break;

        case WM_ACTIVATE:
        case WM_ACTIVATEAPP:
            if (wParam == 1 || wParam == 2) {
                if (m_device && !m_active && !m_minimised && m_deviceObjectsCreated &&
                    m_deviceObjectsRestored) {
                    Pause(false);
                }
            } else if (wParam == 0 && m_active) {
                Pause(true);
            }
            break;

        case WM_PAINT:
            // Paused in a window: show the last state again, without an update.
            if (m_device && !m_active && m_windowed && m_deviceObjectsCreated &&
                m_deviceObjectsRestored) {
                OnRender();
                m_device->Present();
            }
            break;

        case WM_CLOSE: {
            if (m_closing) {
                return 0;
            }
            m_closing = true;
            CleanupDevice();
            OnShutdown();
            DestroyWindow();
            m_quitPosted = true;
            m_exitCode = 0;
            HtmlLog().WriteEx("Black", false, true, "<BR>Log is finished");
            return 0;
        }

        case WM_SETCURSOR:
            // The system cursor is always hidden here, and there is no
            // hardware cursor to show.
            if (m_active && !m_windowed) {
                return MSG_TRUE;
            }
            break;

        case WM_NCHITTEST:
            if (!m_windowed) {
                return HTCLIENT;
            }
            break;

        case WM_COMMAND:
            switch (LowWord(wParam)) {
                case COMMAND_RESET_DEVICE:
                    Pause(true);
                    ResetDevice();
                    Pause(false);
                    return 0;
                case COMMAND_APPLY_SETTINGS:
                    Pause(true);
                    ApplyNewSettings();
                    Pause(false);
                    return 0;
                case COMMAND_TOGGLE_FULLSCREEN:
                    Pause(true);
                    if (Failed(SwitchFullscreen())) {
                        ShowError(APPERR_RESETFAILED, true);
                    }
                    Pause(false);
                    return 0;
                case COMMAND_TOGGLE_FRAME_MOVING:
                    m_frameMoving = !m_frameMoving;
                    AppTimer(m_frameMoving ? TIMER_START : TIMER_STOP);
                    break;
                case COMMAND_SINGLE_STEP:
                    AppTimer(m_frameMoving ? TIMER_STOP : TIMER_ADVANCE);
                    m_frameMoving = false;
                    m_singleStep = true;
                    break;
                case COMMAND_CLOSE:
                    SendMessage(WM_CLOSE);
                    return 0;
                default:
                    break;
            }
            break;

        case WM_SYSCOMMAND:
            // The whole value is compared: a caption drag (SC_MOVE with low
            // bits set) is left alone.
            if (wParam == SC_SIZE || wParam == SC_MOVE || wParam == SC_MAXIMIZE ||
                wParam == SC_KEYMENU || wParam == SC_MONITORPOWER) {
                return MSG_TRUE;
            }
            break;

        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            Pause(true);
            break;
        case WM_EXITMENULOOP:
            Pause(false);
            break;
        case WM_EXITSIZEMOVE:
            Pause(false);
            HandleSizeChange();
            break;

        case WM_POWERBROADCAST:
            if (wParam == PBT_APMQUERYSUSPEND || wParam == PBT_APMRESUMESUSPEND) {
                return MSG_TRUE;
            }
            break;

        default:
            break;
    }
    return DefaultProcessing();
}

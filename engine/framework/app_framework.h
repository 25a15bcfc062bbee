#pragma once
// The base class of the one application object: the single-instance guard,
// the video system, the window with its message procedure, the render device,
// the message and frame loop, recovery from a lost device, the switch between
// windowed and fullscreen output and the process-wide nestable pause.
//
// The backend's window events become window messages handed to MsgProc;
// SendMessage is a direct synchronous call, and WM_QUIT ends Run.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/backend/video.h"
#include "engine/framework/device_enumeration.h"
#include "engine/platform/media_result.h"

// The framework's own failures, with the texts ShowError gives them.
inline constexpr HResult APPERR_NODIRECT3D = static_cast<HResult>(0x82000001u);
inline constexpr HResult APPERR_NOWINDOW = static_cast<HResult>(0x82000002u);
inline constexpr HResult APPERR_NOCOMPATIBLEDEVICES = static_cast<HResult>(0x82000003u);
inline constexpr HResult APPERR_NOWINDOWABLEDEVICES = static_cast<HResult>(0x82000004u);
inline constexpr HResult APPERR_NOHARDWAREDEVICE = static_cast<HResult>(0x82000005u);
inline constexpr HResult APPERR_HALNOTCOMPATIBLE = static_cast<HResult>(0x82000006u);
inline constexpr HResult APPERR_NOWINDOWEDHAL = static_cast<HResult>(0x82000007u);
inline constexpr HResult APPERR_NODESKTOPHAL = static_cast<HResult>(0x82000008u);
inline constexpr HResult APPERR_NOHALTHISMODE = static_cast<HResult>(0x82000009u);
inline constexpr HResult APPERR_NONZEROREFCOUNT = static_cast<HResult>(0x8200000Au);
inline constexpr HResult APPERR_MEDIANOTFOUND = static_cast<HResult>(0x8200000Bu);
inline constexpr HResult APPERR_RESETFAILED = static_cast<HResult>(0x8200000Cu);
inline constexpr HResult APPERR_NULLREFDEVICE = static_cast<HResult>(0x8200000Du);
inline constexpr HResult APPERR_ALREADY_STARTED = static_cast<HResult>(0x8200000Eu);
inline constexpr HResult E_FILE_NOT_FOUND = static_cast<HResult>(0x80070002u);
inline constexpr HResult E_OUT_OF_VIDEO_MEMORY = static_cast<HResult>(0x8876017Cu);
inline constexpr HResult E_DRIVER_INTERNAL_ERROR = static_cast<HResult>(0x88760827u);

// Window messages. The numbers are our own; only the names and parameters
// follow the window system the game was first built around.
enum WindowMessage : std::uint32_t {
    WM_NULL = 0,
    WM_SIZE,         // wParam: SIZE_RESTORED, SIZE_MINIMIZED or SIZE_MAXIMIZED
    WM_ACTIVATE,     // wParam: 0 inactive, 1 active, 2 activated by a click
    WM_ACTIVATEAPP,  // wParam: 0 deactivated, 1 activated
    WM_PAINT,
    WM_CLOSE,
    WM_QUIT,  // never reaches MsgProc: it ends Run
    WM_SETCURSOR,
    WM_GETMINMAXINFO,
    WM_NCHITTEST,
    WM_KEYDOWN,  // wParam: scan code
    WM_KEYUP,
    WM_CHAR,     // wParam: one UTF-16 unit
    WM_COMMAND,  // low word of wParam: the command; lParam: its value
    WM_SYSCOMMAND,
    WM_TIMER,
    WM_MOUSEMOVE,   // lParam: client x in the low 16 bits, y in the next 16
    WM_MOUSEWHEEL,  // wParam: steps
    WM_ENTERMENULOOP,
    WM_EXITMENULOOP,
    WM_ENTERSIZEMOVE,
    WM_EXITSIZEMOVE,
    WM_POWERBROADCAST,
};

enum : std::uintptr_t {
    SIZE_RESTORED = 0,
    SIZE_MINIMIZED = 1,
    SIZE_MAXIMIZED = 2,
};

enum : std::uintptr_t {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MAXIMIZE = 0xF030,
    SC_KEYMENU = 0xF100,
    SC_MONITORPOWER = 0xF170,
};

enum : std::uintptr_t {
    PBT_APMQUERYSUSPEND = 0,
    PBT_APMRESUMESUSPEND = 7,
};

inline constexpr std::intptr_t MSG_TRUE = 1;
inline constexpr std::intptr_t HTCLIENT = 1;

// The framework's own WM_COMMAND identifiers.
enum FrameworkCommand : std::uint32_t {
    COMMAND_RESET_DEVICE = 40001,
    COMMAND_APPLY_SETTINGS = 40002,  // the only one the game sends
    COMMAND_TOGGLE_FULLSCREEN = 40003,
    COMMAND_TOGGLE_FRAME_MOVING = 40004,
    COMMAND_SINGLE_STEP = 40005,
    COMMAND_CLOSE = 40006,
};

inline constexpr std::intptr_t PointLParam(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFFu) |
                                      ((static_cast<std::uint32_t>(y) & 0xFFFFu) << 16));
}
inline constexpr int LParamX(std::intptr_t lParam) {
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(lParam) & 0xFFFFu);
}
inline constexpr int LParamY(std::intptr_t lParam) {
    return static_cast<std::int16_t>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFFu);
}
inline constexpr std::uint32_t LowWord(std::uintptr_t wParam) {
    return static_cast<std::uint32_t>(wParam & 0xFFFFu);
}

// What the device is created and reset with.
struct PresentParameters {
    int backBufferWidth = 0;
    int backBufferHeight = 0;
    std::uint32_t backBufferFormat = 0;
    bool windowed = true;
    int fullscreenRefreshRate = 0;
};

class CAppFramework {
public:
    CAppFramework();
    CAppFramework(const CAppFramework&) = delete;
    CAppFramework& operator=(const CAppFramework&) = delete;

    // Hooks and operations, in the order the derived game relies on.
    virtual HResult AdjustWindowForMode();
    virtual void UpdateFrameStats();
    // Asked for every device combination while enumerating; negative rejects.
    virtual HResult CheckDeviceCaps(const DeviceCaps& caps, std::uint32_t behaviourFlags,
                                    std::uint32_t adapterFormat, std::uint32_t backBufferFormat);
    virtual HResult OnInitOnce() { return RESULT_OK; }
    virtual HResult OnDeviceCreated() { return RESULT_OK; }
    virtual HResult OnDeviceReset() { return RESULT_OK; }
    virtual HResult OnUpdate() { return RESULT_OK; }
    virtual HResult OnRender() { return RESULT_OK; }
    virtual HResult OnDeviceLost() { return RESULT_OK; }
    virtual HResult OnDeviceDestroyed() { return RESULT_OK; }
    virtual HResult OnShutdown() { return RESULT_OK; }
    // Start-up; on failure a must-exit error has been reported and Run must
    // not be called.
    virtual HResult Create();
    // The message and frame loop; returns the exit code WM_QUIT carries.
    virtual int Run();
    virtual std::intptr_t MsgProc(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam);
    // Nestable: the first pause stops the timer and the sound output, the
    // return to zero restarts both.
    virtual void Pause(bool pause);
    virtual ~CAppFramework();

    // A synchronous call of MsgProc, as the menu's commands and the close use.
    std::intptr_t SendMessage(std::uint32_t message, std::uintptr_t wParam = 0,
                              std::intptr_t lParam = 0);

    // One frame: device recovery, update, render and present.
    HResult RenderFrame();
    // Shows the error's text in a box (once per run) when it must end the
    // program, then closes the window. Returns the code.
    HResult ShowError(HResult code, bool mustExit);
    void CleanupDevice();

    // Display settings and the device.
    HResult ChooseInitialSettings();
    bool ChooseWindowedMode(bool requireHardware, bool requireReference);
    bool ChooseFullscreenMode(bool requireHardware, bool requireReference,
                              const backend::DisplayMode& requested);
    void FillPresentParameters();
    HResult InitializeDevice();
    HResult ResetDevice();
    HResult HandleSizeChange();
    HResult SwitchFullscreen();
    HResult ApplyNewSettings();

    bool IsActive() const { return m_active; }
    // True from the moment WM_CLOSE starts shutting down.
    bool IsClosing() const { return m_closing; }
    bool IsWindowed() const { return m_windowed; }
    bool IsMinimised() const { return m_minimised; }
    bool IsDeviceLost() const { return m_deviceLost; }
    bool IsFrameMoving() const { return m_frameMoving; }
    bool IsSingleStep() const { return m_singleStep; }
    bool AreDeviceObjectsRestored() const { return m_deviceObjectsRestored; }
    float GetAppTime() const { return m_appTime; }
    float GetElapsedTime() const { return m_elapsedTime; }
    float GetAspectRatio() const { return m_aspectRatio; }
    float GetFramesPerSecond() const { return m_framesPerSecond; }
    const std::string& GetFrameStats() const { return m_frameStats; }
    int GetDesktopWidth() const { return m_desktopWidth; }
    int GetDesktopHeight() const { return m_desktopHeight; }
    int GetBackBufferWidth() const { return m_backBufferWidth; }
    int GetBackBufferHeight() const { return m_backBufferHeight; }
    std::uint32_t GetBehaviourFlags() const { return m_behaviourFlags; }
    const std::string& GetTitle() const { return m_title; }

    backend::IWindow* GetWindow() { return m_window.get(); }
    backend::IRenderDevice* GetDevice() { return m_device.get(); }
    DeviceSettings& GetSettings() { return m_settings; }
    CDeviceEnumeration& GetEnumeration() { return m_enumeration; }
    const PresentParameters& GetPresentParameters() const { return m_presentParameters; }

    // Process-wide: one application and one pause counter per process.
    static CAppFramework* GetApplication() { return s_application; }
    static int GetPauseCount() { return s_pauseCount; }

protected:
    // The name of the single-instance guard.
    std::string m_instanceName = "Corvalen";

private:
    std::intptr_t DefaultProcessing() { return 0; }
    void DispatchEvent(const backend::Event& event);
    void ReleaseDirect3D();
    void DestroyWindow();
    HResult FailStartup(HResult code);
    void ApplyCursorClip();
    // Fullscreen and active: the mouse is read in relative mode and the
    // pointer confined to the window; otherwise relative mode is off.
    void UpdateMouseCapture();
    // Seconds per refresh of the mode in use; 1/60 when the display does not say.
    double RefreshPeriod() const;
    // Sleeps out what is left of the refresh period after a present that came
    // back early, so that the loop never spins faster than the display.
    void PaceFrame();

    CDeviceEnumeration m_enumeration;
    DeviceSettings m_settings;
    float m_aspectRatio = 4.0f / 3.0f;

    bool m_windowed = true;
    bool m_active = false;
    bool m_deviceLost = false;
    bool m_minimised = false;
    bool m_maximised = false;
    bool m_ignoreSizeChanges = false;
    bool m_deviceObjectsCreated = false;
    bool m_deviceObjectsRestored = false;
    bool m_frameMoving = true;
    bool m_singleStep = false;

    PresentParameters m_presentParameters;

    std::unique_ptr<backend::IWindow> m_window;
    std::unique_ptr<backend::IRenderDevice> m_device;
    // The video system stands for the display driver's object the device is
    // made from: started in Create, released once whatever closes the program.
    bool m_direct3D = false;
    std::uint32_t m_behaviourFlags = 0;
    int m_backBufferWidth = 0;
    int m_backBufferHeight = 0;
    int m_clientRectWidth = 0;
    int m_clientRectHeight = 0;

    // Process-clock time at which the last paced present was due; 0 before
    // the first.
    double m_presentDue = 0.0;

    float m_appTime = 0.0f;
    float m_elapsedTime = 0.0f;
    float m_framesPerSecond = 0.0f;
    std::string m_frameStats;

    std::string m_title = "Corvalen";
    int m_clientWidth = 800;
    int m_clientHeight = 600;
    bool m_showCursorWhenFullscreen = false;
    bool m_clipCursorWhenFullscreen = true;
    int m_desktopWidth = 0;
    int m_desktopHeight = 0;

    // Shut-down runs once; a close that arrives during it is ignored.
    bool m_closing = false;
    bool m_quitPosted = false;
    int m_exitCode = 0;

    static CAppFramework* s_application;
    static int s_pauseCount;
    static bool s_errorBoxShown;
};

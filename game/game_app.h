#pragma once
// The game's application: loads settings and texts once before the device
// exists, sets up input and everything that lives on the device, drives every
// frame in a fixed order of updates and draws, and handles the game's own
// window messages before the framework does.
#include "engine/framework/app_framework.h"
#include "frontend/menu_command.h"

class CGameApp : public CAppFramework, public IMenuCommandSink {
public:
    CGameApp() = default;
    ~CGameApp() override = default;

    HResult OnInitOnce() override;
    HResult OnDeviceCreated() override;
    HResult OnDeviceReset() override;
    HResult OnUpdate() override;
    HResult OnRender() override;
    HResult OnDeviceLost() override;
    HResult OnDeviceDestroyed() override;
    HResult OnShutdown() override;
    std::intptr_t MsgProc(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

    // The menu's commands arrive as window commands.
    void SendMenuCommand(std::uint32_t command, std::intptr_t value) override {
        SendMessage(WM_COMMAND, command, value);
    }

    // Both scale sets from the back-buffer size and the desktop.
    void UpdateScreenScale();

    // From the 1024 x 768 design space to the back buffer.
    float GetScaleX() const { return m_scaleX; }
    float GetScaleY() const { return m_scaleY; }
    float GetOffsetX() const { return m_offsetX; }
    float GetOffsetY() const { return m_offsetY; }
    // The same with a letterbox band for desktops narrower than 4:3; only the
    // splash pictures use it.
    float GetSplashScaleX() const { return m_splashScaleX; }
    float GetSplashScaleY() const { return m_splashScaleY; }
    float GetSplashOffsetX() const { return m_splashOffsetX; }
    float GetSplashOffsetY() const { return m_splashOffsetY; }

private:
    // The menu's commands 40011 to 40040; value is the message's lParam.
    void OnMenuCommand(std::uint32_t command, std::intptr_t value);
    // The requested mode, window choice and volumes into the options page.
    void ShowOptionsInMenu();
    void ApplyVideoOptions();
    void AddPlayerFromEntry();

    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_offsetX = 0.0f;
    float m_offsetY = 0.0f;
    float m_splashScaleX = 1.0f;
    float m_splashScaleY = 1.0f;
    float m_splashOffsetX = 0.0f;
    float m_splashOffsetY = 0.0f;
};

// Opened at every close of the window, relative to the working folder: the
// launcher is "tovask.exe" in the "fscommand" folder.
inline constexpr const char* CLOSE_LINK = "play.url";
inline constexpr const char* CLOSE_LAUNCHER = "fscommand/tovask.exe";
// Opened by the menu's web-site item.
inline constexpr const char* PROMO_LINK = "website.url";

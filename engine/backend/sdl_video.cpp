// The window, its event pump and the display modes of display 0 over SDL2.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <deque>

#include "engine/backend/input.h"
#include "engine/backend/sdl_internal.h"
#include "engine/backend/video.h"

namespace backend {

namespace {

std::atomic<std::uint32_t> g_renderTargetsResets{0};

PixelFormat FormatOfSdl(std::uint32_t sdlFormat) {
    return SDL_BITSPERPIXEL(sdlFormat) <= 16 ? FORMAT_R5G6B5 : FORMAT_X8R8G8B8;
}

// Our button numbers: 0 left, 1 right, 2 middle, then the side buttons.
int ButtonOfSdl(std::uint8_t sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return sdlButton >= 1 && sdlButton <= 8 ? sdlButton - 1 : -1;
    }
}

// Appends the UTF-16 units of UTF-8 `text`; malformed bytes are skipped.
void QueueUtf16(const char* text, std::deque<Event>& queue) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (bytes[i] != 0) {
        const unsigned char lead = bytes[i];
        std::uint32_t code = 0;
        int extra = 0;
        if (lead < 0x80) {
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1Fu;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0Fu;
            extra = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07u;
            extra = 3;
        } else {
            ++i;
            continue;
        }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char next = bytes[i + static_cast<std::size_t>(k)];
            if ((next & 0xC0) != 0x80) {
                valid = false;
                extra = k - 1;
                break;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            queue.push_back({EventType::Char, 0xD800 + (code >> 10), 0, 0});
            queue.push_back({EventType::Char, 0xDC00 + (code & 0x3FFu), 0, 0});
        } else {
            queue.push_back({EventType::Char, code, 0, 0});
        }
    }
}

class CSdlWindow : public IWindow {
public:
    explicit CSdlWindow(SDL_Window* window) : m_window(window) {}

    ~CSdlWindow() override { SDL_DestroyWindow(m_window); }

    void SetTitle(const std::string& title) override {
        SDL_SetWindowTitle(m_window, title.c_str());
    }

    void SetIcon(int width, int height, const std::uint32_t* pixels) override {
        if (width <= 0 || height <= 0 || pixels == nullptr) {
            return;
        }
        // SDL copies the icon; the cast is for its C signature only.
        SDL_Surface* icon =
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height,
                                               32, width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (icon != nullptr) {
            SDL_SetWindowIcon(m_window, icon);
            SDL_FreeSurface(icon);
        }
    }

    bool SetWindowed(int clientWidth, int clientHeight) override {
        if (clientWidth <= 0 || clientHeight <= 0) {
            return false;
        }
        if (SDL_SetWindowFullscreen(m_window, 0) != 0) {
            return false;
        }
        m_fullscreen = false;
        // Without a window manager the window keeps the fullscreen size:
        // always set it.
        SDL_SetWindowSize(m_window, clientWidth, clientHeight);
        SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        return true;
    }

    bool SetFullscreen(const DisplayMode& mode) override {
        SDL_DisplayMode wanted{};
        wanted.w = mode.width;
        wanted.h = mode.height;
        wanted.refresh_rate = mode.refreshRate;
        SDL_DisplayMode closest{};
        if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) {
            return false;
        }
        if (SDL_SetWindowDisplayMode(m_window, &closest) != 0) {
            return false;
        }
        SDL_SetWindowSize(m_window, closest.w, closest.h);
        // Without a window manager nobody moves the window to the screen's
        // corner, and part of the screen would stay uncovered. The move is
        // asked for on both sides of the switch: before it for a window that
        // keeps its X window, after it for one SDL has made again for GL.
        SDL_SetWindowPosition(m_window, 0, 0);
        if (SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN) != 0) {
            return false;
        }
        SDL_SetWindowPosition(m_window, 0, 0);
        m_fullscreen = true;
        return true;
    }

    bool IsFullscreen() const override { return m_fullscreen; }

    void ClientSize(int& width, int& height) const override {
        SDL_GetWindowSize(m_window, &width, &height);
    }

    void ConfineCursor(bool confine) override {
        SDL_SetWindowGrab(m_window, confine ? SDL_TRUE : SDL_FALSE);
    }

    bool IsCursorConfined() const override {
        // SDL names a grabbed window only while the grab is really in force,
        // which needs the input focus as well as the request.
        return SDL_GetGrabbedWindow() == m_window;
    }

    void SetRelativeMouse(bool relative) override {
        SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
    }

    void Show() override { SDL_ShowWindow(m_window); }

    bool PollEvent(Event& event) override {
        for (;;) {
            if (TakeQueued(event)) {
                return true;
            }
            SDL_Event raw;
            if (SDL_PollEvent(&raw) == 0) {
                return false;
            }
            Translate(raw);
        }
    }

    bool WaitEvent(Event& event, int timeoutMs) override {
        const std::uint64_t deadline =
            SDL_GetTicks64() + static_cast<std::uint64_t>(timeoutMs > 0 ? timeoutMs : 0);
        for (;;) {
            if (TakeQueued(event)) {
                return true;
            }
            const std::uint64_t now = SDL_GetTicks64();
            const int left = now >= deadline ? 0 : static_cast<int>(deadline - now);
            SDL_Event raw;
            if (SDL_WaitEventTimeout(&raw, left) == 0) {
                return TakeQueued(event);
            }
            Translate(raw);
        }
    }

    std::unique_ptr<IRenderDevice> CreateDevice() override {
        return sdl::CreateRenderDevice(m_window);
    }

private:
    bool TakeQueued(Event& event) {
        if (m_queue.empty()) {
            return false;
        }
        event = m_queue.front();
        m_queue.pop_front();
        return true;
    }

    void Push(EventType type, std::uint32_t code = 0, int x = 0, int y = 0) {
        m_queue.push_back({type, code, x, y});
    }

    // Turns one SDL event into ours (none, one or several) and keeps the live
    // input state in step with it.
    void Translate(const SDL_Event& raw) {
        InputSnapshot& live = LiveInput();
        switch (raw.type) {
            case SDL_QUIT:
                sdl::NoteQuitEvent();
                Push(EventType::Close);
                break;
            case SDL_WINDOWEVENT:
                TranslateWindowEvent(raw.window);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const bool down = raw.type == SDL_KEYDOWN;
                const std::uint8_t code = sdl::ScanCodeFromSdl(raw.key.keysym.scancode);
                if (code != 0) {
                    live.keys[code] = down ? 0x80 : 0x00;
                    Push(down ? EventType::KeyDown : EventType::KeyUp, code);
                }
                // Text input leaves out the editing keys the name entry needs.
                if (down) {
                    const SDL_Scancode sc = raw.key.keysym.scancode;
                    if (sc == SDL_SCANCODE_BACKSPACE) {
                        Push(EventType::Char, 8);
                    } else if (sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER) {
                        Push(EventType::Char, 13);
                    }
                }
                break;
            }
            case SDL_TEXTINPUT:
                QueueUtf16(raw.text.text, m_queue);
                break;
            case SDL_MOUSEMOTION:
                live.cursorX = static_cast<float>(raw.motion.x);
                live.cursorY = static_cast<float>(raw.motion.y);
                live.relativeX += raw.motion.xrel;
                live.relativeY += raw.motion.yrel;
                Push(EventType::MouseMoved, 0, raw.motion.x, raw.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const bool down = raw.type == SDL_MOUSEBUTTONDOWN;
                const int button = ButtonOfSdl(raw.button.button);
                if (button < 0) {
                    break;
                }
                live.buttons[static_cast<std::size_t>(button)] = down ? 0x80 : 0x00;
                live.cursorX = static_cast<float>(raw.button.x);
                live.cursorY = static_cast<float>(raw.button.y);
                Push(down ? EventType::MouseDown : EventType::MouseUp,
                     static_cast<std::uint32_t>(button), raw.button.x, raw.button.y);
                break;
            }
            case SDL_MOUSEWHEEL: {
                int steps = raw.wheel.y;
                if (raw.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
                    steps = -steps;
                }
                if (steps != 0) {
                    live.wheel += steps;
                    Push(EventType::Wheel, 0, 0, steps);
                }
                break;
            }
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                sdl::NoteRenderTargetsReset();
                break;
            default:
                break;
        }
    }

    void TranslateWindowEvent(const SDL_WindowEvent& window) {
        switch (window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                Push(EventType::Close);
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                Push(EventType::FocusLost);
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                // The framework resumes on a focus gain only once the window
                // is no longer minimised; X may report the focus before the
                // restore, so hold it back until the restore has been told.
                if (m_minimised) {
                    m_focusGainedWhileMinimised = true;
                } else {
                    Push(EventType::FocusGained);
                }
                break;
            case SDL_WINDOWEVENT_MINIMIZED:
                m_minimised = true;
                Push(EventType::Minimised);
                break;
            case SDL_WINDOWEVENT_RESTORED:
                m_minimised = false;
                Push(EventType::Restored);
                if (m_focusGainedWhileMinimised) {
                    m_focusGainedWhileMinimised = false;
                    Push(EventType::FocusGained);
                }
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                Push(EventType::Exposed);
                break;
            default:
                break;
        }
    }

    SDL_Window* m_window;
    bool m_fullscreen = false;
    bool m_minimised = false;
    bool m_focusGainedWhileMinimised = false;
    std::deque<Event> m_queue;
};

class CSdlVideo : public IVideo {
public:
    bool Init() override {
        if (m_initialised) {
            return true;
        }
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            return false;
        }
        sdl::InstallHangupHandler();
        m_initialised = true;
        return true;
    }

    void Quit() override {
        if (!m_initialised) {
            return;
        }
        sdl::RemoveHangupHandler();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        m_initialised = false;
        if (SDL_WasInit(0) == 0) {
            SDL_Quit();
        }
    }

    std::string DriverName() const override {
        const char* name = SDL_GetCurrentVideoDriver();
        return name != nullptr ? name : "";
    }

    bool DesktopMode(DisplayMode& mode) override {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
            return false;
        }
        mode.width = desktop.w;
        mode.height = desktop.h;
        mode.refreshRate = desktop.refresh_rate;
        mode.format = FormatOfSdl(desktop.format);
        return true;
    }

    std::vector<DisplayMode> DisplayModes() override {
        std::vector<DisplayMode> listed;
        const int count = SDL_GetNumDisplayModes(0);
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode mode{};
            if (SDL_GetDisplayMode(0, i, &mode) == 0) {
                listed.push_back({mode.w, mode.h, mode.refresh_rate, FORMAT_X8R8G8B8});
            }
        }
        DisplayMode desktop;  // left empty when SDL cannot say
        DesktopMode(desktop);
        return OfferedDisplayModes(listed, desktop);
    }

    std::unique_ptr<IWindow> CreateWindow(const WindowDesc& desc) override {
        SDL_Window* window =
            SDL_CreateWindow(desc.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                             desc.clientWidth, desc.clientHeight, SDL_WINDOW_HIDDEN);
        if (window == nullptr) {
            return nullptr;
        }
        SDL_ShowCursor(SDL_DISABLE);
        SDL_StartTextInput();
        return std::make_unique<CSdlWindow>(window);
    }

private:
    bool m_initialised = false;
};

}  // namespace

std::vector<DisplayMode> OfferedDisplayModes(const std::vector<DisplayMode>& listed,
                                             const DisplayMode& desktop) {
    // SDL lists the desktop depth only; the 16-bit format is offered beside it.
    std::vector<DisplayMode> sizes;
    for (const DisplayMode& mode : listed) {
        if (mode.width <= 0 || mode.height <= 0) {
            continue;
        }
        const bool seen = std::any_of(sizes.begin(), sizes.end(), [&](const DisplayMode& known) {
            return known.width == mode.width && known.height == mode.height &&
                   known.refreshRate == mode.refreshRate;
        });
        if (!seen) {
            sizes.push_back({mode.width, mode.height, mode.refreshRate, FORMAT_X8R8G8B8});
        }
    }
    if (sizes.empty() && desktop.width > 0 && desktop.height > 0) {
        std::fprintf(stderr, "display 0 lists no modes; offering the desktop's %dx%d\n",
                     desktop.width, desktop.height);
        sizes.push_back({desktop.width, desktop.height, desktop.refreshRate, FORMAT_X8R8G8B8});
    }
    std::vector<DisplayMode> modes = sizes;
    for (DisplayMode mode : sizes) {
        mode.format = FORMAT_R5G6B5;
        modes.push_back(mode);
    }
    return modes;
}

IVideo& Video() {
    // Never destroyed, so that owners torn down at exit may still reach it.
    static CSdlVideo* video = new CSdlVideo;
    return *video;
}

namespace sdl {

void NoteRenderTargetsReset() {
    g_renderTargetsResets.fetch_add(1);
}

std::uint32_t RenderTargetsResetCount() {
    return g_renderTargetsResets.load();
}

}  // namespace sdl

}  // namespace backend

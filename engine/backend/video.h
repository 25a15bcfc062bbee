#pragma once
// The window, its events, the display modes of display 0 and the 2D render
// device. One window per process.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace backend {

// Back-buffer formats by the numbers the game stores in config.cfg and logs.
enum PixelFormat : std::uint32_t {
    FORMAT_UNKNOWN = 0,
    FORMAT_X8R8G8B8 = 22,
    FORMAT_R5G6B5 = 23,
};

struct DisplayMode {
    int width = 0;
    int height = 0;
    int refreshRate = 0;  // 0 when the display does not say
    PixelFormat format = FORMAT_X8R8G8B8;
};

enum class EventType {
    None,
    Close,  // window close button, SIGINT, SIGTERM or SIGHUP
    FocusLost,
    FocusGained,
    Minimised,
    Restored,
    Exposed,
    MouseMoved,  // x, y in client pixels
    Char,        // code: one UTF-16 unit; Backspace is 8 and Enter 13
    KeyDown,     // code: PC set-1 scan code
    KeyUp,
    MouseDown,  // code: button 0 left, 1 right, 2 middle
    MouseUp,
    Wheel,  // y: steps
};

struct Event {
    EventType type = EventType::None;
    std::uint32_t code = 0;
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Vec2f {
    float x = 0.0f;
    float y = 0.0f;
};

class ITexture {
public:
    virtual ~ITexture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

enum class DeviceStatus { Ok, Lost, NeedsReset };
enum class BlendMode { Alpha, Additive };

// One sprite draw: the picture is scaled about its top-left corner, rotated by
// `rotation` radians (clockwise on screen) about `centre` (in scaled picture
// pixels), then moved so its top-left corner lies at `translation`. A negative
// scale mirrors the picture, which then extends to the left of (or above) its
// position. `colour` is ARGB and modulates the texture.
struct SpriteDraw {
    const ITexture* texture = nullptr;
    const Rect* source = nullptr;  // whole texture when null
    Vec2f scale{1.0f, 1.0f};
    Vec2f centre{0.0f, 0.0f};
    float rotation = 0.0f;
    Vec2f translation{0.0f, 0.0f};
    std::uint32_t colour = 0xFFFFFFFF;
    BlendMode blend = BlendMode::Alpha;
};

enum class DrawResult { Ok, InvalidCall };

class IRenderDevice {
public:
    virtual ~IRenderDevice() = default;
    // ARGB pixels, width * height words, top row first.
    virtual std::unique_ptr<ITexture> CreateTexture(int width, int height,
                                                    const std::uint32_t* pixels) = 0;
    // Makes a texture whose width * height ARGB words, top row first, `fill`
    // writes: straight into the texture's own memory where the device keeps
    // its textures in memory, so that a picture is not copied on its way.
    // Null when the texture cannot be made or `fill` returns false.
    virtual std::unique_ptr<ITexture> CreateFilledTexture(
        int width, int height, const std::function<bool(std::uint32_t* pixels)>& fill) {
        if (width <= 0 || height <= 0) {
            return nullptr;
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                          static_cast<std::size_t>(height));
        return fill(pixels.data()) ? CreateTexture(width, height, pixels.data()) : nullptr;
    }
    virtual void Clear(std::uint32_t argb) = 0;
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual bool Present() = 0;
    // Whether Present waits for the display's refresh; on when the device is
    // made. The loading screen turns it off so that loading is not held to
    // the refresh rate.
    virtual void SetVSync(bool on) = 0;
    // Refuses (InvalidCall) a missing texture and a source rectangle with a
    // negative left or top, left beyond right or the width, top beyond bottom or
    // the height. A right or bottom past the texture is clipped.
    virtual DrawResult Draw(const SpriteDraw& draw) = 0;
    virtual void FillRect(const Rect& rect, std::uint32_t argb) = 0;
    virtual int BackBufferWidth() const = 0;
    virtual int BackBufferHeight() const = 0;
    virtual DeviceStatus Status() = 0;
    // Rebuilds the back buffer for the window's current size. Textures survive.
    virtual bool Reset() = 0;
    // Reads the back buffer as ARGB, top row first.
    virtual bool ReadPixels(std::vector<std::uint32_t>& out) = 0;
    // Lets tests put the device into the lost or needs-reset state, and make
    // the next reset fail.
    virtual void SimulateStatus(DeviceStatus status, bool failNextReset = false) = 0;
    virtual std::string RendererName() const = 0;
    // The largest width or height of a texture; 0 when the device names none.
    virtual int MaxTextureSize() const { return 0; }
    // For benchmarks, off until asked: while recording, every clear, fill
    // and sprite draw is kept as the renderer calls it became, dropping what
    // was kept before. Replaying makes those calls again, on the same
    // textures, with none of the device's own work around them.
    virtual void RecordDraws(bool on) { (void)on; }
    virtual std::size_t RecordedDrawCount() const { return 0; }
    virtual void ReplayRecordedDraws() {}
};

struct WindowDesc {
    std::string title;
    int clientWidth = 800;
    int clientHeight = 600;
};

class IWindow {
public:
    virtual ~IWindow() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // ARGB pixels, top row first.
    virtual void SetIcon(int width, int height, const std::uint32_t* pixels) = 0;
    // Windowed with the given client size, centred on the desktop.
    virtual bool SetWindowed(int clientWidth, int clientHeight) = 0;
    virtual bool SetFullscreen(const DisplayMode& mode) = 0;
    virtual bool IsFullscreen() const = 0;
    virtual void ClientSize(int& width, int& height) const = 0;
    // Confines the pointer to the window (fullscreen) or frees it.
    virtual void ConfineCursor(bool confine) = 0;
    // True while the pointer is confined to this window and the window has
    // the input focus.
    virtual bool IsCursorConfined() const = 0;
    // Relative mode: the system pointer is hidden and held, and mouse motion
    // keeps coming past the edges of the screen.
    virtual void SetRelativeMouse(bool relative) = 0;
    virtual void Show() = 0;
    // Next waiting event; false when none is waiting.
    virtual bool PollEvent(Event& event) = 0;
    // Blocks until an event arrives or `timeoutMs` passes.
    virtual bool WaitEvent(Event& event, int timeoutMs) = 0;
    // Creates the render device for this window; vsync where offered.
    virtual std::unique_ptr<IRenderDevice> CreateDevice() = 0;
};

class IVideo {
public:
    virtual ~IVideo() = default;
    virtual bool Init() = 0;
    virtual void Quit() = 0;
    virtual std::string DriverName() const = 0;
    virtual bool DesktopMode(DisplayMode& mode) = 0;
    // The modes of display 0, each offered in both formats when the display
    // lists only one depth.
    virtual std::vector<DisplayMode> DisplayModes() = 0;
    // The system cursor is hidden: the game draws its own.
    virtual std::unique_ptr<IWindow> CreateWindow(const WindowDesc& desc) = 0;
};

IVideo& Video();

// The modes DisplayModes offers for what display 0 lists (in its order, with
// refresh rates): each distinct size and rate in both formats, 32-bit ones
// first. A list with no usable mode falls back to the desktop mode (when its
// size is known), since the display is showing that one right now; SDL now and
// then lists nothing under an X server, and with no mode at all the game could
// not start.
std::vector<DisplayMode> OfferedDisplayModes(const std::vector<DisplayMode>& listed,
                                             const DisplayMode& desktop);

}  // namespace backend

#pragma once
// What display 0 can show and how the render device may use it: the display
// modes in the formats the game accepts, the device combinations of adapter
// format, back-buffer format and windowed or fullscreen use, and the settings
// the framework chooses from them.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/media_result.h"

// Formats by the numbers config.cfg, the log and the options menu use. The
// backend knows X8R8G8B8 and R5G6B5; the others only pass through the tables.
constexpr std::uint32_t FORMAT_R8G8B8 = 20;
constexpr std::uint32_t FORMAT_A8R8G8B8 = 21;
constexpr std::uint32_t FORMAT_X8R8G8B8 = backend::FORMAT_X8R8G8B8;  // 22
constexpr std::uint32_t FORMAT_R5G6B5 = backend::FORMAT_R5G6B5;      // 23
constexpr std::uint32_t FORMAT_X1R5G5B5 = 24;
constexpr std::uint32_t FORMAT_A1R5G5B5 = 25;
constexpr std::uint32_t FORMAT_A2R10G10B10 = 35;

int FormatColourBits(std::uint32_t format);
int FormatAlphaBits(std::uint32_t format);

enum DeviceType : std::uint32_t {
    DEVICE_HARDWARE = 1,
    DEVICE_REFERENCE = 2,
    DEVICE_SOFTWARE = 3,
};

enum VertexProcessingType : std::uint32_t {
    VERTEX_PROCESSING_SOFTWARE = 0,
    VERTEX_PROCESSING_MIXED = 1,
    VERTEX_PROCESSING_HARDWARE = 2,
    VERTEX_PROCESSING_PURE_HARDWARE = 3,
};

// Behaviour flags a device is created with; logged as a number.
constexpr std::uint32_t BEHAVIOUR_SOFTWARE_VERTEX_PROCESSING = 0x20;
constexpr std::uint32_t BEHAVIOUR_MIXED_VERTEX_PROCESSING = 0x80;

// What a device type can do, as far as the choice of settings asks.
struct DeviceCaps {
    bool hardwareTransform = false;
    bool pureDevice = false;
};

struct DeviceCombo {
    int adapterOrdinal = 0;
    DeviceType deviceType = DEVICE_HARDWARE;
    std::uint32_t adapterFormat = 0;
    std::uint32_t backBufferFormat = 0;
    bool windowed = false;
    std::vector<VertexProcessingType> vertexProcessingTypes;
};

struct DeviceInfo {
    int adapterOrdinal = 0;
    DeviceType deviceType = DEVICE_HARDWARE;
    DeviceCaps caps;
    std::vector<std::unique_ptr<DeviceCombo>> combos;
};

struct AdapterInfo {
    int adapterOrdinal = 0;
    // Sorted by CompareDisplayModes.
    std::vector<backend::DisplayMode> displayModes;
    std::vector<std::unique_ptr<DeviceInfo>> devices;
};

// Width, then height, then format, then refresh rate, each ascending.
bool CompareDisplayModes(const backend::DisplayMode& a, const backend::DisplayMode& b);

// The display configuration the framework has chosen.
struct DeviceSettings {
    struct Half {
        const AdapterInfo* adapter = nullptr;
        const DeviceInfo* device = nullptr;
        const DeviceCombo* combo = nullptr;
        backend::DisplayMode displayMode;
        VertexProcessingType vertexProcessing = VERTEX_PROCESSING_SOFTWARE;
    };

    bool windowed = false;
    // Written from config.cfg and by the options menu.
    bool preferWindowed = false;
    backend::DisplayMode requestedMode{1024, 768, 0, backend::FORMAT_X8R8G8B8};
    Half windowedHalf;
    int windowWidth = 0;
    int windowHeight = 0;
    Half fullscreenHalf;

    const Half& Current() const { return windowed ? windowedHalf : fullscreenHalf; }
};

class CDeviceEnumeration {
public:
    // Asked for every combination and vertex-processing type; false rejects it.
    using CapsCallback =
        std::function<bool(const DeviceCaps& caps, VertexProcessingType type,
                           std::uint32_t adapterFormat, std::uint32_t backBufferFormat)>;

    static constexpr int MIN_FULLSCREEN_WIDTH = 640;
    static constexpr int MIN_FULLSCREEN_HEIGHT = 480;
    static constexpr int MIN_COLOUR_BITS = 5;
    static constexpr int MIN_ALPHA_BITS = 0;

    void SetCapsCallback(CapsCallback callback) { m_capsCallback = std::move(callback); }

    // Lists display 0 through the backend. RESULT_FAIL when the video system
    // cannot describe the display.
    HResult Enumerate();
    // The same from a given mode list and desktop mode; tests feed it directly.
    HResult EnumerateModes(const std::vector<backend::DisplayMode>& reported,
                           const backend::DisplayMode& desktop);
    void Cleanup();

    // The current mode of display 0, read at enumeration and refreshed by the
    // framework before a reset in windowed mode.
    const backend::DisplayMode& DesktopMode() const { return m_desktopMode; }
    void SetDesktopMode(const backend::DisplayMode& mode) { m_desktopMode = mode; }

    // Every (width, height, format) of display 0 once, in discovery order, with
    // refresh rate 0: the list the options menu offers.
    const std::vector<backend::DisplayMode>& DistinctModes() const { return m_distinctModes; }
    const std::vector<std::unique_ptr<AdapterInfo>>& Adapters() const { return m_adapters; }

private:
    void ListDevices(AdapterInfo& adapter, const std::vector<std::uint32_t>& adapterFormats);
    void ListCombinations(DeviceInfo& device, const std::vector<std::uint32_t>& adapterFormats);
    void FillVertexProcessing(const DeviceInfo& device, DeviceCombo& combo);
    bool Accepts(const DeviceCaps& caps, VertexProcessingType type, const DeviceCombo& combo);

    backend::DisplayMode m_desktopMode;
    std::vector<backend::DisplayMode> m_distinctModes;
    std::vector<std::unique_ptr<AdapterInfo>> m_adapters;
    CapsCallback m_capsCallback;
};

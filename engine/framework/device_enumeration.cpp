#include "engine/framework/device_enumeration.h"

#include <algorithm>
#include <tuple>

#include "engine/platform/html_log.h"

namespace {

// Adapter formats in the order their modes are listed (and so offered by the
// options menu).
constexpr std::uint32_t ALLOWED_ADAPTER_FORMATS[] = {FORMAT_X8R8G8B8, FORMAT_X1R5G5B5,
                                                     FORMAT_R5G6B5, FORMAT_A2R10G10B10};

constexpr std::uint32_t BACK_BUFFER_FORMATS[] = {FORMAT_A8R8G8B8,    FORMAT_X8R8G8B8,
                                                 FORMAT_A2R10G10B10, FORMAT_R5G6B5,
                                                 FORMAT_A1R5G5B5,    FORMAT_X1R5G5B5};

// The backend draws into a back buffer of the display's own format, for both
// formats it knows, windowed and fullscreen alike.
bool DeviceSupports(std::uint32_t adapterFormat, std::uint32_t backBufferFormat) {
    return adapterFormat == backBufferFormat &&
           (adapterFormat == FORMAT_X8R8G8B8 || adapterFormat == FORMAT_R5G6B5);
}

// The one device the backend offers: an accelerated renderer where there is
// one, which transforms everything itself.
constexpr DeviceCaps RENDER_DEVICE_CAPS{true, false};

}  // namespace

int FormatColourBits(std::uint32_t format) {
    switch (format) {
        case 20:
        case 21:
        case 22:
            return 8;
        case 23:
        case 24:
        case 25:
            return 5;
        case 26:
        case 30:
            return 4;
        case 27:
        case 29:
            return 2;
        case 31:
        case 35:
            return 10;
        default:
            return 0;
    }
}

int FormatAlphaBits(std::uint32_t format) {
    switch (format) {
        case 21:
        case 29:
            return 8;
        case 25:
            return 1;
        case 26:
            return 4;
        case 31:
        case 35:
            return 2;
        default:
            return 0;
    }
}

bool CompareDisplayModes(const backend::DisplayMode& a, const backend::DisplayMode& b) {
    return std::make_tuple(a.width, a.height, static_cast<std::uint32_t>(a.format), a.refreshRate) <
           std::make_tuple(b.width, b.height, static_cast<std::uint32_t>(b.format), b.refreshRate);
}

HResult CDeviceEnumeration::Enumerate() {
    backend::IVideo& video = backend::Video();
    backend::DisplayMode desktop;
    if (!video.DesktopMode(desktop)) {
        return RESULT_FAIL;
    }
    return EnumerateModes(video.DisplayModes(), desktop);
}

HResult CDeviceEnumeration::EnumerateModes(const std::vector<backend::DisplayMode>& reported,
                                           const backend::DisplayMode& desktop) {
    Cleanup();
    m_desktopMode = desktop;
    CHtmlLog& log = HtmlLog();
    log.Write("Black", "Available display modes:");

    // One display here; the adapter formats found on it would also steer the
    // combinations of any further adapter.
    std::vector<std::uint32_t> adapterFormats;
    const int adapterOrdinal = 0;
    auto adapter = std::make_unique<AdapterInfo>();
    adapter->adapterOrdinal = adapterOrdinal;
    for (std::uint32_t format : ALLOWED_ADAPTER_FORMATS) {
        for (backend::DisplayMode mode : reported) {
            if (static_cast<std::uint32_t>(mode.format) != format) {
                continue;
            }
            if (mode.width < MIN_FULLSCREEN_WIDTH || mode.height < MIN_FULLSCREEN_HEIGHT ||
                FormatColourBits(format) < MIN_COLOUR_BITS) {
                continue;
            }
            if (adapterOrdinal == 0) {
                const bool known = std::any_of(m_distinctModes.begin(), m_distinctModes.end(),
                                               [&](const backend::DisplayMode& m) {
                                                   return m.width == mode.width &&
                                                          m.height == mode.height &&
                                                          m.format == mode.format;
                                               });
                if (!known) {
                    mode.refreshRate = 0;
                    m_distinctModes.push_back(mode);
                    log.Write("Gray", "%ix%ix%i ", mode.width, mode.height,
                              static_cast<int>(format));
                }
            }
            adapter->displayModes.push_back(mode);
            if (std::find(adapterFormats.begin(), adapterFormats.end(), format) ==
                adapterFormats.end()) {
                adapterFormats.push_back(format);
            }
        }
    }
    std::stable_sort(adapter->displayModes.begin(), adapter->displayModes.end(),
                     CompareDisplayModes);
    ListDevices(*adapter, adapterFormats);
    if (!adapter->devices.empty()) {
        m_adapters.push_back(std::move(adapter));
    }
    return 0;
}

void CDeviceEnumeration::Cleanup() {
    m_adapters.clear();
    m_distinctModes.clear();
}

void CDeviceEnumeration::ListDevices(AdapterInfo& adapter,
                                     const std::vector<std::uint32_t>& adapterFormats) {
    auto device = std::make_unique<DeviceInfo>();
    device->adapterOrdinal = adapter.adapterOrdinal;
    device->deviceType = DEVICE_HARDWARE;
    device->caps = RENDER_DEVICE_CAPS;
    ListCombinations(*device, adapterFormats);
    if (!device->combos.empty()) {
        adapter.devices.push_back(std::move(device));
    }
}

void CDeviceEnumeration::ListCombinations(DeviceInfo& device,
                                          const std::vector<std::uint32_t>& adapterFormats) {
    for (std::uint32_t adapterFormat : adapterFormats) {
        for (std::uint32_t backBufferFormat : BACK_BUFFER_FORMATS) {
            if (FormatAlphaBits(backBufferFormat) < MIN_ALPHA_BITS) {
                continue;
            }
            for (bool windowed : {false, true}) {
                if (!DeviceSupports(adapterFormat, backBufferFormat)) {
                    continue;
                }
                auto combo = std::make_unique<DeviceCombo>();
                combo->adapterOrdinal = device.adapterOrdinal;
                combo->deviceType = device.deviceType;
                combo->adapterFormat = adapterFormat;
                combo->backBufferFormat = backBufferFormat;
                combo->windowed = windowed;
                FillVertexProcessing(device, *combo);
                if (combo->vertexProcessingTypes.empty()) {
                    continue;
                }
                device.combos.push_back(std::move(combo));
            }
        }
    }
}

void CDeviceEnumeration::FillVertexProcessing(const DeviceInfo& device, DeviceCombo& combo) {
    std::vector<VertexProcessingType>& types = combo.vertexProcessingTypes;
    if (device.caps.hardwareTransform) {
        if (device.caps.pureDevice &&
            Accepts(device.caps, VERTEX_PROCESSING_PURE_HARDWARE, combo)) {
            types.push_back(VERTEX_PROCESSING_PURE_HARDWARE);
        }
        if (Accepts(device.caps, VERTEX_PROCESSING_HARDWARE, combo)) {
            types.push_back(VERTEX_PROCESSING_HARDWARE);
        }
    }
    if (Accepts(device.caps, VERTEX_PROCESSING_SOFTWARE, combo)) {
        types.push_back(VERTEX_PROCESSING_SOFTWARE);
    }
}

bool CDeviceEnumeration::Accepts(const DeviceCaps& caps, VertexProcessingType type,
                                 const DeviceCombo& combo) {
    return !m_capsCallback ||
           m_capsCallback(caps, type, combo.adapterFormat, combo.backBufferFormat);
}

// The framework's display settings: the choice of the windowed and fullscreen
// configurations from the enumeration, the present parameters, and creating
// and resetting the render device.
#include "engine/backend/video.h"
#include "engine/framework/app_framework.h"
#include "engine/framework/app_timer.h"
#include "engine/platform/html_log.h"

namespace {

// Calls `visit` for every combination of the devices that pass the type
// filters, until it answers true.
template <class Visit>
void VisitCombos(const CDeviceEnumeration& enumeration, bool requireHardware, bool requireReference,
                 Visit visit) {
    for (const auto& adapter : enumeration.Adapters()) {
        for (const auto& device : adapter->devices) {
            if ((requireHardware && device->deviceType != DEVICE_HARDWARE) ||
                (requireReference && device->deviceType != DEVICE_REFERENCE)) {
                continue;
            }
            for (const auto& combo : device->combos) {
                if (visit(*adapter, *device, *combo)) {
                    return;
                }
            }
        }
    }
}

}  // namespace

bool CAppFramework::ChooseWindowedMode(bool requireHardware, bool requireReference) {
    const backend::DisplayMode desktop = m_enumeration.DesktopMode();
    const AdapterInfo* bestAdapter = nullptr;
    const DeviceInfo* bestDevice = nullptr;
    const DeviceCombo* bestCombo = nullptr;
    VisitCombos(
        m_enumeration, requireHardware, requireReference,
        [&](const AdapterInfo& adapter, const DeviceInfo& device, const DeviceCombo& combo) {
            if (!combo.windowed || combo.adapterFormat != desktop.format) {
                return false;
            }
            const bool hardware = device.deviceType == DEVICE_HARDWARE;
            const bool sameFormats = combo.backBufferFormat == combo.adapterFormat;
            if (bestCombo == nullptr || (bestDevice->deviceType != DEVICE_HARDWARE && hardware) ||
                (hardware && sameFormats)) {
                bestAdapter = &adapter;
                bestDevice = &device;
                bestCombo = &combo;
            }
            return hardware && sameFormats;
        });
    if (bestCombo == nullptr) {
        return false;
    }
    DeviceSettings::Half& half = m_settings.windowedHalf;
    half.adapter = bestAdapter;
    half.device = bestDevice;
    half.combo = bestCombo;
    half.displayMode = desktop;
    half.vertexProcessing = bestCombo->vertexProcessingTypes.front();
    m_settings.windowWidth = m_clientRectWidth;
    m_settings.windowHeight = m_clientRectHeight;
    m_settings.windowed = true;
    return true;
}

bool CAppFramework::ChooseFullscreenMode(bool requireHardware, bool requireReference,
                                         const backend::DisplayMode& requested) {
    const AdapterInfo* bestAdapter = nullptr;
    const DeviceInfo* bestDevice = nullptr;
    const DeviceCombo* bestCombo = nullptr;
    VisitCombos(
        m_enumeration, requireHardware, requireReference,
        [&](const AdapterInfo& adapter, const DeviceInfo& device, const DeviceCombo& combo) {
            if (combo.windowed) {
                return false;
            }
            const bool hardware = device.deviceType == DEVICE_HARDWARE;
            const bool requestedFormat = combo.adapterFormat == requested.format;
            const bool sameFormats = combo.backBufferFormat == combo.adapterFormat;
            if (bestCombo == nullptr || (bestDevice->deviceType != DEVICE_HARDWARE && hardware) ||
                (hardware && requestedFormat && bestCombo->adapterFormat != requested.format) ||
                (hardware && requestedFormat && sameFormats)) {
                bestAdapter = &adapter;
                bestDevice = &device;
                bestCombo = &combo;
            }
            return hardware && requestedFormat && sameFormats;
        });
    if (bestCombo == nullptr) {
        return false;
    }
    // The exact size and rate first, then the largest height of the asked
    // width, then the smallest mode of the format.
    const backend::DisplayMode* chosen = nullptr;
    const backend::DisplayMode* sameWidth = nullptr;
    const backend::DisplayMode* first = nullptr;
    for (const backend::DisplayMode& mode : bestAdapter->displayModes) {
        if (mode.format != bestCombo->adapterFormat) {
            continue;
        }
        if (first == nullptr) {
            first = &mode;
        }
        if (mode.width == requested.width && mode.height == requested.height &&
            mode.refreshRate == requested.refreshRate) {
            chosen = &mode;
            break;
        }
        if (mode.width == requested.width) {
            sameWidth = &mode;
        }
    }
    if (chosen == nullptr) {
        chosen = sameWidth != nullptr ? sameWidth : first;
    }
    if (chosen == nullptr) {
        return false;
    }
    DeviceSettings::Half& half = m_settings.fullscreenHalf;
    half.adapter = bestAdapter;
    half.device = bestDevice;
    half.combo = bestCombo;
    half.displayMode = *chosen;
    half.vertexProcessing = bestCombo->vertexProcessingTypes.front();
    m_settings.windowed = false;
    return true;
}

HResult CAppFramework::ChooseInitialSettings() {
    const bool fullscreenFound = ChooseFullscreenMode(false, false, m_settings.requestedMode);
    const bool windowedFound = ChooseWindowedMode(false, false);
    if (m_settings.preferWindowed) {
        if (windowedFound) {
            m_settings.windowed = true;
        } else if (fullscreenFound) {
            m_settings.windowed = false;
        }
    } else {
        if (fullscreenFound) {
            m_settings.windowed = false;
        } else if (windowedFound) {
            m_settings.windowed = true;
        }
    }
    if (!m_settings.windowed && !fullscreenFound) {
        HtmlLog().Write("Red", "Couldn't find selected fullscreen mode");
        return APPERR_NOCOMPATIBLEDEVICES;
    }
    if (m_settings.windowed && !windowedFound) {
        HtmlLog().Write("Red", "Couldn't find selected windowed mode");
        return APPERR_NOCOMPATIBLEDEVICES;
    }
    return RESULT_OK;
}

void CAppFramework::FillPresentParameters() {
    PresentParameters& pp = m_presentParameters;
    pp.windowed = m_settings.windowed;
    pp.fullscreenRefreshRate = 0;
    if (m_settings.windowed) {
        pp.backBufferWidth = m_clientRectWidth;
        pp.backBufferHeight = m_clientRectHeight;
    } else {
        pp.backBufferWidth = m_settings.fullscreenHalf.displayMode.width;
        pp.backBufferHeight = m_settings.fullscreenHalf.displayMode.height;
    }
    const DeviceCombo* combo = m_settings.Current().combo;
    pp.backBufferFormat = combo != nullptr ? combo->backBufferFormat : 0;
    m_aspectRatio = pp.backBufferHeight == 0 ? 1.33f
                                             : static_cast<float>(pp.backBufferWidth) /
                                                   static_cast<float>(pp.backBufferHeight);
}

HResult CAppFramework::InitializeDevice() {
    CHtmlLog& log = HtmlLog();
    const DeviceSettings::Half& half = m_settings.Current();
    if (half.device == nullptr || !m_window) {
        return APPERR_NOCOMPATIBLEDEVICES;
    }
    m_windowed = m_settings.windowed;
    m_window->Show();
    AdjustWindowForMode();
    FillPresentParameters();

    log.Write("Blue", "Creating Direct3D device");
    const std::uint32_t behaviour = half.vertexProcessing != VERTEX_PROCESSING_SOFTWARE
                                        ? BEHAVIOUR_MIXED_VERTEX_PROCESSING
                                        : BEHAVIOUR_SOFTWARE_VERTEX_PROCESSING;
    m_device = m_window->CreateDevice();
    if (!m_device) {
        log.Write("Red", "Creation Direct3D device is failed (VPT %u) error code: %x", behaviour,
                  RESULT_FAIL);
        return RESULT_FAIL;
    }
    m_behaviourFlags = behaviour;
    m_backBufferWidth = m_device->BackBufferWidth();
    m_backBufferHeight = m_device->BackBufferHeight();
    ApplyCursorClip();
    log.Write("Green", "Complete (VPT %u)", behaviour);

    HResult result = OnDeviceCreated();
    if (Failed(result)) {
        OnDeviceDestroyed();
        CleanupDevice();
        return result;
    }
    m_deviceObjectsCreated = true;
    result = OnDeviceReset();
    if (Failed(result)) {
        OnDeviceLost();
        CleanupDevice();
        return result;
    }
    m_deviceObjectsRestored = true;
    return RESULT_OK;
}

HResult CAppFramework::ResetDevice() {
    if (!m_device) {
        return RESULT_FAIL;
    }
    if (m_deviceObjectsRestored) {
        m_deviceObjectsRestored = false;
        OnDeviceLost();
    }
    if (!m_device->Reset()) {
        return RESULT_FAIL;
    }
    m_backBufferWidth = m_device->BackBufferWidth();
    m_backBufferHeight = m_device->BackBufferHeight();
    ApplyCursorClip();
    const HResult result = OnDeviceReset();
    if (Failed(result)) {
        OnDeviceLost();
        return result;
    }
    m_deviceObjectsRestored = true;
    if (!m_frameMoving) {
        // Let one frame through so the reset picture is drawn.
        m_singleStep = true;
        AppTimer(TIMER_START);
        AppTimer(TIMER_STOP);
    }
    return RESULT_OK;
}

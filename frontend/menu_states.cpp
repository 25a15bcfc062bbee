#include <algorithm>

#include "engine/media/resource_manager.h"
#include "frontend/menu.h"
#include "game/game_session_base.h"
#include "game/profile.h"

namespace {

bool IsFormat(const backend::DisplayMode& mode, backend::PixelFormat format) {
    return mode.format == format;
}

bool HasSize(const backend::DisplayMode& mode, int width, int height) {
    return mode.width == width && mode.height == height;
}

}  // namespace

void CMenu::ApplyItemState(MenuItem* item) {
    if (item == nullptr) {
        return;
    }
    const bool windowed = GetOptionValue(OPTION_FULLSCREEN) == 0;
    if (item->optionKey == OPTION_32_BIT) {
        if (windowed && !item->disabled) {
            SetItemDisabled(item->id, true);
            item->value = 0;
        } else if (!windowed && item->disabled) {
            SetItemDisabled(item->id, false);
        }
    }
    const std::string& type = item->type;
    if (type == "_DISPLAYMODE") {
        ApplyDisplayModeState(*item);
    } else if (type == "_CHECK" || type == "_COMBO" || type == "_PROFILE") {
        item->sourceRect = item->value == 0 ? item->rect : item->rect1;
    } else if (type == "_SIMPLE") {
        item->sourceRect = item->state == 0 ? item->rect : item->rect1;
    }
    if (item->disabled && (type == "_CHECK" || type == "_COMBO" || type == "_SIMPLE" ||
                           type == "_DISPLAYMODE" || type == "_PROFILE")) {
        item->sourceRect = item->rect2;
    }
}

void CMenu::ApplyDisplayModeState(MenuItem& item) {
    // The first button's rows follow the main hover, the second's its own.
    const std::int32_t height = item.height;
    if (item.state == 0) {
        item.sourceRect.top = item.rect1.top = 0;
        item.sourceRect.bottom = item.rect1.bottom = height;
    } else if (item.state == 1) {
        item.sourceRect.top = height;
        item.sourceRect.bottom = SaturateToInt32(2 * std::int64_t{height});
    } else if (item.state == 2) {
        item.rect1.top = height;
        item.rect1.bottom = SaturateToInt32(2 * std::int64_t{height});
    }

    if (GetOptionValue(OPTION_FULLSCREEN) == 0) {
        // A window takes the last 800 x 600 mode and no choice.
        if (!item.disabled) {
            SetItemDisabled(item.id, true);
            const std::int32_t mode = FindLastMode(800, 600);
            if (mode >= 0) {
                item.value = mode;
            }
        }
        return;
    }
    if (item.disabled) {
        // Fullscreen has just been chosen: 1024 x 768 in 32 bits.
        const std::int32_t mode = FindLastMode(1024, 768);
        if (mode >= 0) {
            item.value = mode;
        }
        SetOptionValue(OPTION_32_BIT, 1);
        SetItemDisabled(item.id, false);
    }
    const auto count = static_cast<std::int32_t>(m_displayModes.size());
    if (count > 0) {
        item.value += item.pendingStep;
        if (item.value >= count) {
            item.value = 0;
        } else if (item.value < 0) {
            item.value = count - 1;
        }
        const backend::PixelFormat wanted =
            GetOptionValue(OPTION_32_BIT) != 0 ? backend::FORMAT_X8R8G8B8 : backend::FORMAT_R5G6B5;
        const backend::DisplayMode current = m_displayModes[static_cast<std::size_t>(item.value)];
        if (!IsFormat(current, wanted)) {
            if (item.pendingStep == 0) {
                const auto same = std::find_if(
                    m_displayModes.begin(), m_displayModes.end(), [&](const auto& mode) {
                        return IsFormat(mode, wanted) &&
                               HasSize(mode, current.width, current.height);
                    });
                if (same != m_displayModes.end()) {
                    item.value = static_cast<std::int32_t>(same - m_displayModes.begin());
                } else {
                    item.pendingStep = 1;
                }
            }
            const auto hasWanted = [&](const auto& mode) { return IsFormat(mode, wanted); };
            if (item.pendingStep > 0) {
                const auto first =
                    std::find_if(m_displayModes.begin(), m_displayModes.end(), hasWanted);
                if (first != m_displayModes.end()) {
                    item.value = static_cast<std::int32_t>(first - m_displayModes.begin());
                }
            } else if (item.pendingStep < 0) {
                const auto last =
                    std::find_if(m_displayModes.rbegin(), m_displayModes.rend(), hasWanted);
                if (last != m_displayModes.rend()) {
                    item.value = static_cast<std::int32_t>(m_displayModes.rend() - last) - 1;
                }
            }
        }
    }
    item.pendingStep = 0;
}

std::int32_t CMenu::FindLastMode(int width, int height) const {
    for (std::size_t i = m_displayModes.size(); i > 0; --i) {
        if (HasSize(m_displayModes[i - 1], width, height)) {
            return static_cast<std::int32_t>(i - 1);
        }
    }
    return -1;
}

bool CMenu::SetGroupValue(const std::string& groupId, std::int32_t value) {
    bool any = false;
    for (MenuItem& item : m_items) {
        if (item.groupId == groupId) {
            item.value = value;
            ApplyItemState(&item);
            any = true;
        }
    }
    return any;
}

std::int32_t CMenu::GetOptionValue(std::int32_t key) const {
    for (const MenuItem& item : m_items) {
        if (item.optionKey == key) {
            return item.value;
        }
    }
    return -1;
}

bool CMenu::SetOptionValue(std::int32_t key, std::int32_t value) {
    for (MenuItem& item : m_items) {
        if (item.optionKey == key) {
            item.value = value;
            return true;
        }
    }
    return false;
}

void CMenu::SetVolumeOptions(std::int32_t music, std::int32_t sound) {
    SetOptionValue(OPTION_MUSIC_VOLUME, music);
    SetOptionValue(OPTION_SOUND_VOLUME, sound);
}

void CMenu::SetDisplayModeOptions(backend::DisplayMode mode, bool fullscreen) {
    const auto found =
        std::find_if(m_displayModes.begin(), m_displayModes.end(), [&](const auto& entry) {
            return IsFormat(entry, mode.format) && HasSize(entry, mode.width, mode.height);
        });
    if (found != m_displayModes.end()) {
        SetOptionValue(OPTION_DISPLAY_MODE,
                       static_cast<std::int32_t>(found - m_displayModes.begin()));
    }
    SetOptionValue(OPTION_FULLSCREEN, fullscreen ? 1 : 0);
    SetOptionValue(OPTION_32_BIT, IsFormat(mode, backend::FORMAT_X8R8G8B8) ? 1 : 0);
}

bool CMenu::GetDisplayModeOptions(backend::DisplayMode* mode, bool* windowed) const {
    const backend::DisplayMode before = *mode;
    const bool wasWindowed = *windowed;
    *windowed = GetOptionValue(OPTION_FULLSCREEN) == 0;
    const std::int32_t index = GetOptionValue(OPTION_DISPLAY_MODE);
    if (index >= 0 && static_cast<std::size_t>(index) < m_displayModes.size()) {
        *mode = m_displayModes[static_cast<std::size_t>(index)];
    }
    mode->format =
        GetOptionValue(OPTION_32_BIT) != 0 ? backend::FORMAT_X8R8G8B8 : backend::FORMAT_R5G6B5;
    return *windowed != wasWindowed || mode->format != before.format ||
           !HasSize(*mode, before.width, before.height);
}

std::u16string CMenu::GetSelectedProfileName() const {
    for (const MenuItem& item : m_items) {
        if (item.type == "_PROFILE" && item.value != 0) {
            return item.text;
        }
    }
    return {};
}

float CMenu::ProfileNameHalfWidth(const MenuItem& item) const {
    // Measured unscaled and scaled here, so that a new screen scale never
    // meets a width measured with the old one.
    const float width =
        ResourceManager::Instance().GetTextWidth(item.font, item.text, 0.0f, false, -1);
    return std::max(width, 0.0f) * 0.5f * m_scaleX;
}

void CMenu::FillProfileItems(const CGameSessionBase& session) {
    for (MenuItem& item : m_items) {
        if (item.type == "_PROFILE") {
            item.disabled = true;
            item.text.clear();
        }
    }
    for (const CProfile& profile : session.GetProfiles()) {
        const auto slot = std::find_if(m_items.begin(), m_items.end(), [](const MenuItem& item) {
            return item.type == "_PROFILE" && item.disabled;
        });
        if (slot == m_items.end()) {
            break;
        }
        slot->text = profile.GetName();
        slot->disabled = false;
        slot->textX = ProfileNameHalfWidth(*slot);
        if (profile.current != 0) {
            SetGroupValue(slot->groupId, 0);
            slot->value = 1;
        }
    }
    for (MenuItem& item : m_items) {
        if (item.func == "_edit_player_name") {
            item.disabled = session.GetProfileCount() >= CGameSessionBase::MAX_PROFILES;
            break;
        }
    }
}

#include <algorithm>
#include <cctype>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "frontend/menu.h"

namespace {

constexpr unsigned HOVER_SAMPLE = 0;
constexpr unsigned CLICK_SAMPLE = 1;
// hoveredIndex while the second button of a display-mode chooser is hovered.
constexpr std::int32_t SECOND_BUTTON = -2;

void PlaySample(unsigned index) {
    ResourceManager::Instance().GetSoundManager().Play(SoundType::Sample, index, true, false);
}

bool IsCaption(const MenuItem& item) {
    return item.type == "_HEADER" || item.type == "_GREETING";
}

// Leading blanks, an optional sign, then decimal digits; digits beyond 32
// bits wrap instead of overflowing.
std::int32_t LeadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) {
        number = 0u - number;
    }
    return static_cast<std::int32_t>(number);
}

}  // namespace

bool CMenu::Update(IMenuCommandSink& sink, const InputState& input, float elapsedSeconds) {
    const float mouseX = input.cursorX;
    const float mouseY = input.cursorY;
    bool anyHovered = false;
    bool stopped = false;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        // Commands never add or remove items, so the reference stays valid
        // while the sink calls back into the menu.
        MenuItem& item = m_items[i];
        if (item.parentId != m_currentId) {
            continue;
        }
        if (!IsCaption(item)) {
            item.colour = m_passiveColour;
            item.state = 0;
            ApplyItemState(&item);
        }
        m_currentPath = item.path;
        if (item.blink && item.blinker.direction != 0) {
            item.blinker.Update(elapsedSeconds);
        }
        if (IsCaption(item)) {
            continue;
        }
        item.pressed = false;
        const float anchorX = item.type == "_CHECK" && item.centered ? item.textX : item.x;
        const float halfWidth = static_cast<float>(item.width) * item.scale / 2.0f;
        const bool inside =
            !item.disabled && !item.hidden && (anchorX - halfWidth) * m_scaleX <= mouseX &&
            mouseX <= (anchorX + halfWidth) * m_scaleX && item.y * m_scaleY <= mouseY &&
            mouseY <= (item.y + static_cast<float>(item.height) * item.scale) * m_scaleY;
        if (inside) {
            const auto index = static_cast<std::int32_t>(i);
            if (m_hoveredIndex != index) {
                PlaySample(HOVER_SAMPLE);
            }
            item.state = 1;
            anyHovered = true;
            m_hoveredIndex = index;
            if (item.type == "_SIMPLE" || item.type == "_PROFILE") {
                item.colour = m_activeColour;
            }
            if (input.IsButtonDown(0)) {
                item.pressed = true;
                if (item.type == "_SCROLL") {
                    UpdateSlider(item);
                    ApplyItemState(&item);
                }
                if (item.func == "_set_music_volume") {
                    sink.SendMenuCommand(COMMAND_SET_MUSIC_VOLUME, item.value);
                } else if (item.func == "_set_sound_volume") {
                    sink.SendMenuCommand(COMMAND_SET_SOUND_VOLUME, item.value);
                }
            }
            if (input.ButtonWentUp(0)) {
                PlaySample(CLICK_SAMPLE);
                if (item.type == "_CHECK") {
                    item.value ^= 1;
                    ApplyItemState(&item);
                } else if (item.type == "_COMBO" && item.value == 0) {
                    SetGroupValue(item.groupId, 0);
                    item.value = 1;
                    ApplyItemState(&item);
                } else if (item.type == "_PROFILE") {
                    if (item.value != 0) {
                        // A second click on the selected slot confirms it.
                        sink.SendMenuCommand(COMMAND_SELECT_PLAYER, 0);
                        Back();
                        stopped = true;
                        break;
                    }
                    SetGroupValue(item.groupId, 0);
                    item.value = 1;
                    ApplyItemState(&item);
                } else if (item.type == "_DISPLAYMODE") {
                    item.pendingStep = -1;
                }
                const CommandResult result = RunCommand(sink, item);
                if (result == CommandResult::Exit) {
                    return false;
                }
                if (result == CommandResult::Stop) {
                    stopped = true;
                    break;
                }
            }
        }
        if (item.type == "_DISPLAYMODE" && !item.disabled) {
            UpdateSecondButton(item, input, &anyHovered);
        }
        ApplyItemState(&item);
    }
    // A stopped loop keeps the clicked item's index.
    if (!stopped && !anyHovered) {
        m_hoveredIndex = -1;
    }
    UpdateCursor(input);
    return true;
}

void CMenu::UpdateSecondButton(MenuItem& item, const InputState& input, bool* anyHovered) {
    const float halfWidth = static_cast<float>(item.width) * item.scale / 2.0f;
    const float left = item.x - halfWidth + static_cast<float>(item.xDisp);
    const float right = item.x + halfWidth + static_cast<float>(item.xDisp);
    const float top = item.y + static_cast<float>(item.yDisp);
    const float bottom = top + static_cast<float>(item.height) * item.scale;
    if (left * m_scaleX > input.cursorX || input.cursorX > right * m_scaleX ||
        top * m_scaleY > input.cursorY || input.cursorY > bottom * m_scaleY) {
        return;
    }
    if (m_hoveredIndex != SECOND_BUTTON) {
        PlaySample(HOVER_SAMPLE);
    }
    item.state = 2;
    *anyHovered = true;
    m_hoveredIndex = SECOND_BUTTON;
    if (input.IsButtonDown(0)) {
        item.pressed = true;
    }
    if (input.ButtonWentUp(0)) {
        item.pendingStep = 1;
        PlaySample(CLICK_SAMPLE);
    }
}

void CMenu::UpdateSlider(MenuItem& item) {
    const float hotSpotX = m_cursors.empty() ? 0.0f : m_cursors.front().hotSpotX;
    const float divisor = static_cast<float>(item.width) * m_scaleX - 2.0f;
    if (!(divisor > 0.0f)) {
        // A box too narrow to slide in keeps its value.
        return;
    }
    const float left = (item.x - static_cast<float>(item.width) / 2.0f) * m_scaleX;
    const float percent = ((m_cursorX - hotSpotX) - left) / divisor * 100.0f;
    // Infinite positions in the menu or cursor files can make the percentage NaN,
    // which the clamp lets through.
    item.value = TruncateToInt32(std::clamp(percent, 0.0f, 100.0f));
}

CMenu::CommandResult CMenu::RunCommand(IMenuCommandSink& sink, MenuItem& item) {
    const std::string& func = item.func;
    // Commands that send and then show the clicked item's page.
    const auto sendAndEnter = [&](std::uint32_t command) {
        sink.SendMenuCommand(command, 0);
        m_currentId = item.id;
        return CommandResult::Stop;
    };
    const auto sendAndStop = [&](std::uint32_t command) {
        sink.SendMenuCommand(command, 0);
        return CommandResult::Stop;
    };
    const auto sendBackAndStop = [&](std::uint32_t command) {
        sink.SendMenuCommand(command, 0);
        Back();
        return CommandResult::Stop;
    };
    const auto sendAndGoOn = [&](std::uint32_t command) {
        sink.SendMenuCommand(command, 0);
        return CommandResult::GoOn;
    };

    if (func.empty()) {
        if (item.hasChildren) {
            m_currentId = item.id;
            return CommandResult::Stop;
        }
        return CommandResult::GoOn;
    }
    if (func == "_get_options")
        return sendAndEnter(COMMAND_GET_OPTIONS);
    if (func == "_set_options")
        return sendBackAndStop(COMMAND_SET_OPTIONS);
    if (func == "_set_video_options")
        return sendAndStop(COMMAND_SET_VIDEO_OPTIONS);
    if (func == "_back") {
        Back();
        return CommandResult::Stop;
    }
    if (func == "_begin") {
        GoToRoot();
        return CommandResult::Stop;
    }
    if (func == "_exit") {
        HtmlLog().WriteEx("884400", false, true, "<BR>EXIT GAME");
        return CommandResult::Exit;
    }
    if (func == "_dec_music_volume" || func == "_inc_music_volume") {
        StepVolume(sink, OPTION_MUSIC_VOLUME, func == "_inc_music_volume" ? 10 : -10,
                   COMMAND_SET_MUSIC_VOLUME);
        return CommandResult::GoOn;
    }
    if (func == "_dec_sound_volume" || func == "_inc_sound_volume") {
        StepVolume(sink, OPTION_SOUND_VOLUME, func == "_inc_sound_volume" ? 10 : -10,
                   COMMAND_SET_SOUND_VOLUME);
        return CommandResult::GoOn;
    }
    if (func == "_check_old_game")
        return sendAndStop(COMMAND_CHECK_OLD_GAME);
    if (func == "_new_game_defaults")
        return sendAndStop(COMMAND_NEW_GAME_DEFAULTS);
    if (func == "_new_game")
        return sendAndStop(COMMAND_NEW_GAME);
    if (func == "_continue_game")
        return sendAndStop(COMMAND_CONTINUE_GAME);
    if (func == "_resume")
        return sendAndStop(COMMAND_RESUME);
    if (func == "_show_high_scores")
        return sendAndEnter(COMMAND_SHOW_HIGH_SCORES);
    if (func == "_hide_high_scores")
        return sendBackAndStop(COMMAND_HIDE_HIGH_SCORES);
    if (func == "_show_credits")
        return sendAndEnter(COMMAND_SHOW_CREDITS);
    if (func == "_hide_credits")
        return sendBackAndStop(COMMAND_HIDE_CREDITS);
    if (func == "_hide_credits_menu_begin") {
        sink.SendMenuCommand(COMMAND_HIDE_CREDITS, 0);
        GoToRoot();
        return CommandResult::Stop;
    }
    if (func == "_edit_player_name")
        return sendAndStop(COMMAND_EDIT_PLAYER_NAME);
    if (func == "_cancel_edit_player_name")
        return sendAndStop(COMMAND_CANCEL_EDIT_PLAYER_NAME);
    if (func == "_new_player")
        return sendAndStop(COMMAND_NEW_PLAYER);
    if (func == "_delete_player")
        return sendBackAndStop(COMMAND_DELETE_PLAYER);
    if (func == "_select_player") {
        m_rememberedProfile = GetSelectedProfileName();
        m_currentId = item.id;
        return CommandResult::Stop;
    }
    if (func == "_confirm_select_player")
        return sendBackAndStop(COMMAND_SELECT_PLAYER);
    if (func == "_cancel_select_player") {
        ReselectRememberedProfile();
        return sendBackAndStop(COMMAND_SELECT_PLAYER);
    }
    if (func == "_editor")
        return sendAndEnter(COMMAND_EDITOR);
    if (func == "_editor_action") {
        SendEditorAction(sink, item);
        return CommandResult::Stop;
    }
    if (func == "_prev_difficulty")
        return sendAndGoOn(COMMAND_PREV_DIFFICULTY);
    if (func == "_next_difficulty")
        return sendAndGoOn(COMMAND_NEXT_DIFFICULTY);
    if (func == "_prev_level")
        return sendAndGoOn(COMMAND_PREV_LEVEL);
    if (func == "_next_level")
        return sendAndGoOn(COMMAND_NEXT_LEVEL);
    if (func == "_prev_pack")
        return sendAndGoOn(COMMAND_PREV_PACK);
    if (func == "_next_pack")
        return sendAndGoOn(COMMAND_NEXT_PACK);
    if (func == "_callpromourl")
        return sendAndGoOn(COMMAND_CALL_PROMO_URL);
    return CommandResult::GoOn;
}

void CMenu::StepVolume(IMenuCommandSink& sink, std::int32_t key, std::int32_t delta,
                       std::uint32_t command) {
    const std::int32_t volume = std::clamp(GetOptionValue(key) + delta, 0, 100);
    SetOptionValue(key, volume);
    sink.SendMenuCommand(command, volume);
}

void CMenu::SendEditorAction(IMenuCommandSink& sink, const MenuItem& item) {
    if (item.id.empty()) {
        return;
    }
    const std::size_t underscore = item.id.rfind('_');
    std::string number;
    if (underscore == std::string::npos) {
        // An id without "_" counts from its start and leaves out its last
        // character.
        number = item.id.substr(0, item.id.size() - 1);
    } else if (underscore + 1 < item.id.size()) {
        number = item.id.substr(underscore + 1);
    } else {
        return;
    }
    sink.SendMenuCommand(COMMAND_EDITOR_ACTION, LeadingNumber(number));
}

void CMenu::ReselectRememberedProfile() {
    for (MenuItem& item : m_items) {
        if (item.type == "_PROFILE" && item.text == m_rememberedProfile) {
            SetGroupValue(item.groupId, 0);
            item.value = 1;
            return;
        }
    }
}

void CMenu::UpdateCursor(const InputState& input) {
    m_cursorX = input.cursorX;
    m_cursorY = input.cursorY;
    if (!m_cursors.empty()) {
        MenuCursor& cursor = m_cursors.front();
        m_cursorX += cursor.hotSpotX;
        m_cursorY += cursor.hotSpotY;
        cursor.pressed = input.IsButtonDown(0);
    }
}

bool CMenu::OpenSubmenu(const std::string& id) {
    if (FindItem(id) == nullptr) {
        return false;
    }
    m_currentId = id;
    return true;
}

void CMenu::Back() {
    const MenuItem* page = FindItem(m_currentId);
    if (page != nullptr) {
        m_currentId = page->parentId;
    }
}

MenuItem* CMenu::FindItem(const std::string& id) {
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&id](const MenuItem& item) { return item.id == id; });
    return found == m_items.end() ? nullptr : &*found;
}

bool CMenu::SetItemDisabled(const std::string& id, bool disabled) {
    MenuItem* item = FindItem(id);
    if (item == nullptr) {
        return false;
    }
    item->disabled = disabled;
    return true;
}

#pragma once
// The window commands of the menu: each item command string goes to the main
// window as WM_COMMAND with one of these identifiers (and, for the volumes, the
// new value). The game application handles them; the menu sends them.
#include <cstdint>

enum MenuCommand : std::uint32_t {
    COMMAND_MOUSE_EXCLUSIVE = 40011,          // nothing sends it
    COMMAND_MOUSE_NOT_EXCLUSIVE = 40012,      // nothing sends it
    COMMAND_GET_OPTIONS = 40013,              // "_get_options"
    COMMAND_SET_OPTIONS = 40014,              // "_set_options"
    COMMAND_SET_VIDEO_OPTIONS = 40015,        // "_set_video_options"
    COMMAND_SET_MUSIC_VOLUME = 40016,         // "_dec/_inc/_set_music_volume"
    COMMAND_SET_SOUND_VOLUME = 40017,         // "_dec/_inc/_set_sound_volume"
    COMMAND_SHOW_HIGH_SCORES = 40018,         // "_show_high_scores"
    COMMAND_HIDE_HIGH_SCORES = 40019,         // "_hide_high_scores"
    COMMAND_SHOW_CREDITS = 40020,             // "_show_credits"
    COMMAND_HIDE_CREDITS = 40021,             // "_hide_credits", "_hide_credits_menu_begin"
    COMMAND_EDIT_PLAYER_NAME = 40022,         // "_edit_player_name"
    COMMAND_CANCEL_EDIT_PLAYER_NAME = 40023,  // "_cancel_edit_player_name"
    COMMAND_NEW_PLAYER = 40024,               // "_new_player", and Enter in the name entry
    COMMAND_DELETE_PLAYER = 40025,            // "_delete_player"
    COMMAND_SELECT_PLAYER = 40026,            // "_confirm_select_player", "_cancel_select_player"
    COMMAND_CHECK_OLD_GAME = 40027,           // "_check_old_game"
    COMMAND_NEW_GAME = 40028,                 // "_new_game"
    COMMAND_CONTINUE_GAME = 40029,            // "_continue_game"
    COMMAND_EDITOR = 40030,                   // "_editor"
    COMMAND_EDITOR_ACTION = 40031,            // "_editor_action"
    COMMAND_NEW_GAME_DEFAULTS = 40032,        // "_new_game_defaults"
    COMMAND_PREV_DIFFICULTY = 40033,          // "_prev_difficulty"
    COMMAND_NEXT_DIFFICULTY = 40034,          // "_next_difficulty"
    COMMAND_PREV_LEVEL = 40035,               // "_prev_level"
    COMMAND_NEXT_LEVEL = 40036,               // "_next_level"
    COMMAND_PREV_PACK = 40037,                // "_prev_pack"
    COMMAND_NEXT_PACK = 40038,                // "_next_pack"
    COMMAND_RESUME = 40039,                   // "_resume"
    COMMAND_CALL_PROMO_URL = 40040,           // "_callpromourl"
};

inline constexpr std::uint32_t FIRST_MENU_COMMAND = COMMAND_MOUSE_EXCLUSIVE;
inline constexpr std::uint32_t LAST_MENU_COMMAND = COMMAND_CALL_PROMO_URL;

// Where the menu sends its commands: the call runs the command before it
// returns, and the receiver may call back into the menu (page changes,
// disabled flags, option values, profile slots).
class IMenuCommandSink {
public:
    virtual ~IMenuCommandSink() = default;
    virtual void SendMenuCommand(std::uint32_t command, std::intptr_t value) = 0;
};

#pragma once
// The menus of the front end, defined by menu.xml: one list of items in file
// order, each item's children forming a page. The menu follows the mouse over
// the page on screen, keeps the settings and profile slots in its items, and
// hands every command that the game must act on to a command sink, which runs
// it before returning (and may call back into the menu).
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "frontend/menu_command.h"

class CGameSessionBase;
struct InputState;

// The settings held in the values of the items with an options_id.
enum MenuOptionKey : std::int32_t {
    OPTION_MUSIC_VOLUME = 0,  // 0 to 100
    OPTION_SOUND_VOLUME = 1,  // 0 to 100
    OPTION_DISPLAY_MODE = 2,  // index into the display-mode list
    OPTION_FULLSCREEN = 3,    // 1 fullscreen, 0 windowed
    OPTION_32_BIT = 4,        // 1 X8R8G8B8, 0 R5G6B5
};

using MenuRect = backend::Rect;

// Sizes of rectangles from menu.xml, worked out wide: coordinates at the ends of
// the int32 range give a size at the nearest end, never an overflow.
inline std::int32_t RectWidth(const MenuRect& rect) {
    return SaturateToInt32(std::int64_t{rect.right} - rect.left);
}
inline std::int32_t RectHeight(const MenuRect& rect) {
    return SaturateToInt32(std::int64_t{rect.bottom} - rect.top);
}

struct MenuCursor {
    std::int32_t image = -1;
    // Added to the mouse position to give the drawing position.
    float hotSpotX = 0.0f;
    float hotSpotY = 0.0f;
    bool pressed = false;  // mouse button 0 is down
    MenuRect rect;         // drawn while the button is up
    MenuRect pressedRect;  // drawn while it is down

    void Reset() { *this = MenuCursor{}; }
};

struct MenuItem {
    std::string id;
    std::string parentId;  // "" on the root page
    // The ids of the enclosing items, outermost first, each followed by "/".
    std::string path;
    std::string groupId;  // radio group of "_COMBO" and "_PROFILE" items
    std::string func;     // the command run on a click
    std::string type;
    std::u16string text;  // the profile name of a "_PROFILE" slot
    float x = 0.0f;       // horizontal centre, design units
    float y = 0.0f;       // top edge
    // Where the caption starts; a filled "_PROFILE" slot keeps half its name's
    // width in screen pixels here.
    float textX = 0.0f;
    float textY = 0.0f;
    // The second element: the caption of a check box, radio button or slider,
    // the second button of a display-mode chooser.
    std::int32_t xDisp = 0;
    std::int32_t yDisp = 0;
    std::int32_t width = 206;
    std::int32_t height = 61;
    MenuRect sourceRect{0, 0, 206, 61};  // the rows drawn now
    MenuRect rect;
    MenuRect rect1;
    MenuRect rect2;
    // Check state, radio selection, slider percent or display-mode index.
    std::int32_t value = 0;
    std::int32_t pendingStep = 0;  // display-mode step asked for by a click
    std::int32_t state = 0;        // 0 idle, 1 hovered, 2 second button hovered
    bool pressed = false;
    bool disabled = false;
    bool hidden = false;
    bool centered = true;
    float scale = 1.0f;
    bool hasChildren = false;
    std::uint32_t colour = 0xFFFFFFFF;
    CBlinker blinker = PulseBlinker();
    bool blink = false;
    std::int32_t image = -1;
    std::int32_t hoverImage = -1;
    std::int32_t textIndex = -1;
    std::int32_t font = -1;
    std::int32_t optionKey = -1;

    void Reset() { *this = MenuItem{}; }
    // 255 falling to 110 and back at 500 per second.
    static CBlinker PulseBlinker();
};

class CMenu {
public:
    CMenu() = default;

    // --- Definition (menu.cpp) ---

    void SetScale(float scaleX, float scaleY);
    void SetDisplayModes(std::vector<backend::DisplayMode> modes) {
        m_displayModes = std::move(modes);
    }
    // Reads Resources/Data/menu.xml; false when it does not open, and the
    // items then stay as they were.
    bool Load();
    // The caption start of every item with a font, from the font's glyphs.
    void LayoutTexts();

    // --- Mouse and commands (menu_update.cpp) ---

    // One frame of the page on screen; false only when an "_exit" item was
    // clicked.
    bool Update(IMenuCommandSink& sink, const InputState& input, float elapsedSeconds);
    void UpdateCursor(const InputState& input);
    bool OpenSubmenu(const std::string& id);
    void Back();
    void GoToRoot() { m_currentId.clear(); }
    // The first item with exactly this id; null when none has it.
    MenuItem* FindItem(const std::string& id);
    bool SetItemDisabled(const std::string& id, bool disabled);

    // --- Item states, settings and profiles (menu_states.cpp) ---

    void ApplyItemState(MenuItem* item);
    // Every item of the group gets the value; false when none is in it.
    bool SetGroupValue(const std::string& groupId, std::int32_t value);
    // -1 when no item holds the option.
    std::int32_t GetOptionValue(std::int32_t key) const;
    bool SetOptionValue(std::int32_t key, std::int32_t value);
    void SetVolumeOptions(std::int32_t music, std::int32_t sound);
    void SetDisplayModeOptions(backend::DisplayMode mode, bool fullscreen);
    // Writes the chosen mode and window choice; true when they changed.
    bool GetDisplayModeOptions(backend::DisplayMode* mode, bool* windowed) const;
    // The name in the selected profile slot; empty when none is selected.
    std::u16string GetSelectedProfileName() const;
    // The session's player names into the profile slots.
    void FillProfileItems(const CGameSessionBase& session);

    // --- Drawing (menu_draw.cpp) ---

    // False when the menu has no items.
    bool Draw() const;
    void DrawVersion(std::int32_t font, float x, float y, float scale, std::uint32_t colour) const;
    void DrawCopyright(std::int32_t font, float x, float y, float scale,
                       std::uint32_t colour) const;
    void DrawCursor() const;

    // --- Read by the backdrop, the game and the tests ---

    const std::string& GetCurrentId() const { return m_currentId; }
    const std::string& GetCurrentPath() const { return m_currentPath; }
    const std::vector<MenuItem>& GetItems() const { return m_items; }
    const std::vector<MenuCursor>& GetCursors() const { return m_cursors; }
    std::uint32_t GetActiveColour() const { return m_activeColour; }
    std::uint32_t GetPassiveColour() const { return m_passiveColour; }
    float GetCursorX() const { return m_cursorX; }
    float GetCursorY() const { return m_cursorY; }
    std::int32_t GetHoveredIndex() const { return m_hoveredIndex; }

private:
    enum class CommandResult { GoOn, Stop, Exit };

    CommandResult RunCommand(IMenuCommandSink& sink, MenuItem& item);
    // A volume option stepped by delta within 0 to 100 and sent.
    void StepVolume(IMenuCommandSink& sink, std::int32_t key, std::int32_t delta,
                    std::uint32_t command);
    void SendEditorAction(IMenuCommandSink& sink, const MenuItem& item);
    void ReselectRememberedProfile();
    void UpdateSlider(MenuItem& item);
    // The second button of a display-mode chooser.
    void UpdateSecondButton(MenuItem& item, const InputState& input, bool* anyHovered);
    void ApplyDisplayModeState(MenuItem& item);
    // -1 when the list has no such mode.
    std::int32_t FindLastMode(int width, int height) const;
    // The half width of a profile name in screen pixels.
    float ProfileNameHalfWidth(const MenuItem& item) const;
    void DrawItem(const MenuItem& item) const;

    std::string m_currentId;
    std::string m_currentPath;
    std::u16string m_rememberedProfile;
    std::uint32_t m_activeColour = 0xFFFFFFFF;
    std::uint32_t m_passiveColour = 0xFFFFFFFF;
    std::vector<backend::DisplayMode> m_displayModes;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_cursorX = 0.0f;
    float m_cursorY = 0.0f;
    std::vector<MenuCursor> m_cursors;
    std::vector<MenuItem> m_items;
    std::int32_t m_hoveredIndex = -1;
};

// One for the whole game, defined with the other components in game/globals.cpp.
extern CMenu g_menu;

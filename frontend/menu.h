#pragma once
// The menus of the front end, defined by menu.xml: pages of items whose
// commands reach the game application as window commands.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/backend/video.h"

class CAppFramework;
class CGameSession;
struct InputState;

class CMenu {
public:
    void SetScale(float /*scaleX*/, float /*scaleY*/) {}
    void SetDisplayModes(std::vector<backend::DisplayMode> /*modes*/) {}
    // Reads menu.xml; false when it does not open.
    bool Load() { return true; }
    void SetDisplayModeOptions(backend::DisplayMode /*mode*/, bool /*fullscreen*/) {}
    // Writes the chosen mode and window choice; true when they changed.
    bool GetDisplayModeOptions(backend::DisplayMode* /*mode*/, bool* /*windowed*/) { return false; }
    void SetVolumeOptions(std::int32_t /*music*/, std::int32_t /*sound*/) {}
    // The session's player names into the profile slots.
    void FillProfileItems(const CGameSession& /*session*/) {}
    bool OpenSubmenu(const std::string& /*id*/) { return false; }
    void Back() {}
    void GoToRoot() {}
    bool SetItemDisabled(const std::string& /*id*/, bool /*disabled*/) { return false; }
    // The name in the selected profile slot; empty when none is selected.
    std::u16string GetSelectedProfileName() const { return {}; }
    // The frame's input for the items of the current page; false only when
    // the exit item was chosen.
    bool Update(CAppFramework* /*window*/, const InputState* /*input*/, float /*elapsed*/) {
        return true;
    }
    // The ids of the open pages, each followed by "/"; empty at the root.
    const std::string& GetCurrentPath() const { return m_currentPath; }
    void Draw() {}
    // Only at the root: the version and the copyright line, design positions.
    void DrawVersion(std::int32_t /*font*/, float /*x*/, float /*y*/, float /*textScale*/,
                     std::uint32_t /*colour*/) {}
    void DrawCopyright(std::int32_t /*font*/, float /*x*/, float /*y*/, float /*textScale*/,
                       std::uint32_t /*colour*/) {}
    void DrawCursor() {}

private:
    std::string m_currentPath;
};

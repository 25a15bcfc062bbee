#pragma once
// What the front end and the game share: the game-mode word that selects every
// screen, the player profiles with one current, the name entry with its
// blinking caret, and the screen fade. The one game-state object derives from
// it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/backend/video.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"
#include "engine/platform/media_result.h"
#include "game/game_mode.h"
#include "game/profile.h"
#include "game/save_file.h"

class CAppFramework;
struct InputState;

class CGameSessionBase {
public:
    static constexpr int MAX_PROFILES = 13;
    // Fade speed in brightness units per second, and the dimmed level behind
    // overlays.
    static constexpr float FADE_SPEED = 500.0f;
    static constexpr float DIMMED_LEVEL = 127.0f;
    // The name entry takes no more characters once the typed name is this wide.
    static constexpr float MAX_NAME_WIDTH = 180.0f;

    CGameSessionBase();
    virtual ~CGameSessionBase() = default;
    CGameSessionBase(const CGameSessionBase&) = delete;
    CGameSessionBase& operator=(const CGameSessionBase&) = delete;

    virtual void OnFrame(CAppFramework* window, const InputState& input, float elapsed);
    // config.cfg in the per-user folder: the fullscreen mode, the windowed
    // flag and the two volumes of the sound manager.
    virtual bool SaveConfig(const std::string& fileName, backend::DisplayMode mode, bool windowed);
    virtual bool LoadConfig(const std::string& fileName, backend::DisplayMode* mode,
                            bool* windowed);

    // --- Mode word ---
    std::uint32_t GetGameMode() const { return m_gameMode; }
    void SetGameMode(std::uint32_t mode) { m_gameMode = mode; }
    void AddModeBits(std::uint32_t bits) { m_gameMode |= bits; }
    void ClearModeBits(std::uint32_t bits) { m_gameMode &= ~bits; }
    bool HasModeBits(std::uint32_t bits) const { return (m_gameMode & bits) != 0; }

    bool IsGameActive() const { return m_gameActive; }
    void SetGameActive(bool active) { m_gameActive = active; }
    bool HadNoProfilesAtStart() const { return m_noProfilesAtStart; }
    void SetNoProfilesAtStart(bool none) { m_noProfilesAtStart = none; }

    // --- Name entry ---
    bool IsNameEntryOpen() const { return m_nameEntryOpen; }
    // Opening starts with an empty name.
    void OpenNameEntry();
    void CloseNameEntry() { m_nameEntryOpen = false; }
    const std::u16string& GetTypedName() const { return m_typedName; }
    // Moves the caret and, while no profile exists, asks the window to open
    // the name entry.
    void UpdateNameEntry(CAppFramework* window, float elapsed);
    // One typed UTF-16 unit: Backspace, Enter (sends "_new_player") or a
    // character to append.
    void OnNameChar(CAppFramework* window, char16_t character);
    // The typed name and its caret; the name's width is measured here for the
    // width limit of OnNameChar.
    HResult RenderNameEntry(std::int32_t font, Vec2 scale, Vec2 point, std::uint32_t colour,
                            bool centred, float letterSpacing);

    // --- Profiles ---
    // The current profile; when not exactly one is marked current, the first
    // becomes the only current one. Null for an empty list.
    CProfile* GetCurrentProfile();
    int GetProfileCount() const { return static_cast<int>(m_profiles.size()); }
    bool IsProfileListFull() const { return GetProfileCount() >= MAX_PROFILES; }
    const std::vector<CProfile>& GetProfiles() const { return m_profiles; }
    bool SelectProfile(std::u16string_view name);
    // False when the list is full or the name is taken; saves profiles.sav.
    bool AddProfile(std::u16string_view name);
    bool AddProfileFromEntry();
    bool DeleteProfile(std::u16string_view name);
    // The number of profiles read from the per-user folder's file.
    int LoadProfiles(const std::string& fileName);
    bool SaveProfiles(const std::string& fileName);

    // --- Fade ---
    // False when the level already stands at the target.
    bool SetFade(float speed, float target);
    void UpdateFade(float elapsed);
    float GetFadeLevel() const { return m_fadeLevel; }

protected:
    std::uint32_t m_gameMode = MODE_LOADING;
    bool m_gameActive = false;
    bool m_noProfilesAtStart = false;
    bool m_nameEntryOpen = false;
    float m_typedNameWidth = 0.0f;
    CBlinker m_caret;
    float m_fadeLevel = 255.0f;
    float m_fadeTarget = 0.0f;
    float m_fadeSpeed = 0.0f;
    bool m_fadeDone = false;
    std::vector<CProfile> m_profiles;
    // profiles.sav and config.cfg as their loads found them.
    CSaveFileGuard m_profilesGuard;
    CSaveFileGuard m_configGuard;
    std::u16string m_typedName;
    // The first half of a surrogate pair, held until its second half comes so
    // that a character is taken whole or not at all.
    char16_t m_pendingHighSurrogate = 0;
};

#include "game/game_session_base.h"

#include <algorithm>
#include <cmath>

#include "engine/framework/app_framework.h"
#include "engine/media/resource_manager.h"
#include "frontend/menu_command.h"

namespace {

constexpr char16_t BACKSPACE = 8;
constexpr char16_t ENTER = 13;
constexpr char16_t SPACE = 32;
constexpr float CARET_SPEED = 1000.0f;
constexpr float FULL_BRIGHTNESS = 255.0f;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

CGameSessionBase::CGameSessionBase() {
    m_caret.Set(0.0f, FULL_BRIGHTNESS, 0.0f, CARET_SPEED, 1);
}

void CGameSessionBase::OnFrame(CAppFramework* window, const InputState& /*input*/, float elapsed) {
    UpdateNameEntry(window, elapsed);
}

void CGameSessionBase::OpenNameEntry() {
    m_typedName.clear();
    m_pendingHighSurrogate = 0;
    m_nameEntryOpen = true;
}

void CGameSessionBase::UpdateNameEntry(CAppFramework* window, float elapsed) {
    m_caret.Update(elapsed);
    // Without a player nothing can be played, so the entry keeps asking.
    if (m_profiles.empty() && !m_nameEntryOpen && window != nullptr) {
        window->SendMessage(WM_COMMAND, COMMAND_EDIT_PLAYER_NAME, 0);
    }
}

void CGameSessionBase::OnNameChar(CAppFramework* window, char16_t character) {
    if (!m_nameEntryOpen) {
        return;
    }
    const char16_t high = m_pendingHighSurrogate;
    m_pendingHighSurrogate = 0;
    if (character == BACKSPACE) {
        if (m_typedName.empty()) {
            return;
        }
        const std::size_t cut = m_typedName.size() >= 2 && IsLowSurrogate(m_typedName.back()) &&
                                        IsHighSurrogate(m_typedName[m_typedName.size() - 2])
                                    ? 2
                                    : 1;
        m_typedName.resize(m_typedName.size() - cut);
        return;
    }
    if (character == ENTER) {
        if (window != nullptr) {
            window->SendMessage(WM_COMMAND, COMMAND_NEW_PLAYER, 0);
        }
        return;
    }
    if (IsHighSurrogate(character)) {
        m_pendingHighSurrogate = character;
        return;
    }
    const bool pair = IsLowSurrogate(character);
    if (pair && high == 0) {
        return;  // half a character
    }
    if (character == SPACE && m_typedName.empty()) {
        return;
    }
    const std::size_t units = pair ? 2 : 1;
    if (m_typedName.size() + units > CProfile::MAX_NAME_LENGTH ||
        m_typedNameWidth >= MAX_NAME_WIDTH) {
        return;
    }
    if (pair) {
        m_typedName.push_back(high);
    }
    m_typedName.push_back(character);
}

HResult CGameSessionBase::RenderNameEntry(std::int32_t font, Vec2 scale, Vec2 point,
                                          std::uint32_t colour, bool centred, float letterSpacing) {
    if (!m_nameEntryOpen) {
        return RESULT_OK;
    }
    CResourceManager& resources = ResourceManager::Instance();
    m_typedNameWidth = resources.GetTextWidth(font, m_typedName, letterSpacing, false, -1);
    float width = resources.GetTextWidth(font, m_typedName, letterSpacing, true, -1);
    const Vec2 screen{point.x * scale.x, point.y * scale.y};
    if (centred) {
        width *= 0.5f;
    }
    HResult result = resources.DrawText(font, m_typedName, scale, Vec2{screen.x - width, screen.y},
                                        colour, false, false, letterSpacing, 0.0f, true);
    if (Failed(result)) {
        return result;
    }
    const auto alpha = static_cast<std::uint32_t>(static_cast<int>(m_caret.value)) << 24;
    result =
        resources.DrawText(font, u"_", scale, Vec2{screen.x + width, screen.y},
                           colour & (alpha | 0x00FFFFFFu), false, false, letterSpacing, 0.0f, true);
    return Failed(result) ? result : RESULT_OK;
}

CProfile* CGameSessionBase::GetCurrentProfile() {
    if (m_profiles.empty()) {
        return nullptr;
    }
    int current = 0;
    for (const CProfile& profile : m_profiles) {
        current += profile.current == 1 ? 1 : 0;
    }
    if (current != 1) {
        for (CProfile& profile : m_profiles) {
            profile.current = 0;
        }
        m_profiles.front().current = 1;
    }
    for (CProfile& profile : m_profiles) {
        if (profile.current == 1) {
            return &profile;
        }
    }
    return nullptr;
}

bool CGameSessionBase::SelectProfile(std::u16string_view name) {
    bool found = false;
    for (const CProfile& profile : m_profiles) {
        found = found || profile.HasName(name);
    }
    if (!found) {
        return false;
    }
    for (CProfile& profile : m_profiles) {
        profile.current = profile.HasName(name) ? 1 : 0;
    }
    return true;
}

bool CGameSessionBase::SetFade(float speed, float target) {
    if (target == m_fadeLevel) {
        return false;
    }
    m_fadeDone = false;
    m_fadeTarget = std::clamp(target, 0.0f, FULL_BRIGHTNESS);
    m_fadeSpeed = m_fadeTarget > m_fadeLevel ? std::abs(speed) : -std::abs(speed);
    return true;
}

void CGameSessionBase::UpdateFade(float elapsed) {
    if (!HasModeBits(MODE_FADE_OUT | MODE_PAUSED)) {
        SetFade(FADE_SPEED, FULL_BRIGHTNESS);
    }
    if (HasModeBits(MODE_PAUSED)) {
        SetFade(FADE_SPEED, DIMMED_LEVEL);
    }
    // The bit is cleared one frame after black is reached, so every screen
    // that waits for it starts on a black frame.
    if (HasModeBits(MODE_FADE_OUT) && !SetFade(FADE_SPEED, 0.0f)) {
        ClearModeBits(MODE_FADE_OUT);
    }
    if (m_fadeDone) {
        return;
    }
    m_fadeLevel += m_fadeSpeed * elapsed;
    if ((m_fadeSpeed > 0.0f && m_fadeLevel >= m_fadeTarget) ||
        (m_fadeSpeed < 0.0f && m_fadeLevel <= m_fadeTarget)) {
        m_fadeLevel = m_fadeTarget;
        m_fadeDone = true;
    }
    ResourceManager::Instance().SetBrightness(m_fadeLevel);
}

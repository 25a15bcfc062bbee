// The HUD of play, the screens that replace the world and the overlays over a
// paused world. Everything here only draws what the session holds.
#include <algorithm>
#include <string>

#include "engine/media/resource_manager.h"
#include "engine/platform/number_text.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "game/level_base.h"

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t BLACK = 0xFF000000;
constexpr std::uint32_t CLOSED_COLOUR = 0xFFFFFF88;
// Pending steps that keep a paused overlay at the fade's brightness.
constexpr std::uint32_t LEAVING_STEPS = MODE_EXIT_TO_MENU | MODE_RETRY | MODE_NEXT_LEVEL;
constexpr float LABEL_SIZE = 0.7f;
// The labels sit this much lower in Japanese, and CLOSED at its own place.
constexpr float JAPANESE_LABEL_SHIFT = 4.0f;
constexpr Vec2 CLOSED_POINT{575.0f, -8.0f};
constexpr Vec2 JAPANESE_CLOSED_POINT{575.0f, -3.0f};
// The first training level's briefing runs up to this step.
constexpr std::int32_t SECOND_TRAINING_STEP = 26;
// The goal lines are centred by hand on this x, half of the 0.7 glyph scale
// of their measured width to its left.
constexpr float GOAL_CENTRE_X = 506.0f;
constexpr float GOAL_HALF_WIDTH = 0.35f;
// The first levels of the three locations have large marks.
constexpr std::int32_t LOCATION_FIRST_LEVELS[] = {1, 16, 31};
constexpr Vec2 LARGE_MARK_SHIFT{-5.0f, -6.0f};

// One text: font, design position, glyph size, colour and layout.
struct TextStyle {
    std::int32_t font = 1;
    float size = 1.0f;
    std::uint32_t colour = WHITE;
    bool centred = false;
    float letterSpacing = 0.0f;
    float lineSpacing = 0.0f;
};

void DrawHudText(std::u16string_view text, Vec2 screenScale, Vec2 point, const TextStyle& style) {
    ResourceManager::Instance().DrawText(
        style.font, text, Vec2{screenScale.x * style.size, screenScale.y * style.size},
        Vec2{point.x * screenScale.x, point.y * screenScale.y}, style.colour, style.centred, false,
        style.letterSpacing, style.lineSpacing, true);
}

std::u16string Text(const std::string& id) {
    return TextStorage().GetText(id);
}

bool IsJapanese() {
    return TextStorage().GetLanguage() == "Japanese";
}

// The size the map marker is drawn at for the current story level: it
// shrinks over the last four levels, where the path runs into the distance.
float MarkerScale(std::int32_t level) {
    switch (level) {
        case 42:
            return 0.9f;
        case 43:
            return 0.8f;
        case 44:
            return 0.7f;
        case 45:
            return 0.6f;
        default:
            return 1.0f;
    }
}

}  // namespace

void CGameSession::DrawImage(SessionImage image, Vec2 screenScale, bool snap) {
    m_images[image].Draw(nullptr, screenScale, snap, WHITE, true);
}

void CGameSession::DrawImageAt(SessionImage image, Vec2 screenScale, Vec2 position) {
    m_images[image].x = position.x;
    m_images[image].y = position.y;
    DrawImage(image, screenScale);
}

void CGameSession::RenderHud(backend::IRenderDevice* device, Vec2 screenScale) {
    const CProfile* current = GetCurrentProfile();
    if (current == nullptr || HasModeBits(MODE_MENU)) {
        return;
    }
    const CProfile& profile = *current;
    if (!HasModeBits(MODE_SCREENS)) {
        RenderPlayHud(screenScale, profile);
    }
    if (HasModeBits(MODE_TRAINING) && !HasModeBits(MODE_PAUSED)) {
        const auto alpha = static_cast<std::uint32_t>(static_cast<std::int32_t>(m_tipAlpha));
        m_buttons[BTN_SKIP].Draw(screenScale, alpha * 0x1000000u + 0xFFFFFFu);
    }
    RenderScreen(screenScale, profile);
    if (HasModeBits(MODE_PAUSED)) {
        RenderOverlay(device, screenScale, profile);
    }
}

void CGameSession::RenderPlayHud(Vec2 screenScale, const CProfile& profile) {
    DrawImage(IMG_HUD_CORNER, screenScale);
    DrawImage(IMG_HUD_ICON_3, screenScale);
    m_buttons[BTN_PAUSE].Draw(screenScale, WHITE);
    // The bonus game draws its own score.
    if (m_level.bonus) {
        return;
    }
    for (const SessionImage image : {IMG_HUD_ICON_4, IMG_TIME_FRAME, IMG_TIME_BAR, IMG_HUD_ICON_1,
                                     IMG_HUD_ICON_2, IMG_HUD_PANEL, IMG_GOAL_BAR}) {
        DrawImage(image, screenScale);
    }
    const float shift = IsJapanese() ? JAPANESE_LABEL_SHIFT : 0.0f;
    DrawHudText(RoundedNumberText(profile.shownCash), screenScale, Vec2{46.0f, 41.0f},
                {.centred = true, .letterSpacing = -1.0f});
    if (m_timeLeft <= 0.0f) {
        DrawHudText(Text("CLOSED"), screenScale,
                    IsJapanese() ? JAPANESE_CLOSED_POINT : CLOSED_POINT,
                    {.colour = CLOSED_COLOUR, .centred = true, .letterSpacing = 1.0f});
    }
    if (!HasModeBits(MODE_TRAINING)) {
        DrawHudText(NumberText(profile.storyLevel), screenScale, Vec2{141.0f, 32.0f},
                    {.centred = true});
    }
    const TextStyle label{.size = LABEL_SIZE};
    const TextStyle centredLabel{.size = LABEL_SIZE, .centred = true};
    DrawHudText(Text("CASH"), screenScale, Vec2{10.0f, 75.0f + shift}, label);
    DrawHudText(Text("LEVEL"), screenScale, Vec2{105.0f, 63.0f + shift}, label);
    DrawHudText(Text("MENU_NORMAL"), screenScale, Vec2{136.0f, shift - 6.0f}, centredLabel);
    DrawHudText(Text("MENU_EXPERT"), screenScale, Vec2{240.0f, shift - 6.0f}, centredLabel);
}

void CGameSession::RenderScreen(Vec2 screenScale, const CProfile& profile) {
    if (HasModeBits(MODE_COMICS_1)) {
        DrawImage(IMG_COMICS_1, screenScale);
        m_buttons[BTN_NEXT].Draw(screenScale, WHITE);
    } else if (HasModeBits(MODE_COMICS_2)) {
        DrawImage(IMG_COMICS_2, screenScale);
        m_buttons[BTN_NEXT].Draw(screenScale, WHITE);
        m_buttons[BTN_BACK].Draw(screenScale, WHITE);
    } else if (HasModeBits(MODE_PET_CHOICE)) {
        DrawImage(IMG_PETS, screenScale);
        m_buttons[BTN_TURTLE_PERSON].Draw(screenScale, WHITE);
        m_buttons[BTN_FISH_PERSON].Draw(screenScale, WHITE);
        DrawHudText(Text("CHANGE_PET"), screenScale, Vec2{530.0f, 640.0f},
                    {.font = 0, .size = LABEL_SIZE, .centred = true, .lineSpacing = -5.0f});
    } else if (HasModeBits(MODE_COMICS_3 | MODE_COMICS_4 | MODE_GAME_COMPLETED)) {
        DrawImage(HasModeBits(MODE_COMICS_3)   ? IMG_COMICS_3
                  : HasModeBits(MODE_COMICS_4) ? IMG_COMICS_4
                                               : IMG_COMICS_5,
                  screenScale);
        m_buttons[BTN_NEXT].Draw(screenScale, WHITE);
    } else if (HasModeBits(MODE_LOAD_TEXTURES)) {
        if (!HasModeBits(MODE_PAUSED)) {
            DrawImage(IMG_LOADING_SCREEN, screenScale);
            // The bar shows once the pictures are in, through the fade-in
            // back to the game.
            if (HasModeBits(MODE_LEAVE_SCREEN) || m_textureHoldTimer <= 0.0f) {
                DrawImage(IMG_LOADING_PROGRESS, screenScale, false);
            }
        }
    } else if (HasModeBits(MODE_MAP)) {
        DrawImage(IMG_MAP, screenScale);
        m_buttons[BTN_PLAY].Draw(screenScale, WHITE);
        RenderMapMarks(screenScale, profile);
    } else if (HasModeBits(MODE_SHOP)) {
        DrawImage(IMG_HUD_ICON_1, screenScale);
        DrawImage(IMG_HUD_ICON_2, screenScale);
        DrawImage(IMG_HUD_PANEL, screenScale);
        m_buttons[BTN_FINISH].Draw(screenScale, WHITE);
        if (m_pendingCode != 0) {
            m_buttons[BTN_BUY].Draw(screenScale, WHITE);
        }
        const TextStyle label{.size = LABEL_SIZE};
        const TextStyle centredLabel{.size = LABEL_SIZE, .centred = true};
        DrawHudText(Text("CASH"), screenScale, Vec2{10.0f, 75.0f}, label);
        DrawHudText(Text("LEVEL"), screenScale, Vec2{105.0f, 63.0f}, label);
        DrawHudText(Text("MENU_NORMAL"), screenScale, Vec2{136.0f, -6.0f}, centredLabel);
        DrawHudText(Text("MENU_EXPERT"), screenScale, Vec2{240.0f, -6.0f}, centredLabel);
        DrawHudText(RoundedNumberText(static_cast<float>(profile.savings)), screenScale,
                    Vec2{46.0f, 41.0f}, {.centred = true, .letterSpacing = -1.0f});
    }
}

void CGameSession::RenderMapMarks(Vec2 screenScale, const CProfile& profile) {
    if (m_mapPoints.empty()) {
        return;
    }
    const auto count = static_cast<std::int32_t>(m_mapPoints.size());
    const std::int32_t level = std::clamp(profile.storyLevel, 1, count);
    const auto point = [this](std::int32_t n) {
        return m_mapPoints[static_cast<std::size_t>(n - 1)];
    };
    for (std::int32_t n = 1; n < level; ++n) {
        if (std::ranges::find(LOCATION_FIRST_LEVELS, n) != std::end(LOCATION_FIRST_LEVELS)) {
            DrawImageAt(IMG_MAP_MARK_LARGE, screenScale, point(n) + LARGE_MARK_SHIFT);
        } else {
            DrawImageAt(IMG_MAP_MARK, screenScale, point(n));
        }
    }
    const Vec2 here = point(level);
    const float scale = MarkerScale(level);
    m_mapMarker.SetScale(scale, scale);
    m_mapMarker.SetPosition(here.x - 2.0f + 19.5f * (1.0f - scale),
                            here.y - 103.0f + 121.0f * (1.0f - scale));
    DrawImageAt(IMG_MAP_MARK_LARGE, screenScale, here + LARGE_MARK_SHIFT);
    m_mapMarker.Draw(screenScale, WHITE);
}

void CGameSession::RenderOverlay(backend::IRenderDevice* device, Vec2 screenScale,
                                 const CProfile& profile) {
    CResourceManager& resources = ResourceManager::Instance();
    // A pause on the way out stays at the fade's brightness; any other at full.
    if (!HasModeBits(LEAVING_STEPS)) {
        resources.SetBrightness(255.0f);
    }
    DrawImage(IMG_MESSAGE_PANEL, screenScale);
    if (HasModeBits(MODE_LEVEL_COMPLETE)) {
        DrawImage(IMG_COMPLETE_TITLE, screenScale);
        m_buttons[BTN_OK].Draw(screenScale, WHITE);
        m_statistics.Render(device, screenScale, m_level.bonus);
    } else if (HasModeBits(MODE_LEVEL_FAILED)) {
        DrawImage(IMG_FAILED_TITLE, screenScale);
        m_buttons[BTN_TRY_AGAIN].Draw(screenScale, WHITE);
        m_statistics.Render(device, screenScale, m_level.bonus);
    } else if (HasModeBits(MODE_BRIEFING)) {
        m_buttons[BTN_OK].Draw(screenScale, WHITE);
        RenderBriefing(screenScale, profile);
    } else {
        DrawHudText(Text("PAUSE"), screenScale, Vec2{505.0f, 349.0f},
                    {.font = 0, .size = LABEL_SIZE, .centred = true});
        DrawImageAt(IMG_MESSAGE_LINE, screenScale, Vec2{346.0f, 540.0f});
        DrawImageAt(IMG_MESSAGE_LINE, screenScale, Vec2{346.0f, 560.0f});
        if (!m_level.bonus && !HasModeBits(MODE_TRAINING)) {
            RenderGoals(screenScale, 450.0f, 483.0f);
        }
        m_buttons[BTN_RESUME].Draw(screenScale, WHITE);
        m_buttons[BTN_SAVE_AND_EXIT].Draw(screenScale, WHITE);
    }
    resources.SetBrightness(GetFadeLevel());
}

void CGameSession::RenderBriefing(Vec2 screenScale, const CProfile& profile) {
    std::string id;
    if (HasModeBits(MODE_TRAINING)) {
        id = m_trainingStep < SECOND_TRAINING_STEP ? "TRAINING_1" : "TRAINING_2";
    } else if (m_level.bonus) {
        const std::int32_t ordinal = g_levelBase.CountBonusLevels(
            static_cast<std::uint32_t>(std::max(profile.levelIndex, 0)));
        id = "MINIGAME_BRIEFING_" + std::to_string(ordinal);
    } else {
        id = "BRIEFING_" + std::to_string(profile.storyLevel);
    }
    const TextStyle briefing{.font = 0, .size = LABEL_SIZE, .centred = true, .lineSpacing = -2.0f};
    DrawHudText(Text(id), screenScale, Vec2{510.0f, 351.0f}, briefing);
    if (m_level.bonus) {
        TextStyle tutorial = briefing;
        tutorial.colour = BLACK;
        DrawHudText(Text("MINIGAME_TUTORIAL"), screenScale, Vec2{510.0f, 483.0f}, tutorial);
    } else if (!HasModeBits(MODE_TRAINING)) {
        RenderGoals(screenScale, 516.0f, 549.0f);
    }
}

void CGameSession::RenderGoals(Vec2 screenScale, float needY, float expertY) {
    CResourceManager& resources = ResourceManager::Instance();
    const auto drawLine = [&](const std::u16string& line, float y) {
        const float width = resources.GetTextWidth(0, line, 0.0f, true, -1);
        resources.DrawText(
            0, line, Vec2{screenScale.x * LABEL_SIZE, screenScale.y * LABEL_SIZE},
            Vec2{GOAL_CENTRE_X * screenScale.x - GOAL_HALF_WIDTH * width, y * screenScale.y}, BLACK,
            false, false, 0.0f, 0.0f, true);
    };
    drawLine(WithNumber(Text("GOAL"), u" ", m_level.need), needY);
    drawLine(WithNumber(Text("EXPERT"), u" ", m_level.expert), expertY);
}

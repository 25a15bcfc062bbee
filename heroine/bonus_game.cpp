#include "heroine/bonus_game.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "engine/platform/random_float.h"
#include "engine/platform/text_storage.h"
#include "game/game_session.h"
#include "heroine/bonus_sounds.h"

namespace bonus {

namespace {

CSoundManager& Sounds() {
    return ResourceManager::Instance().GetSoundManager();
}

std::uint32_t Milliseconds() {
    return static_cast<std::uint32_t>(backend::Clock().Milliseconds());
}

}  // namespace

void PlaySample(unsigned index) {
    Sounds().Play(SoundType::Sample, index, true, false);
}

bool IsSamplePlaying(unsigned index) {
    return Sounds().IsPlaying(SoundType::Sample, index);
}

void PauseSample(unsigned index) {
    Sounds().Pause(SoundType::Sample, index);
}

float Draw(std::uint32_t factor) {
    SeedRandom(factor * Milliseconds());
    return static_cast<float>(NextRandom()) / static_cast<float>(RANDOM_MAX);
}

int ReseededNumber() {
    SeedRandom(Milliseconds());
    return NextRandom();
}

}  // namespace bonus

namespace {

constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::uint32_t YELLOW = 0xFFFFFF00;
constexpr std::int32_t TEXT_FONT = 1;

// In clip order; every clip is drawn from the same offset.
constexpr BonusClipRow HAND_CLIPS[] = {
    {"A_HAND_PART_2", 0, 23, 0.05f, -147.0f, -110.0f},
    {"A_HAND_PART_1", 44, 63, 0.05f, -147.0f, -110.0f},
    {"A_HAND_PART_1", 12, 43, 0.05f, -147.0f, -110.0f},
    {"A_HAND_PART_1", 0, 11, 0.033f, -147.0f, -110.0f},
    {"A_HAND_PART_1", 64, 79, 0.033f, -147.0f, -110.0f},
};
enum HandClip : unsigned {
    HAND_IDLE = 0,
    HAND_MOVE = 1,
    HAND_FIDGET = 2,
    HAND_PRESS_SKY = 3,
    HAND_PRESS_WATER = 4,
};
// A clip played once runs to its last frame and stops there.
constexpr float ONCE = 0.1f;
constexpr float ENDLESS = -1.0f;
// Seconds the idle hand holds still before it fidgets.
constexpr float IDLE_TIME = 3.0f;

constexpr float PULSE_MAX = 0.1f;
constexpr std::int32_t PULSE_STEPS = 4;

// A piece of the score bar's picture placed at (x, y).
GuiImageDesc BarPart(float x, float y, backend::Rect source) {
    GuiImageDesc desc;
    desc.x = x;
    desc.y = y;
    desc.imageId = "MINIGAME_BAR";
    desc.left = source.left;
    desc.right = source.right;
    desc.top = source.top;
    desc.bottom = source.bottom;
    return desc;
}

void PopUp(const std::u16string& text, std::uint32_t colour, float x, float y) {
    PopupTexts::Instance().Add(TEXT_FONT, text, 0, colour, x, y, 1.0f, 0.0f, -1.0f, 1.0f, 0.5f,
                               0.0f, -1);
}

}  // namespace

void CBonusGame::BuildSprites() {
    SetBonusClips(m_hand, HAND_CLIPS);
    // Off the design size the scaled hand would bleed a line of its
    // neighbours on the sheet.
    const Vec2 scale = ResourceManager::Instance().GetScale();
    if (scale.x != 1.0f || scale.y != 1.0f) {
        for (unsigned clip : {HAND_IDLE, HAND_MOVE, HAND_FIDGET}) {
            m_hand.SetClipCrop(clip, 1, 0, 1, 0);
        }
    }

    m_barCover.Create(BarPart(989.0f, 188.0f, {89, 88, 109, 365}));
    m_barFrame.Create(BarPart(935.0f, 100.0f, {3, 0, 87, 446}));
}

void CBonusGame::StartLevel(CLevelRecord level) {
    m_level = std::move(level);
    m_clock = 0.0f;
    m_saved = 0;
    m_total = m_level.CountTurtles();
    m_handClip = HAND_MOVE;
    m_nextTurtleId = 0;
    m_chain = 0;
    m_score = 0.0f;
    m_shownScore = 0.0f;
    m_pulseStep = 0;
    m_pulse = 0.0f;
    m_cryTimer = FIRST_CRY;
    BuildSprites();
    m_gulls.clear();
    m_turtles.clear();
}

void CBonusGame::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    m_scored = false;
    m_turtleClicked = false;
    m_chainBreak = false;

    m_cryTimer -= elapsed;
    if (m_cryTimer <= 0.0f) {
        m_cryTimer = CRY_INTERVAL;
        bonus::PlaySample(bonus::ReseededNumber() % 2 == 0 ? bonus::SAMPLE_AMBIENT_2
                                                           : bonus::SAMPLE_AMBIENT_1);
    }
    UpdateScore(elapsed);

    if (g_gameSession.GetLevelStartDelay() <= 0.0f) {
        m_clock += elapsed;
        SpawnDue();
        for (std::size_t i = 0; i < m_gulls.size();) {
            i += StepGull(i, input, screenScale, elapsed) ? 1 : 0;
        }
        for (std::size_t i = 0; i < m_turtles.size();) {
            i += StepTurtle(i, input, screenScale, elapsed) ? 1 : 0;
        }
    }

    if (input.ButtonWentDown(0)) {
        if (!m_turtleClicked) {
            m_chainBreak = true;
            bonus::PlaySample(bonus::SAMPLE_CLICK);
        } else if (!m_scored) {
            bonus::PlaySample(bonus::SAMPLE_CLICK);
        }
    }
    UpdateHand(input, screenScale, elapsed);
    if (m_chainBreak && !m_scored) {
        m_chain = 0;
    }
    EndIfOver();
}

void CBonusGame::UpdateScore(float elapsed) {
    const auto need = static_cast<float>(m_level.need);
    // Upper bound first: a level may give a negative goal, and the score
    // still never falls below 0.
    m_score = std::max(std::min(m_score, need), 0.0f);
    if (m_shownScore < m_score) {
        m_shownScore = std::min(m_shownScore + BAR_SPEED * elapsed, m_score);
        if (m_shownScore >= need) {
            bonus::PlaySample(bonus::SAMPLE_GOAL_REACHED);
            m_pulseStep = 1;
        }
    } else if (m_shownScore > m_score) {
        m_shownScore = std::max(m_shownScore - BAR_SPEED * elapsed, m_score);
    }

    if (m_level.need > 0) {
        m_barCover.source.bottom =
            m_barCover.source.top +
            static_cast<int>(std::floor(BAR_HEIGHT * (1.0f - m_shownScore / need)));
    }

    if (m_pulseStep > 0) {
        if (m_pulseStep % 2 == 1) {
            m_pulse += elapsed;
            if (m_pulse > PULSE_MAX) {
                m_pulse = PULSE_MAX;
                ++m_pulseStep;
            }
        } else {
            m_pulse -= elapsed;
            if (m_pulse < 0.0f) {
                m_pulse = 0.0f;
                ++m_pulseStep;
            }
        }
        if (m_pulseStep > PULSE_STEPS) {
            m_pulseStep = 0;
        }
    }
}

void CBonusGame::SpawnDue() {
    std::vector<CLevelEnemy>& enemies = m_level.enemies;
    for (auto it = enemies.begin(); it != enemies.end();) {
        if (it->creation_time > m_clock) {
            ++it;
            continue;
        }
        const CLevelEnemy entry = *it;
        it = enemies.erase(it);
        switch (entry.kind) {
            case ENEMY_GULL_1:
            case ENEMY_GULL_2:
                SpawnGull(entry.kind, entry.speed, entry.attack_speed);
                break;
            case ENEMY_TURTLE_1:
            case ENEMY_TURTLE_2:
                SpawnTurtle(entry.kind, entry.speed, entry.energy, entry.rest, entry.path);
                break;
            default:
                // A type outside the known ones is no creature at all.
                break;
        }
    }
}

void CBonusGame::UpdateHand(const InputState& input, Vec2 screenScale, float elapsed) {
    if (input.ButtonWentDown(0)) {
        const HandClip clip =
            input.cursorY < SKY_LINE * screenScale.y ? HAND_PRESS_SKY : HAND_PRESS_WATER;
        m_hand.Play(clip, true, false, ONCE);
        m_handClip = static_cast<std::int32_t>(clip);
    } else {
        if (input.rawDeltaX != 0.0f || input.rawDeltaY != 0.0f) {
            m_handMoved = true;
        }
        if (!m_hand.IsPlaying(-1)) {
            if (m_handMoved) {
                const HandClip clip = m_handClip == HAND_MOVE ? HAND_IDLE : HAND_MOVE;
                m_hand.Play(clip, true, false, ONCE);
                m_handClip = static_cast<std::int32_t>(clip);
                m_handMoved = false;
            } else if (m_handClip != HAND_IDLE) {
                m_hand.Play(HAND_IDLE, true, false, IDLE_TIME);
                m_handClip = HAND_IDLE;
            } else {
                m_hand.Play(HAND_FIDGET, true, false, ONCE);
                m_handClip = HAND_FIDGET;
            }
        }
    }
    m_hand.SetPosition(input.cursorX / screenScale.x, input.cursorY / screenScale.y);
    m_hand.Update(elapsed);
}

bool CBonusGame::TurtlesLeft() const {
    return !m_turtles.empty() || m_level.CountTurtles() != 0;
}

void CBonusGame::EndIfOver() {
    // Once over, the scene no longer runs the game; a further frame must not
    // count the win twice.
    if (TurtlesLeft() || !m_gulls.empty() || g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE)) {
        return;
    }
    g_gameSession.AddModeBits(MODE_LEVEL_COMPLETE | MODE_PAUSED);
    if (m_score >= static_cast<float>(m_level.need)) {
        g_gameSession.SetBonusReward(true);
        ++g_gameSession.GetStatistics().totalLines;
    }
}

void CBonusGame::ScoreChain(float textX, float textY) {
    ++m_chain;
    Gain(CHAIN_POINTS * static_cast<float>(m_chain), textX, textY);
    m_scored = true;
}

void CBonusGame::Gain(float points, float textX, float textY) {
    m_score += points;
    PopUp(WithNumber(u"", u"+", static_cast<std::int32_t>(points)), GREEN, textX, textY);
}

void CBonusGame::Lose(float points, float textX, float textY) {
    m_score -= points;
    PopUp(WithNumber(u"", u"-", static_cast<std::int32_t>(points)), YELLOW, textX, textY);
}

void CBonusGame::Render(backend::IRenderDevice* device, Vec2 screenScale) {
    for (std::int32_t row = 0; row < 3; ++row) {
        for (CBonusTurtle& turtle : m_turtles) {
            if (turtle.row == row) {
                turtle.Render(screenScale);
            }
        }
    }
    for (CBonusGull& gull : m_gulls) {
        gull.Render(screenScale);
    }

    const std::u16string goal = TextStorage().GetText("BONUS_LEVEL_GOAL") + NumberText(m_saved) +
                                u"/" + NumberText(m_total);
    ResourceManager::Instance().DrawText(TEXT_FONT, goal, screenScale,
                                         {900.0f * screenScale.x, 725.0f * screenScale.y}, YELLOW,
                                         true, false, -1.0f, 0.0f, true);

    // The frame swells about its centre.
    CGuiImage frame = m_barFrame;
    frame.scaleX = 1.0f + m_pulse;
    frame.scaleY = 1.0f + m_pulse;
    frame.offsetX = -m_pulse / 2.0f * static_cast<float>(frame.source.right - frame.source.left);
    frame.offsetY = -m_pulse / 2.0f * static_cast<float>(frame.source.bottom - frame.source.top);
    frame.Draw(device, screenScale, false, WHITE, false);
    if (m_shownScore < static_cast<float>(m_level.need)) {
        m_barCover.Draw(device, screenScale, false, WHITE, false);
    }
}

void CBonusGame::RenderHand(backend::IRenderDevice* /*device*/, Vec2 screenScale) {
    if (!g_gameSession.HasModeBits(MODE_PAUSED)) {
        m_hand.Draw(screenScale, WHITE);
    }
}

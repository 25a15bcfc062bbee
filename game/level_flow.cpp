// The level flow of the session: starting a game and a level, the level logic
// of every play frame, and what completing, failing and leaving a level does.
#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/backend/clock.h"
#include "engine/media/popup_texts.h"
#include "engine/platform/html_log.h"
#include "engine/platform/random_float.h"
#include "engine/platform/text_storage.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "game/game_session.h"
#include "game/hint_manager.h"
#include "game/level_base.h"
#include "game/scene.h"
#include "game/session_sounds.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace sound = session_sound;

namespace {

// Level indexes of levels.xml with a fixed role: the two training levels and
// the levels right after them.
constexpr std::int32_t FIRST_TRAINING = 1;
constexpr std::int32_t AFTER_FIRST_TRAINING = 2;
constexpr std::int32_t SECOND_TRAINING = 24;
constexpr std::int32_t AFTER_SECOND_TRAINING = 25;
// The training script's first step of each training level.
constexpr std::int32_t FIRST_TRAINING_STEP = 0;
constexpr std::int32_t SECOND_TRAINING_STEP = 26;
// Story levels that open a location, and the last one.
constexpr std::int32_t FIRST_STORY_LEVEL = 1;
constexpr std::int32_t LOCATION_2_START = 16;
constexpr std::int32_t LOCATION_3_START = 31;
constexpr std::int32_t LAST_STORY_LEVEL = 45;
// A new game shows both opening comic pages, the pet choice and the map.
constexpr std::uint32_t NEW_GAME_SCREENS =
    MODE_TRAINING | MODE_COMICS_1 | MODE_COMICS_2 | MODE_PET_CHOICE | MODE_MAP;

constexpr std::int32_t MENU_GROUP = 4;
constexpr std::int32_t FIRST_LOCATION_GROUP = 8;
constexpr std::int32_t BONUS_GROUP = 64;

constexpr float END_TIMER = 2.0f;
constexpr float SECOND_POPUP_AT = 1.9f;
constexpr float FIRST_AMBIENT_DELAY = 10.0f;
constexpr float AMBIENT_INTERVAL = 30.0f;
// Seconds of the pool poured into the level time per second.
constexpr float TIME_BONUS_RATE = 100.0f;
// Design pixels of the goal bar for the need goal and for the expert goal.
constexpr float NEED_BAR = 129.0f;
constexpr float EXPERT_BAR = 139.0f;
// The goal bar's fixed left edge in its picture.
constexpr std::int32_t GOAL_BAR_LEFT = 8;

constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::uint32_t YELLOW = 0xFFFFFF00;
constexpr float POPUP_X = 550.0f;
constexpr float FIRST_POPUP_Y = 380.0f;
constexpr float SECOND_POPUP_Y = 435.0f;

// The training levels stay training levels when retried without their
// guide: no goal sounds, and the time-out drops no order.
bool IsTrainingLevel(std::int32_t index) {
    return index == FIRST_TRAINING || index == SECOND_TRAINING;
}

void AddEndPopup(const char* id, std::uint32_t colour, float y) {
    PopupTexts::Instance().Add(1, TextStorage().GetText(id), 0, colour, POPUP_X, y, 1.0f, 0.0f,
                               -1.0f, 2.0f, 0.5f, 0.0f, -1);
}

// Moves a shown value toward its target at the speed, never past it.
float MoveToward(float shown, float target, float speed, float elapsed) {
    const float step = std::abs(speed) * elapsed;
    return shown < target ? std::min(shown + step, target) : std::max(shown - step, target);
}

float Clamp01(float share) {
    return std::clamp(share, 0.0f, 1.0f);
}

}  // namespace

bool CGameSession::StartGame(bool resetProfile, bool direct) {
    CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return false;
    }
    const bool fromMenu = HasModeBits(MODE_MENU);
    // What a missing level puts back: the game is not touched.
    const CProfile before = *profile;
    if (resetProfile) {
        profile->Reset();
        profile->gameStarted = 1;
    } else {
        profile->secondCounter = 0;
        profile->secondCounterShown = 0.0f;
        profile->levelCash = 0;
        profile->shownCash = 0.0f;
    }
    m_gameActive = true;
    m_trainingStep = -1;

    if (fromMenu) {
        // The menu stays visible until the fade is black. A game left right
        // after a training level resumes at the training level.
        m_gameMode = MODE_MENU;
        if (profile->levelIndex == AFTER_FIRST_TRAINING) {
            profile->levelIndex = FIRST_TRAINING;
        } else if (profile->levelIndex == AFTER_SECOND_TRAINING) {
            profile->levelIndex = SECOND_TRAINING;
        }
    } else {
        m_gameMode = 0;
    }
    AddModeBits(MODE_GAME | MODE_FADE_OUT);

    if (!direct) {
        std::int32_t step = -1;
        if (profile->levelIndex == FIRST_TRAINING) {
            AddModeBits(NEW_GAME_SCREENS);
            step = FIRST_TRAINING_STEP;
        } else if (profile->levelIndex == SECOND_TRAINING) {
            AddModeBits(MODE_TRAINING);
            step = SECOND_TRAINING_STEP;
        }
        if (step >= 0) {
            StartTraining(step);
        }
    }

    if (profile->storyLevel == LOCATION_3_START && profile->slotLevels[1] == 0 &&
        profile->slotLevels[2] == 0) {
        profile->slotLevels[1] = 1;
    }
    if (profile->storyLevel == LAST_STORY_LEVEL) {
        // The last level is played with everything at its best.
        std::fill(std::begin(profile->slotLevels), std::end(profile->slotLevels), 4);
        profile->audioSystemLevel = 3;
        profile->computerLevel = 1;
        profile->footwearLevel = 3;
        profile->machineLevel = 3;
        profile->petLevel = 6;
    }

    if (!StartLevel(profile->levelIndex)) {
        if (!g_levelBase.IsEndOfGame(profile->levelIndex)) {
            HtmlLog().Write("Red", "Level %i is not in the level base", profile->levelIndex);
            *profile = before;
            LeaveForMenu(fromMenu);
            return false;
        }
        CompleteGame();
        return true;
    }

    m_textureGroup = m_level.bonus ? BONUS_GROUP : FIRST_LOCATION_GROUP << (m_level.location - 1);
    if (ResourceManager::Instance().GetCurrentGroup() != m_textureGroup) {
        AddModeBits(MODE_LOAD_TEXTURES);
    }
    if (direct) {
        PlayLevelMusic(true);
    } else if (!m_level.bonus) {
        const std::int32_t index = profile->levelIndex;
        const std::int32_t story = profile->storyLevel;
        if (index != AFTER_FIRST_TRAINING && index != AFTER_SECOND_TRAINING) {
            AddModeBits(MODE_MAP);
        }
        const bool shop = story != FIRST_STORY_LEVEL && story != LOCATION_2_START &&
                          story != LOCATION_3_START && index != SECOND_TRAINING &&
                          index != AFTER_SECOND_TRAINING;
        if (shop) {
            AddModeBits(MODE_SHOP);
        }
        if (story == LOCATION_2_START) {
            AddModeBits(MODE_COMICS_3);
        } else if (story == LOCATION_3_START) {
            AddModeBits(MODE_COMICS_4);
        }
        if (!shop) {
            g_heroine.Reset(m_level.location, false);
        }
    }
    SaveProfiles(PROFILES_FILE);
    return true;
}

void CGameSession::LeaveForMenu(bool fromMenu) {
    m_gameActive = false;
    m_trainingStep = -1;
    if (fromMenu) {
        // Nothing was shown yet: the menu simply stays.
        m_gameMode = MODE_MENU;
        return;
    }
    // From play the way back is that of SAVE_AND_EXIT: the menu's pictures,
    // then the menu, with the profile saved as it stands.
    m_textureGroup = MENU_GROUP;
    m_gameMode = MODE_GAME | MODE_FADE_OUT | MODE_EXIT_TO_MENU;
    if (ResourceManager::Instance().GetCurrentGroup() != MENU_GROUP) {
        AddModeBits(MODE_LOAD_TEXTURES);
    }
}

void CGameSession::CompleteGame() {
    CProfile& profile = *GetCurrentProfile();
    AddModeBits(MODE_GAME_COMPLETED);
    m_gameActive = false;
    sound::Manager().Play(SoundType::Stream, sound::MENU_STREAM, true, false);
    m_textureGroup = MENU_GROUP;
    if (ResourceManager::Instance().GetCurrentGroup() != MENU_GROUP) {
        AddModeBits(MODE_LOAD_TEXTURES);
    }
    // The menu follows the last page even when its pictures are loaded;
    // without it the game would fall back into play.
    AddModeBits(MODE_GAME_OVER_PAGE);
    EndGameWithScore(profile);
}

void CGameSession::EndGameWithScore(CProfile& profile) {
    const CProfile finished = profile;
    g_highScores.SetVisible(true);
    // The profile starts over on file before the score enters the table: a
    // stop between the two writes can cost the score but never enter it
    // twice.
    profile.Reset();
    if (!SaveProfiles(PROFILES_FILE)) {
        // The ended game is still on file and ends again when it is
        // continued; its score is entered then, and only then.
        profile = finished;
        return;
    }
    if (g_highScores.Insert(finished.GetName(), static_cast<std::uint32_t>(finished.totalScore))) {
        g_highScores.Save(HtmlLog().GetUserFolder() + HIGH_SCORES_FILE);
    }
}

bool CGameSession::StartLevel(std::int32_t n) {
    if (n < 1) {
        return false;
    }
    // A level that cannot start leaves the current one as it was.
    CLevelRecord level = g_levelBase.GetLevel(static_cast<std::uint32_t>(n));
    if (level.number == -1) {
        return false;
    }
    // The world grows from the level before: what is new in this one rises
    // or blinks in.
    CLevelRecord previous = level;
    if (n >= 2) {
        previous = g_levelBase.GetLevel(static_cast<std::uint32_t>(n - 1));
        if (previous.number == -1) {
            return false;
        }
    }
    m_level = std::move(level);
    g_location.Set(previous.location, previous.location_level);
    g_instrumentPanel.SetKnownItemCounts(previous.food_types, previous.machine_ingridients,
                                         previous.brush_types, previous.medic_types);
    g_aquariumSet.SetBaseCount(previous.base_aquariums);

    m_statistics.Reset(m_level.bonus);
    g_scene.ResetForLevel(m_level.location, m_level.location_level, m_level.food_types,
                          m_level.machine_ingridients, m_level.brush_types, m_level.medic_types,
                          m_level.base_aquariums);
    if (m_level.bonus) {
        g_bonusGame.StartLevel(m_level);
    } else {
        for (const CLevelTask& task : m_level.tasks) {
            g_orderList.AddOrder(task.kind, task.amount, task.creation_time, task.computer_order);
        }
    }
    g_orderList.GetSaleBadge().Reset();

    m_endTimer = END_TIMER;
    m_levelStartDelay = LEVEL_START_DELAY;
    m_timeBonus = 0.0f;
    m_timeLeft = m_level.need_time * 60.0f;
    m_totalTime = m_timeLeft;
    m_fastBonusChain = 0;
    m_endState = 0;
    m_ambientTimer = FIRST_AMBIENT_DELAY;
    m_statistics.needReached = false;
    m_statistics.expertReached = false;
    return true;
}

bool CGameSession::CheckTriesLeft() {
    const CProfile* profile = GetCurrentProfile();
    if (profile != nullptr && profile->tries > 0) {
        return true;
    }
    if (profile != nullptr) {
        GameOver();
    }
    return false;
}

void CGameSession::GameOver() {
    CProfile& profile = *GetCurrentProfile();
    m_gameActive = false;
    EndGameWithScore(profile);
    sound::Manager().Play(SoundType::Stream, sound::MENU_STREAM, true, false);
    // The menu needs its own pictures back before it can show "MAIN_4".
    m_textureGroup = MENU_GROUP;
    if (ResourceManager::Instance().GetCurrentGroup() != MENU_GROUP) {
        m_gameMode = MODE_GAME | MODE_LOAD_TEXTURES | MODE_GAME_OVER_PAGE;
        return;
    }
    g_menu.OpenSubmenu("MAIN_4");
    m_gameMode = MODE_MENU;
}

void CGameSession::ReturnToMenu() {
    m_gameMode = MODE_MENU;
    g_menu.GoToRoot();
    m_gameActive = false;
    SaveProfiles(PROFILES_FILE);
}

void CGameSession::CompleteLevel(backend::IRenderDevice* device) {
    CProfile* profile = GetCurrentProfile();
    if (profile == nullptr) {
        return;
    }
    AddToTotals(m_level.bonus ? m_statistics.turtlesSaved * CLevelStatistics::TURTLE_REWARD
                              : profile->levelCash);
    AddModeBits(MODE_NEXT_LEVEL | MODE_FADE_OUT);
    if (!m_level.bonus) {
        // A won bonus game's reward lasts until the next story level is won.
        profile->bonusReward = 0;
    }
    sound::Manager().PauseAll(SoundType::Sample, false);
    sound::Manager().Play(SoundType::Stream, sound::MENU_STREAM, true, true);
    const char* comic = nullptr;
    switch (profile->storyLevel) {
        case LOCATION_2_START - 1:
            comic = "COMICS_3";
            break;
        case LOCATION_3_START - 1:
            comic = "COMICS_4";
            break;
        case LAST_STORY_LEVEL:
            comic = "COMICS_5";
            break;
        default:
            break;
    }
    if (comic != nullptr) {
        ResourceManager::Instance().LoadImageById(device, comic);
    }
}

void CGameSession::UpdateLevel(const InputState& input, Vec2 scale, float elapsed) {
    CProfile& profile = *GetCurrentProfile();
    const bool training = HasModeBits(MODE_TRAINING);
    const bool trainingLevel = IsTrainingLevel(m_level.number);
    PlayAmbientSound(elapsed);
    UpdateGoalBar(profile);
    if (!m_level.bonus && !trainingLevel) {
        PlayGoalSounds(profile);
    }
    UpdateShownValues(profile, elapsed);

    m_statistics.playTime += elapsed;
    m_statistics.target = profile.levelCash;
    m_statistics.shownNumber = profile.shownCash;
    m_statistics.timeLeft = m_timeLeft;
    m_statistics.secondCounter = profile.secondCounter;
    m_statistics.shownSecondCounter = profile.secondCounterShown;

    if (m_buttons[BTN_PAUSE].CheckClick(input, scale)) {
        AddModeBits(MODE_PAUSED);
    }
    if (m_levelStartDelay > 0.0f) {
        m_levelStartDelay -= elapsed;
        if (m_levelStartDelay <= 0.0f) {
            sound::PlaySample(sound::PAUSE);
            AddModeBits(MODE_PAUSED | MODE_BRIEFING);
            m_levelStartDelay = 0.0f;
        }
    }
    // The bonus game ends its level itself.
    if (m_level.bonus) {
        return;
    }
    UpdateLevelTimer(trainingLevel, elapsed);
    UpdateTimeBar();
    m_images[IMG_HUD_CORNER].UpdateHover(input, scale);
    if (!training) {
        g_machine.SetDisabled(g_orderList.IsDone() && g_aquariumSet.AllEmptyOrFurnished());
    }
    if (g_orderList.IsDone() && g_aquariumSet.AllEmpty()) {
        UpdateLevelEnd(profile, training, elapsed);
    }
}

void CGameSession::PlayAmbientSound(float elapsed) {
    m_ambientTimer -= elapsed;
    if (m_ambientTimer > 0.0f) {
        return;
    }
    m_ambientTimer = AMBIENT_INTERVAL;
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    const auto pick = static_cast<unsigned>(NextRandom()) % sound::AMBIENT_COUNT;
    sound::PlaySample(sound::FIRST_AMBIENT + pick);
}

void CGameSession::UpdateGoalBar(const CProfile& profile) {
    backend::Rect& bar = m_images[IMG_GOAL_BAR].source;
    const float shown = profile.shownCash;
    const auto need = static_cast<float>(m_level.need);
    const auto expert = static_cast<float>(m_level.expert);
    const std::int32_t left = GOAL_BAR_LEFT;
    if (shown <= need && need > 0.0f) {
        bar.right = left + static_cast<std::int32_t>(NEED_BAR * Clamp01(shown / need));
    } else if (shown > need && expert > 0.0f) {
        // Goals that coincide leave no span to divide: the expert part is
        // full as soon as the need goal is passed.
        const float share = expert == need ? 1.0f : Clamp01((shown - need) / (expert - need));
        bar.right = left + static_cast<std::int32_t>(NEED_BAR) +
                    static_cast<std::int32_t>(EXPERT_BAR * share);
    }
}

void CGameSession::PlayGoalSounds(const CProfile& profile) {
    if (g_orderList.IsDone() && g_aquariumSet.AllEmpty()) {
        return;
    }
    if (profile.levelCash >= m_level.expert && !m_statistics.expertReached) {
        sound::PlaySample(sound::EXPERT_REACHED, true);
        m_statistics.expertReached = true;
    } else if (profile.levelCash >= m_level.need && !m_statistics.needReached) {
        sound::PlaySample(sound::NEED_REACHED, true);
        m_statistics.needReached = true;
    }
}

void CGameSession::UpdateShownValues(CProfile& profile, float elapsed) {
    profile.secondCounterShown =
        MoveToward(profile.secondCounterShown, static_cast<float>(profile.secondCounter),
                   m_shownCounterSpeed, elapsed);
    profile.shownCash = MoveToward(profile.shownCash, static_cast<float>(profile.levelCash),
                                   m_shownCashSpeed, elapsed);
}

void CGameSession::UpdateLevelTimer(bool training, float elapsed) {
    if (m_timeLeft > 0.0f && m_levelStartDelay == 0.0f) {
        m_timeLeft -= elapsed;
        if (m_timeLeft <= 0.0f && !training) {
            m_timeLeft = 0.0f;
            g_orderList.RemoveInactive();
            sound::PlaySample(sound::TIME_UP);
        }
    }
    if (m_timeLeft > 0.0f && m_timeBonus > 0.0f) {
        const float pour = std::min(TIME_BONUS_RATE * elapsed, m_timeBonus);
        m_timeBonus -= pour;
        m_timeLeft = std::min(m_timeLeft + pour, m_totalTime);
    }
}

void CGameSession::UpdateTimeBar() {
    // A level without a time shows an empty bar rather than dividing by 0; one
    // with an endless time (too many digits in the level file) a full one, where
    // the division would give NaN.
    float share = 0.0f;
    if (m_totalTime > 0.0f) {
        share = m_timeLeft < m_totalTime ? Clamp01(m_timeLeft / m_totalTime) : 1.0f;
    }
    backend::Rect& bar = m_images[IMG_TIME_BAR].source;
    bar.right = bar.left + static_cast<std::int32_t>(TIME_BAR_WIDTH * share);
    m_timeBarWidth = TIME_BAR_WIDTH * share;
}

void CGameSession::UpdateLevelEnd(const CProfile& profile, bool training, float elapsed) {
    const bool needReached = profile.levelCash >= m_level.need;
    if (m_endState == 0 && !training) {
        m_endState = 1;
        // The goal and ambient sounds, the audio system and the shop
        // floor's own effects stop with the music.
        sound::PauseSamples({sound::NEED_REACHED, sound::EXPERT_REACHED});
        sound::PauseAmbient();
        sound::PauseSamples({16, 17, 18});
        sound::PauseAudioEffects();
        sound::Manager().StopAll(SoundType::Stream, false);
        if (needReached) {
            g_heroine.PlayLevelCompletePose();
            g_pet.SetAnimState(2);
            sound::PlaySample(sound::LEVEL_WON);
            AddEndPopup("LEVEL_COMPLETE_CONGRATULATION", GREEN, FIRST_POPUP_Y);
        } else {
            g_pet.SetAnimState(1);
            sound::PlaySample(sound::LEVEL_LOST);
            AddEndPopup("LEVEL_FAILED", YELLOW, FIRST_POPUP_Y);
        }
    } else if (m_endState == 1 && m_endTimer < SECOND_POPUP_AT) {
        m_endState = 2;
        if (needReached) {
            AddEndPopup("LEVEL_COMPLETE", GREEN, SECOND_POPUP_Y);
        } else {
            AddEndPopup("LEVEL_FAILED_TRY_AGAIN", YELLOW, SECOND_POPUP_Y);
        }
    }
    m_endTimer -= elapsed;
    if (m_endTimer > 0.0f) {
        return;
    }
    m_statistics.shownNumber = 0.0f;
    const bool won = profile.levelCash >= m_level.expert || needReached;
    if (!won) {
        AddModeBits(MODE_LEVEL_FAILED | MODE_PAUSED);
    } else if (training) {
        g_hintManager.CloseAll();
        AddModeBits(MODE_NEXT_LEVEL | MODE_FADE_OUT);
    } else {
        AddModeBits(MODE_LEVEL_COMPLETE | MODE_PAUSED);
    }
}

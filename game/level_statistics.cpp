#include "game/level_statistics.h"

#include <string>

#include "engine/media/resource_manager.h"
#include "engine/platform/geometry.h"
#include "engine/platform/number_text.h"
#include "engine/platform/text_storage.h"

namespace {

constexpr std::int32_t FONT = 0;
constexpr float TEXT_SIZE = 0.7f;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;
constexpr std::uint32_t BLACK = 0xFF000000;
constexpr float LABEL_X = 350.0f;
constexpr float VALUE_RIGHT = 658.0f;
constexpr float FIRST_LINE_Y = 349.0f;
constexpr float LINE_STEP = 33.0f;

CSoundManager& Sounds() {
    return ResourceManager::Instance().GetSoundManager();
}

void DrawStatText(const std::u16string& text, Vec2 screenScale, Vec2 position, std::uint32_t colour,
                  bool centred, float letterSpacing, float lineSpacing) {
    ResourceManager::Instance().DrawText(
        FONT, text, {TEXT_SIZE * screenScale.x, TEXT_SIZE * screenScale.y}, position, colour,
        centred, false, letterSpacing, lineSpacing, true);
}

// Line `line` (from 1): its label on the left, its value ending at the right
// edge; the correction is in screen pixels.
void DrawLine(int line, const char* labelId, const std::u16string& value, float correction,
              Vec2 screenScale) {
    const float y = FIRST_LINE_Y * screenScale.y +
                    static_cast<float>(line - 1) * LINE_STEP * screenScale.y + correction;
    DrawStatText(TextStorage().GetText(labelId), screenScale, {LABEL_X * screenScale.x, y}, WHITE,
                 false, 0.0f, 0.0f);
    const float width = ResourceManager::Instance().GetTextWidth(FONT, value, 0.0f, true, -1);
    DrawStatText(value, screenScale, {VALUE_RIGHT * screenScale.x - TEXT_SIZE * width, y}, WHITE,
                 false, 0.0f, 0.0f);
}

// Savings at the top of the int32 range are 2^31 as a float, one past it: the
// conversion stops at the range's ends. A debt keeps its digits and gets the
// dollar sign after its minus, so the lowest one needs no negation.
std::u16string CashText(float shownNumber) {
    const std::int32_t cash = TruncateToInt32(shownNumber);
    return cash < 0 ? u"-$" + NumberText(cash).substr(1) : WithNumber(u"", u"$", cash);
}

std::u16string PlayTimeText(float playTime) {
    const std::int32_t seconds = TruncateToInt32(playTime);
    const std::int32_t rest = seconds % 60;
    return WithNumber(NumberText(seconds / 60), rest < 10 ? u":0" : u":", rest);
}

// How far left of the value edge the expert mark starts, by the width the
// language's text needs.
float ExpertMarkShift() {
    const std::string& language = TextStorage().GetLanguage();
    if (language == "German") {
        return -180.0f;
    }
    if (language == "Spanish") {
        return -153.0f;
    }
    if (language == "Japanese") {
        return -163.0f;
    }
    return -144.0f;
}

}  // namespace

void CLevelStatistics::Reset(bool bonus) {
    *this = CLevelStatistics();
    totalLines = bonus ? BONUS_LINES : STORY_LINES;
}

void CLevelStatistics::RevealLine() {
    Sounds().Play(SoundType::Sample, SAMPLE_LINE, true, false);
    ++shownLines;
    revealTimer = revealInterval;
}

void CLevelStatistics::Update(const InputState& /*input*/, Vec2 /*screenScale*/, float elapsed,
                              bool bonus) {
    revealTimer -= elapsed;
    if (bonus) {
        if (revealTimer <= 0.0f) {
            RevealLine();
        }
        return;
    }
    // The cash line stays alone until its count has arrived.
    if (revealTimer <= 0.0f && (shownLines != 1 || shownNumber == static_cast<float>(target))) {
        RevealLine();
    }
    if (shownLines != 1 || revealTimer > 0.0f) {
        return;
    }
    const auto goal = static_cast<float>(target);
    const float step = COUNT_SPEED * elapsed;
    if (shownNumber < goal) {
        shownNumber += step;
        if (shownNumber >= goal) {
            shownNumber = goal;
            revealTimer = revealInterval;
        }
    } else if (target < 0 && shownNumber > goal) {
        shownNumber -= step;
        if (shownNumber <= goal) {
            shownNumber = goal;
            revealTimer = revealInterval;
        }
    } else {
        return;
    }
    if (!Sounds().IsPlaying(SoundType::Sample, SAMPLE_COUNT)) {
        Sounds().Play(SoundType::Sample, SAMPLE_COUNT, true, false);
    }
}

void CLevelStatistics::ShowAll(std::int32_t cash) {
    shownLines = totalLines;
    target = cash;
    shownNumber = static_cast<float>(cash);
}

void CLevelStatistics::Render(backend::IRenderDevice* /*device*/, Vec2 screenScale, bool bonus) {
    if (bonus) {
        RenderBonus(screenScale);
    } else {
        RenderStory(screenScale);
    }
}

void CLevelStatistics::RenderStory(Vec2 screenScale) {
    struct Line {
        const char* labelId;
        std::u16string value;
        float correction;
    };
    const Line lines[] = {
        {"STATISTICS_1", CashText(shownNumber), 1.0f},
        {"STATISTICS_2", PlayTimeText(playTime), 1.0f},
        {"STATISTICS_3", NumberText(combos), 0.0f},
        {"STATISTICS_4", NumberText(orderFishSold), 0.0f},
        {"STATISTICS_5", NumberText(computerFishSold), 0.0f},
        {"STATISTICS_6", NumberText(fishSold), -1.0f},
        {"STATISTICS_7", NumberText(deadFishAndMissedOrders), -1.0f},
    };
    for (int k = 1; k <= STORY_LINES && k <= shownLines; ++k) {
        const Line& line = lines[k - 1];
        DrawLine(k, line.labelId, line.value, line.correction, screenScale);
    }
    if (shownLines >= 1 && expertReached) {
        DrawStatText(
            TextStorage().GetText("EXPERT_MODE"), screenScale,
            {(VALUE_RIGHT + ExpertMarkShift()) * screenScale.x, 351.0f * screenScale.y - 1.0f},
            WHITE, false, -1.0f, 0.0f);
    }
}

void CLevelStatistics::RenderBonus(Vec2 screenScale) {
    if (shownLines >= 1) {
        DrawLine(1, "BONUS_STATISTICS_1", NumberText(turtlesSaved), 1.0f, screenScale);
    }
    if (shownLines >= 2) {
        DrawLine(2, "BONUS_STATISTICS_2", NumberText(turtlesLost), 0.0f, screenScale);
    }
    if (shownLines >= 3) {
        // The money the level pays for its turtles.
        DrawLine(3, "BONUS_STATISTICS_3", WithNumber(u"", u"$", turtlesSaved * TURTLE_REWARD), 0.0f,
                 screenScale);
    }
    if (shownLines >= 4) {
        DrawStatText(
            TextStorage().GetText("MINIGAME_BONUS"), screenScale,
            {506.0f * screenScale.x, 351.0f * screenScale.y + 3.0f * LINE_STEP * screenScale.y},
            BLACK, true, 0.0f, -3.0f);
    }
}

// The bonus game's creatures: how they enter, and one frame of each gull and
// each turtle with the score events they raise.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "game/game_session.h"
#include "heroine/bonus_game.h"
#include "heroine/bonus_sounds.h"

namespace {

constexpr float ONCE = 0.1f;
constexpr float ENDLESS = -1.0f;

// Where the creatures live, in design pixels.
constexpr float GULL_SPAWN_Y = -160.0f;
constexpr float SKY_BOTTOM = 400.0f;
constexpr float SKY_RIGHT = 850.0f;
constexpr float SCREEN_RIGHT = 1024.0f;
constexpr float LEAVE_LEFT = -200.0f;
constexpr float LEAVE_TOP = -160.0f;
constexpr float CARRY_TOP = -300.0f;
constexpr float TURTLE_SPAWN_X = -75.0f;
constexpr float FIRST_ROW_Y = 615.0f;
constexpr float ROW_STEP = 25.0f;
constexpr std::int32_t ROWS = 3;
constexpr float FIRST_WATER_LINE = 510.0f;
// A gull dives from this far left of its turtle, so that its feet meet it.
constexpr float AIM_OFFSET = 78.0f;
// Turtles this close to either edge are left alone.
constexpr float HUNT_LEFT = 30.0f;
constexpr float HUNT_RIGHT = 950.0f;
// Click boxes, from the creature's position.
constexpr float GULL_BOX_WIDTH = 200.0f;
constexpr float GULL_BOX_HEIGHT = 130.0f;
constexpr float TURTLE_BOX_LEFT = -10.0f;
constexpr float TURTLE_BOX_RIGHT = 70.0f;
constexpr float TURTLE_BOX_TOP = -10.0f;
constexpr float TURTLE_BOX_BOTTOM = 50.0f;
// The carried turtle hangs this far right of the gull.
constexpr float CARRY_X = 85.0f;
constexpr float CARRY_Y = -8.0f;
// The carried turtle's height during the grab, frame by frame; frame 4 is
// the moment it is lifted out of the water, out of sight.
constexpr float GRAB_HEIGHTS[] = {150.0f, 160.0f, 170.0f, 176.0f, -1000.0f, 95.0f, 85.0f,
                                  65.0f,  41.0f,  26.0f,  15.0f,  6.0f,     -2.0f, -8.0f};
constexpr int GRAB_UPSIDE_DOWN_FRAMES = 4;
// Its swing with the wing beat while carried.
constexpr float CARRY_SWING[] = {0.0f,  1.0f,  2.0f,  3.0f, 4.0f, 5.0f, 3.0f, 1.0f, -1.0f, -3.0f,
                                 -5.0f, -4.0f, -2.0f, 1.0f, 4.0f, 5.0f, 3.0f, 1.0f, -1.0f, -1.0f};
constexpr float TURTLE_FALL_SPEED = 350.0f;
constexpr float TURTLE_GRAVITY = 2000.0f;

bool Pressed(const InputState& input) {
    return input.ButtonWentDown(0);
}

// Design-pixel bounds against the cursor, edges included.
bool CursorIn(const InputState& input, Vec2 s, float left, float right, float top, float bottom) {
    return input.cursorX >= left * s.x && input.cursorX <= right * s.x &&
           input.cursorY >= top * s.y && input.cursorY <= bottom * s.y;
}

float Sign(float value) {
    return value > 0.0f ? 1.0f : (value < 0.0f ? -1.0f : 0.0f);
}

}  // namespace

void CBonusGame::SpawnGull(std::int32_t kind, float speed, float attackSpeed) {
    CBonusGull gull;
    gull.base.x = SCREEN_RIGHT * bonus::Draw();
    gull.base.y = GULL_SPAWN_Y;
    gull.aimX = gull.base.x;
    gull.spawnY = gull.base.y;
    gull.kind = kind;
    gull.speed = speed;
    gull.attackSpeed = attackSpeed;
    gull.state = GULL_FLY;
    gull.boost = 100.0f;
    gull.timer = 2.0f + 0.5f * bonus::Draw();
    gull.direction = Normalize({2.0f * bonus::Draw() - 1.0f, 1.0f});
    gull.Build();
    gull.animation.SetPosition(gull.base.x, gull.base.y);
    gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
    m_gulls.push_back(gull);
    bonus::PlaySample(bonus::SAMPLE_GULL_FLAP);
}

void CBonusGame::SpawnTurtle(std::int32_t kind, float speed, float energy, float rest,
                             std::int32_t path) {
    // Without speed or energy the turtle would wait at the left edge for
    // ever, where no gull takes it and no click reaches it, and the level
    // would never end.
    if (speed <= 0.0f || energy <= 0.0f) {
        return;
    }
    CBonusTurtle turtle;
    turtle.kind = kind;
    turtle.id = m_nextTurtleId++;
    // A negative path still lands on one of the three rows.
    turtle.row = (path % ROWS + ROWS) % ROWS;
    turtle.base.x = TURTLE_SPAWN_X;
    turtle.base.y = FIRST_ROW_Y + ROW_STEP * static_cast<float>(turtle.row);
    turtle.direction = {1.0f, 0.0f};
    turtle.speed = speed;
    turtle.energy = energy;
    turtle.energyMax = energy;
    turtle.rest = rest;
    turtle.restMax = rest;
    turtle.Build();
    turtle.animation.SetPosition(turtle.base.x, turtle.base.y);
    turtle.animation.Play(TURTLE_CLIP_SWIM, true, false, ENDLESS);
    m_turtles.push_back(turtle);
}

CBonusTurtle* CBonusGame::FindTurtle(std::int32_t id) {
    for (CBonusTurtle& turtle : m_turtles) {
        if (turtle.id == id) {
            return &turtle;
        }
    }
    return nullptr;
}

bool CBonusGame::StepGull(std::size_t index, const InputState& input, Vec2 screenScale,
                          float elapsed) {
    CBonusGull& gull = m_gulls[index];
    float& x = gull.base.x;
    float& y = gull.base.y;

    float speed = gull.speed;
    if (gull.state == GULL_GLIDE || gull.state == GULL_FLY || gull.state == GULL_HUNT) {
        if (gull.state == GULL_GLIDE) {
            speed = gull.glideSpeed;
        }
        if ((y >= SKY_BOTTOM && gull.direction.y > 0.0f) || (y < 0.0f && gull.direction.y < 0.0f)) {
            gull.direction.y = -gull.direction.y;
        }
        if ((x >= SKY_RIGHT && gull.direction.x > 0.0f) || (x <= 0.0f && gull.direction.x < 0.0f)) {
            gull.direction.x = -gull.direction.x;
        }
        gull.boost = std::max(gull.boost - 100.0f * elapsed, 0.0f);
    } else if (gull.Is(GULL_DIVE | GULL_CARRY | GULL_MISSED)) {
        speed = gull.attackSpeed;
        gull.boost = 0.0f;
    }
    x += (speed + gull.boost) * gull.direction.x * elapsed;
    y += (speed + gull.boost) * gull.direction.y * elapsed;
    gull.animation.Update(elapsed);
    gull.animation.SetPosition(x, y);

    if (Pressed(input) &&
        CursorIn(input, screenScale, x, x + GULL_BOX_WIDTH, y, y + GULL_BOX_HEIGHT)) {
        ChaseGull(gull, input, screenScale);
    }
    if (gull.state == GULL_FLY || gull.state == GULL_GLIDE) {
        DecideFlight(gull, index, elapsed);
    }
    CBonusTurtle* choice = nullptr;
    if (gull.state == GULL_HUNT || gull.Is(GULL_DIVE)) {
        choice = ChooseTarget(gull);
        if (gull.state == GULL_HUNT &&
            static_cast<std::int32_t>(gull.aimX) == static_cast<std::int32_t>(x)) {
            bonus::PlaySample(bonus::SAMPLE_GULL_DIVE);
            gull.state = GULL_DIVE;
            gull.targetId = -1;
            gull.animation.SetCurrentClip(GULL_CLIP_GRAB);
            gull.animation.SetCurrentFrame(GULL_CLIP_GRAB, 0);
            gull.animation.Stop();
        }
        FollowTarget(gull, choice, screenScale);
    }
    if (gull.Is(GULL_LOST)) {
        gull.direction.x = 0.0f;
    }
    if (gull.Is(GULL_DIVE)) {
        DiveToWater(gull, choice, screenScale);
    }
    if (gull.state == GULL_CARRY) {
        if (!gull.animation.IsPlaying(-1)) {
            gull.animation.Play(GULL_CLIP_CARRY, true, false, ENDLESS);
            gull.direction = {0.0f, -1.0f};
        }
        PlaceCarriedTurtle(gull);
    }
    if (gull.state == GULL_MISSED && !gull.animation.IsPlaying(-1)) {
        gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
        gull.state = GULL_FLY;
        gull.boost = 200.0f;
        gull.timer = 3.5f;
        gull.direction = {0.2f * bonus::Draw() - 0.1f, -1.0f};
    }
    if (!TurtlesLeft() && gull.state != GULL_CARRY && gull.state != GULL_LEAVE) {
        SendGullAway(gull, index);
    }
    if (gull.state == GULL_LEAVE) {
        if (!bonus::IsSamplePlaying(bonus::SAMPLE_GULL_FLAP)) {
            bonus::PlaySample(bonus::SAMPLE_GULL_FLAP);
        }
        if (x > SCREEN_RIGHT || x < LEAVE_LEFT || y < LEAVE_TOP) {
            m_gulls.erase(m_gulls.begin() + static_cast<std::ptrdiff_t>(index));
            return false;
        }
    }
    if (gull.state == GULL_CARRY && (x > SCREEN_RIGHT || x < LEAVE_LEFT || y < CARRY_TOP)) {
        CarryOff(gull, screenScale);
    }
    return true;
}

void CBonusGame::ChaseGull(CBonusGull& gull, const InputState& input, Vec2 s) {
    bonus::PlaySample(bonus::SAMPLE_GULL_HIT);
    if (!bonus::IsSamplePlaying(bonus::SAMPLE_GULL_SQUAWK) &&
        !bonus::IsSamplePlaying(bonus::SAMPLE_GULL_DIVE)) {
        bonus::PlaySample(bonus::SAMPLE_GULL_SQUAWK);
    }
    gull.boost = 150.0f;
    gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
    gull.timer = 1.5f + 0.25f * bonus::Draw();
    // Away from the cursor; a click right on the flee point leaves it still.
    gull.direction = Normalize({gull.base.x + 100.0f * s.x - input.cursorX / s.x,
                                gull.base.y + 20.0f * s.y - input.cursorY / s.y});
    if (gull.state == GULL_CARRY) {
        if (CBonusTurtle* turtle = FindTurtle(gull.targetId)) {
            turtle->taken = true;
            turtle->falling = true;
            const float from = gull.carried.y > 0.0f ? gull.carried.y : gull.base.y;
            turtle->SetLift(turtle->base.y - from);
            turtle->fallSpeed = TURTLE_FALL_SPEED;
            turtle->bounces = 0;
            turtle->animation.Play(TURTLE_CLIP_SWIM, true, false, ENDLESS);
        }
    }
    if (gull.Is(GULL_DIVE | GULL_CARRY)) {
        ScoreChain(input.cursorX / s.x + 10.0f * s.x, input.cursorY / s.y - 20.0f * s.y);
    }
    gull.state = GULL_FLY;
}

void CBonusGame::DecideFlight(CBonusGull& gull, std::size_t index, float elapsed) {
    if (gull.timer <= 0.0f) {
        return;
    }
    gull.timer -= elapsed;
    if (gull.timer > 0.0f) {
        return;
    }
    // Every gull draws with a factor of its own, so that gulls deciding in the
    // same millisecond need not agree.
    const auto i = static_cast<std::uint32_t>(index);
    const float d = 10.0f * bonus::Draw((i + 17) * (i + 11) * (i + 7) * (i + 2));
    if (d < 7.5f) {
        gull.state = GULL_HUNT;
        gull.boost = 50.0f;
        gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
        gull.direction.y = 0.0f;
        gull.timer = 0.0f;
    } else if (gull.state == GULL_FLY) {
        gull.state = GULL_GLIDE;
        gull.animation.Play(GULL_CLIP_GLIDE, true, false, ENDLESS);
        gull.timer = 1.0f + bonus::Draw();
    } else {
        gull.state = GULL_FLY;
        gull.boost = 50.0f;
        gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
        gull.timer = 2.0f + 0.5f * bonus::Draw();
    }
}

CBonusTurtle* CBonusGame::ChooseTarget(CBonusGull& gull) {
    const float x = gull.base.x;
    CBonusTurtle* choice = nullptr;
    for (CBonusTurtle& turtle : m_turtles) {
        if (choice == nullptr) {
            choice = &turtle;
            gull.aimX = turtle.base.x - AIM_OFFSET;
        } else if (std::fabs(turtle.base.x - x) <= std::fabs(gull.aimX - x) && !turtle.targeted) {
            choice = &turtle;
            gull.aimX = turtle.base.x - AIM_OFFSET;
        }
        // Turtles at the edges or already caught are dropped, so that the next
        // one becomes the choice outright; the aim stays where it was.
        if (choice->base.x < HUNT_LEFT || choice->base.x > HUNT_RIGHT || choice->taken) {
            choice = nullptr;
        }
    }
    return choice;
}

void CBonusGame::FollowTarget(CBonusGull& gull, CBonusTurtle* choice, Vec2 s) {
    if (choice == nullptr) {
        if (gull.state == GULL_DIVE) {
            gull.state = GULL_DIVE | GULL_LOST;
        } else if (gull.state == GULL_HUNT) {
            gull.state = GULL_FLY;
            gull.timer = 1.0f;
        }
        return;
    }
    if (gull.targetId == -1) {
        gull.targetId = choice->id;
    }
    if (gull.state == GULL_DIVE && choice->id != gull.targetId) {
        gull.state = GULL_DIVE | GULL_LOST;
    }
    if (gull.state == GULL_DIVE && choice->dodge) {
        gull.state = GULL_DIVE | GULL_LOST;
        ScoreChain(choice->base.x + 30.0f * s.x, choice->base.y + 20.0f * s.y);
    }
    choice->targeted = true;
    if (gull.state == GULL_DIVE) {
        gull.direction.x = 0.0f;
        gull.base.x = choice->base.x - AIM_OFFSET;
    } else if (gull.state == GULL_HUNT) {
        gull.direction.x = Sign(gull.aimX - gull.base.x);
    }
}

void CBonusGame::DiveToWater(CBonusGull& gull, CBonusTurtle* choice, Vec2 s) {
    gull.direction.y = 1.0f;
    const float waterLine =
        choice != nullptr
            ? FIRST_WATER_LINE + ROW_STEP * static_cast<float>(choice->row) - choice->Lift()
            : FIRST_WATER_LINE;
    if (gull.base.y < waterLine) {
        return;
    }
    gull.direction = {0.0f, 0.0f};
    if (gull.Is(GULL_LOST) || choice == nullptr) {
        gull.state = GULL_MISSED;
        gull.animation.Play(GULL_CLIP_MISS, true, false, ONCE);
        return;
    }
    gull.state = GULL_CARRY;
    gull.animation.Play(GULL_CLIP_GRAB, true, false, ONCE);
    bonus::PlaySample(bonus::SAMPLE_GULL_CATCH);
    bonus::PlaySample(bonus::SAMPLE_GULL_FLAP);
    choice->taken = true;
    choice->falling = false;
    m_chain = 0;
    Lose(CATCH_POINTS, choice->base.x + 30.0f * s.x, choice->base.y + 20.0f * s.y);
}

void CBonusGame::PlaceCarriedTurtle(CBonusGull& gull) {
    const float x = gull.base.x;
    const float y = gull.base.y;
    gull.carried.x = x + CARRY_X;
    if (gull.animation.IsPlaying(GULL_CLIP_GRAB)) {
        const int frame = std::clamp(gull.animation.GetCurrentFrame(GULL_CLIP_GRAB), 0,
                                     static_cast<int>(std::size(GRAB_HEIGHTS)) - 1);
        gull.carried.y = y + GRAB_HEIGHTS[frame];
        gull.carried.scaleY = frame < GRAB_UPSIDE_DOWN_FRAMES ? -1.0f : 1.0f;
    } else if (gull.animation.IsPlaying(GULL_CLIP_CARRY)) {
        const int frame = std::clamp(gull.animation.GetCurrentFrame(GULL_CLIP_CARRY), 0,
                                     static_cast<int>(std::size(CARRY_SWING)) - 1);
        gull.carried.y = y + CARRY_Y + CARRY_SWING[frame];
        gull.carried.scaleY = 1.0f;
    }
}

void CBonusGame::SendGullAway(CBonusGull& gull, std::size_t index) {
    for (unsigned sample :
         {bonus::SAMPLE_AMBIENT_1, bonus::SAMPLE_AMBIENT_2, bonus::SAMPLE_AMBIENT_3,
          bonus::SAMPLE_NEED_REACHED, bonus::SAMPLE_GOAL_REACHED}) {
        bonus::PauseSample(sample);
    }
    ResourceManager::Instance().GetSoundManager().StopAll(SoundType::Stream, false);
    bonus::PlaySample(bonus::SAMPLE_LEVEL_WON);
    gull.state = GULL_LEAVE;
    gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
    gull.boost = 200.0f;
    const auto i = static_cast<std::uint32_t>(index);
    gull.direction =
        Normalize({2.0f * bonus::Draw((i + 11) * (i + 7) * (i + 4) * (i + 1)) - 1.0f, -1.0f});
}

void CBonusGame::CarryOff(CBonusGull& gull, Vec2 s) {
    bonus::PlaySample(bonus::SAMPLE_GULL_FLAP);
    gull.animation.Play(GULL_CLIP_FLY, true, false, ENDLESS);
    gull.state = GULL_FLY;
    gull.boost = 100.0f;
    gull.timer = 4.0f + bonus::Draw();
    gull.direction = Normalize({2.0f * bonus::Draw() - 1.0f, 1.0f});
    std::erase_if(m_turtles,
                  [&](const CBonusTurtle& turtle) { return turtle.id == gull.targetId; });
    ++g_gameSession.GetStatistics().turtlesLost;
    bonus::PlaySample(bonus::SAMPLE_TURTLE_LOST);
    Lose(LOSS_POINTS, gull.base.x + 110.0f * s.x, 20.0f * s.y);
}

bool CBonusGame::StepTurtle(std::size_t index, const InputState& input, Vec2 screenScale,
                            float elapsed) {
    CBonusTurtle& turtle = m_turtles[index];
    float& x = turtle.base.x;
    float& y = turtle.base.y;

    turtle.targeted = false;
    if (turtle.dodge) {
        m_chainBreak = true;
    }
    turtle.dodge = false;

    if (!turtle.taken) {
        if (Pressed(input) &&
            CursorIn(input, screenScale, x + TURTLE_BOX_LEFT, x + TURTLE_BOX_RIGHT,
                     y + TURTLE_BOX_TOP, y + TURTLE_BOX_BOTTOM)) {
            bonus::PlaySample(bonus::SAMPLE_TURTLE_CLICK);
            turtle.boost = 100.0f;
            turtle.rest = turtle.restMax;
            if (turtle.energy == 0.0f) {
                turtle.energy = turtle.energyMax * 0.5f;
            }
            turtle.animation.Play(TURTLE_CLIP_SWIM, true, false, ENDLESS);
            turtle.dodge = true;
            m_turtleClicked = true;
        }
        turtle.boost = std::max(turtle.boost - 150.0f * elapsed, 0.0f);
        if (turtle.energy > 0.0f) {
            x += (turtle.speed + turtle.boost) * turtle.direction.x * elapsed;
            y += (turtle.speed + turtle.boost) * turtle.direction.y * elapsed;
            if (x > SCREEN_RIGHT) {
                Gain(SAVE_POINTS, 990.0f, y + 32.0f * screenScale.y);
                bonus::PlaySample(bonus::SAMPLE_TURTLE_SAVED);
                ++g_gameSession.GetStatistics().turtlesSaved;
                ++m_saved;
                m_turtles.erase(m_turtles.begin() + static_cast<std::ptrdiff_t>(index));
                return false;
            }
            turtle.energy -= elapsed;
            if (turtle.energy <= 0.0f) {
                turtle.energy = 0.0f;
                turtle.boost = 0.0f;
                turtle.animation.Play(TURTLE_CLIP_REST, true, false, ENDLESS);
            }
        } else {
            turtle.rest -= elapsed;
            if (turtle.rest <= 0.0f) {
                turtle.rest = turtle.restMax;
                turtle.energy = turtle.energyMax;
                turtle.animation.Play(TURTLE_CLIP_SWIM, true, false, ENDLESS);
            }
        }
    }

    // A carried turtle hangs under its gull, which draws it.
    if (!turtle.taken || turtle.falling) {
        turtle.animation.Update(elapsed);
        if (turtle.falling) {
            turtle.SetLift(turtle.Lift() - turtle.fallSpeed * elapsed);
            if (turtle.Lift() <= 0.0f) {
                bonus::PlaySample(bonus::SAMPLE_TURTLE_LANDS);
                if (turtle.bounces == 0) {
                    turtle.animation.Play(TURTLE_CLIP_REST, true, false, ENDLESS);
                } else if (turtle.bounces == 1) {
                    // Back on its row it rests before it swims on.
                    turtle.falling = false;
                    turtle.taken = false;
                    turtle.energy = 0.0f;
                    turtle.boost = 0.0f;
                    turtle.rest = turtle.restMax;
                }
                ++turtle.bounces;
                turtle.SetLift(0.0f);
                turtle.fallSpeed = -TURTLE_FALL_SPEED;
            }
            if (turtle.falling && turtle.bounces > 0) {
                turtle.fallSpeed =
                    std::min(turtle.fallSpeed + TURTLE_GRAVITY * elapsed, TURTLE_FALL_SPEED);
            }
        }
    }
    turtle.animation.SetPosition(x, y - turtle.Lift());
    return true;
}

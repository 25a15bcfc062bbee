// The swim behaviours of the fish kinds. A lively fish swims freely; a calm
// one (before and during its first wish, in dirty water, while music plays)
// slows down and rests. Random timers keep two fish from moving alike.
#include <algorithm>

#include "engine/backend/clock.h"
#include "engine/platform/random_float.h"
#include "shopfloor/fish.h"

namespace {

constexpr float ACCELERATION = 20.0f;
constexpr float JELLY_ACCELERATION = 10.0f;
constexpr float ENDLESS = -1.0f;
// A clip played once.
constexpr float ONCE = 0.1f;
constexpr std::int32_t SHELL_OPEN_FRAME = 16;

// A number of the generator freshly seeded from the millisecond clock.
int FreshRandom() {
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    return NextRandom();
}

// The parity of a fresh number.
bool CoinIsOdd() {
    return (FreshRandom() & 1) != 0;
}

float FreshFraction() {
    return static_cast<float>(FreshRandom()) / 32767.0f;
}

// Toward a bound at the given rate, never past it and never away from it.
void SlowDown(float& speed, float rate, float floor) {
    if (speed > floor) {
        speed = std::max(speed - rate, floor);
    }
}

void SpeedUp(float& speed, float rate, float ceiling) {
    if (speed < ceiling) {
        speed = std::min(speed + rate, ceiling);
    }
}

void Play(CFrameAnimation& body, unsigned clip, float playTime) {
    body.Play(clip, true, false, playTime);
}

void PlayBackward(CFrameAnimation& body, unsigned clip, float playTime) {
    body.PlayBackward(clip, true, false, playTime);
}

bool IsShark(std::int32_t kind) {
    return kind == SHARK_1 || kind == SHARK_2;
}

}  // namespace

void CFish::Bob(COscillator& oscillator, float& bobY, float bobSpeed, float dt) const {
    oscillator.Update(bobFactor * bobSpeed * dt);
    bobY = oscillator.value;
}

void CFish::SwimDefault(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    const unsigned b = StageBase();
    const bool shark = IsShark(kind);
    float& timer = type.swimTimer;
    if (timer > 0.0f) {
        // Resting; at its end the fish comes out of the rest facing a side.
        timer -= dt;
        if (timer <= 0.0f) {
            inTransition = true;
            timer = -5.0f - 5.0f * FreshFraction();
            if (CoinIsOdd()) {
                PlayBackward(body, b + 5, ONCE);
                dirX = -1.0f;
            } else {
                PlayBackward(body, b + 6, ONCE);
                dirX = 1.0f;
            }
        }
    } else {
        if (lively) {
            if (timer < 0.0f) {
                timer = std::min(timer + dt, 0.0f);
            }
            body.SetFrameTime(b, 0.06f);
            body.SetFrameTime(b + 1, 0.06f);
        } else {
            body.SetFrameTime(b, 0.07f);
            body.SetFrameTime(b + 1, 0.07f);
            SlowDown(speed, ACCELERATION * dt, 0.0f);
        }
        Bob(bob, y, speed, dt);
        x += dirX * speed * dt;
    }
    if (lively) {
        if (!inTransition && timer == 0.0f) {
            inTransition = true;
            if (CoinIsOdd()) {
                if (body.IsPlaying(static_cast<int>(b))) {
                    timer = RandomFloat(0.0f, 2.0f, 1) + 2.0f;
                    Play(body, b + 5, ONCE);
                } else if (body.IsPlaying(static_cast<int>(b + 1))) {
                    timer = RandomFloat(0.0f, 2.0f, 1) + 2.0f;
                    Play(body, b + 6, ONCE);
                }
            } else {
                // Sharks turn with their clips run backwards.
                if (shark) {
                    PlayBackward(body, dirX > 0.0f ? b + 3 : b + 2, ONCE);
                } else if (dirX > 0.0f) {
                    Play(body, b + 2, ONCE);
                } else if (dirX < 0.0f) {
                    Play(body, b + 3, ONCE);
                }
                timer = -5.0f - RandomFloat(0.0f, 5.0f, 1);
                dirX = -dirX;
            }
        }
        if (inTransition) {
            SlowDown(speed, ACCELERATION * dt, maxSpeed * 0.5f);
        } else {
            SpeedUp(speed, ACCELERATION * dt, maxSpeed);
        }
    }
    const auto left = static_cast<float>(swimRect.left);
    const auto right = static_cast<float>(swimRect.right);
    if (x > right || x < left) {
        const bool atRight = x > right;
        x = atRight ? right : left;
        // A fish already turning or resting is held at the side.
        if (!inTransition) {
            dirX = -dirX;
            if (shark) {
                PlayBackward(body, atRight ? b + 3 : b + 2, ONCE);
            } else {
                Play(body, atRight ? b + 2 : b + 3, ONCE);
            }
            inTransition = true;
        }
    }
    if (body.IsPlaying(-1)) {
        return;
    }
    if (timer > 0.0f) {
        Play(body, b + 4, timer);
        return;
    }
    if (dirX != 0.0f) {
        const unsigned swim = dirX > 0.0f ? b + 1 : b;
        Play(body, swim, ENDLESS);
        body.SetFrameTime(swim, 0.05f);
    }
    inTransition = false;
}

void CFish::SwimJelly(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    Bob(bob, y, speed, dt);
    x += dirX * speed * dt;
    float& timer = type.swimTimer;
    if (timer >= 0.0f) {
        timer -= dt;
        if (timer <= 0.0f) {
            timer = lively ? -3.0f - 2.0f * FreshFraction() : 0.0f;
        }
        SlowDown(speed, JELLY_ACCELERATION * dt, 0.0f);
    } else {
        timer += dt;
        if (timer >= 0.0f) {
            timer = 3.0f + 2.0f * FreshFraction();
        }
        SpeedUp(speed, JELLY_ACCELERATION * dt, maxSpeed);
    }
    if (x > static_cast<float>(swimRect.right)) {
        dirX = -dirX;
        x = static_cast<float>(swimRect.right);
    } else if (x < static_cast<float>(swimRect.left)) {
        dirX = -dirX;
        x = static_cast<float>(swimRect.left);
    }
}

void CFish::SwimShoalMember(float& memberX, float& memberSpeed, float& memberDirX, bool& turning,
                            CFrameAnimation& memberBody, float dt) {
    float& timer = type.swimTimer;
    if (lively) {
        memberBody.SetFrameTime(0, 0.035f);
        memberBody.SetFrameTime(1, 0.035f);
        if (turning) {
            SlowDown(memberSpeed, ACCELERATION * dt, maxSpeed * 0.5f);
        } else {
            SpeedUp(memberSpeed, ACCELERATION * dt, maxSpeed);
        }
        // The whole shoal shares one timer: whichever fish finds it run out
        // turns and winds it up again.
        timer -= dt;
        if (!turning && timer <= 0.0f) {
            timer = RandomFloat(0.0f, 3.0f, 1) + 3.0f;
            memberDirX = -memberDirX;
            Play(memberBody, memberDirX < 0.0f ? 2 : 3, ONCE);
            turning = true;
        }
    } else {
        memberBody.SetFrameTime(0, 0.06f);
        memberBody.SetFrameTime(1, 0.06f);
        SlowDown(memberSpeed, ACCELERATION * dt, 0.0f);
    }
    if (memberX > static_cast<float>(swimRect.right)) {
        memberX = static_cast<float>(swimRect.right);
        if (!turning) {
            memberDirX = -memberDirX;
            Play(memberBody, 2, ONCE);
            turning = true;
        }
    } else if (memberX < static_cast<float>(swimRect.left)) {
        memberX = static_cast<float>(swimRect.left);
        if (!turning) {
            memberDirX = -memberDirX;
            Play(memberBody, 3, ONCE);
            turning = true;
        }
    }
    if (!memberBody.IsPlaying(-1)) {
        if (memberDirX > 0.0f) {
            Play(memberBody, 1, ENDLESS);
        } else if (memberDirX < 0.0f) {
            Play(memberBody, 0, ENDLESS);
        }
        turning = false;
    }
}

void CFish::SwimShoal(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    Bob(bob, y, speed, dt);
    x += dirX * speed * dt;
    SwimShoalMember(x, speed, dirX, inTransition, body, dt);
    // The extra fish join once the shoal is half grown.
    const int active = std::min(2 * stage, SHOAL_EXTRA_FISH);
    for (int i = 0; i < active; ++i) {
        ShoalFish& extra = shoalFish[static_cast<std::size_t>(i)];
        if (leaving) {
            extra.alpha = std::max(extra.alpha - FADE_SPEED * dt, 0.0f);
        } else {
            extra.alpha = std::min(extra.alpha + FADE_SPEED * dt, 255.0f);
        }
        Bob(extra.bob, extra.y, extra.speed, dt);
        extra.x += extra.dirX * extra.speed * dt;
        SwimShoalMember(extra.x, extra.speed, extra.dirX, extra.turning, extra.body, dt);
        extra.body.SetPosition(extra.x, extra.y);
        extra.body.Update(dt);
    }
}

void CFish::SwimOctopus(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    const unsigned b = StageBase();
    float& timer = type.swimTimer;
    if (timer > 0.0f) {
        // An idle clip that still plays keeps the octopus idling.
        if (!(body.IsPlaying(-1) && timer - dt <= 0.0f)) {
            timer -= dt;
        }
        if (timer <= 0.0f) {
            if (lively) {
                timer = -3.0f - RandomFloat(0.0f, 3.0f, 1);
                if (type.behaviourCounter < 2 && FreshRandom() % 100 > 50) {
                    timer = 0.0f;
                } else {
                    if (CoinIsOdd()) {
                        Play(body, b, ENDLESS);
                        dirX = -1.0f;
                    } else {
                        PlayBackward(body, b, ENDLESS);
                        dirX = 1.0f;
                    }
                    octopusPhase = 1;
                    type.behaviourCounter = 0;
                }
            } else {
                Play(body, b + 1, 1.0f);
                ++type.behaviourCounter;
                octopusPhase = 2;
            }
        }
    } else {
        timer += dt;
        if (timer >= 0.0f) {
            timer = 2.0f + 3.0f * FreshFraction();
            bool second = false;
            if (lively) {
                if (octopusPhase == 2) {
                    second = true;
                } else if (octopusPhase != 3) {
                    second = !CoinIsOdd();
                }
            }
            Play(body, second ? b + 2 : b + 1, timer);
            octopusPhase = second ? 3 : 2;
            ++type.behaviourCounter;
        }
        if (lively) {
            x += dirX * speed * dt;
        }
    }
    if (timer > 0.0f) {
        SlowDown(speed, ACCELERATION * dt, maxSpeed * 0.5f);
    } else {
        SpeedUp(speed, ACCELERATION * dt, maxSpeed);
    }
    // The swim clip reverses where it stands.
    if (x > static_cast<float>(swimRect.right)) {
        dirX = -dirX;
        x = static_cast<float>(swimRect.right);
        body.Play(b, false, false, ENDLESS);
    } else if (x < static_cast<float>(swimRect.left)) {
        dirX = -dirX;
        x = static_cast<float>(swimRect.left);
        body.PlayBackward(b, false, false, ENDLESS);
    }
}

void CFish::SwimCrab(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    const unsigned b = StageBase();
    const auto playing = [this](unsigned clip) { return body.IsPlaying(static_cast<int>(clip)); };
    if (!lively) {
        if (playing(b + 3)) {
            PlayBackward(body, b + 2, ONCE);
        }
        if (!playing(b + 1) && !playing(b + 2)) {
            Play(body, b + 1, ENDLESS);
        }
        return;
    }
    float& timer = type.swimTimer;
    if (!inTransition) {
        if (timer > 0.0f) {
            timer -= dt;
            if (timer <= 0.0f) {
                if (!CoinIsOdd() && type.behaviourCounter < 2) {
                    timer = 0.0f;
                } else {
                    timer = -3.0f - RandomFloat(0.0f, 4.0f, 1);
                    if (FreshRandom() % 100 > 50) {
                        dirX = -dirX;
                    }
                    Play(body, b + 2, ONCE);
                    inTransition = true;
                    type.behaviourCounter = 0;
                }
            }
        } else {
            timer += dt;
            if (timer >= 0.0f) {
                const bool walking = playing(b + 3);
                if (walking) {
                    PlayBackward(body, b + 2, ONCE);
                }
                if (walking || playing(b + 2)) {
                    timer = 0.0f;
                } else {
                    ++type.behaviourCounter;
                    timer = RandomFloat(0.0f, 3.0f, 1) + 2.0f;
                    if (playing(b)) {
                        Play(body, b + 1, ENDLESS);
                    } else if (playing(b + 1)) {
                        Play(body, b + 4, ONCE);
                        gesturePending = true;
                    }
                    if (!playing(b) && !playing(b + 1)) {
                        if (CoinIsOdd()) {
                            Play(body, b + 4, ONCE);
                            gesturePending = true;
                        } else {
                            Play(body, b + 1, ENDLESS);
                        }
                    }
                }
            }
        }
    }
    if (!body.IsPlaying(-1)) {
        if (inTransition && timer < 0.0f) {
            // Standing up is over: the walk begins.
            if (dirX < 0.0f) {
                Play(body, b + 3, ENDLESS);
            } else {
                PlayBackward(body, b + 3, ENDLESS);
            }
            inTransition = false;
        } else if (gesturePending) {
            Play(body, b, ENDLESS);
            gesturePending = false;
        }
    }
    if (playing(b + 3)) {
        x += speed * dirX * dt;
        if (x > static_cast<float>(swimRect.right)) {
            dirX = -dirX;
            x = static_cast<float>(swimRect.right);
            body.Play(b + 3, false, false, ENDLESS);
        } else if (x < static_cast<float>(swimRect.left)) {
            dirX = -dirX;
            x = static_cast<float>(swimRect.left);
            body.PlayBackward(b + 3, false, false, ENDLESS);
        }
    }
}

void CFish::SwimShell(const InputState& /*input*/, Vec2 /*scale*/, float dt) {
    const unsigned b = StageBase();
    float& timer = type.swimTimer;
    // behaviourCounter says whether the shell has opened since it last idled.
    if (timer > 0.0f) {
        if (lively) {
            timer -= dt;
        }
        if (body.IsPlaying(static_cast<int>(b)) && body.GetCurrentFrame(b) == SHELL_OPEN_FRAME) {
            body.Stop();
        }
        if (timer <= 0.0f) {
            timer = 0.0f;
            if (!body.IsPlaying(-1) && body.GetCurrentFrame(b) == SHELL_OPEN_FRAME) {
                body.Play(b, false, false, ONCE);
            }
        }
        return;
    }
    if (body.IsPlaying(-1)) {
        return;
    }
    if (!lively) {
        body.Play(b, false, false, ONCE);
        type.behaviourCounter = 1;
        timer = 0.5f;
    } else if (type.behaviourCounter != 0) {
        Play(body, b + 1, RandomFloat(0.0f, 3.0f, 1) + 2.0f);
        type.behaviourCounter = 0;
    } else {
        Play(body, b, ONCE);
        type.behaviourCounter = 1;
        if (FreshRandom() % 100 > 50) {
            timer = RandomFloat(0.0f, 3.0f, 1) + 3.0f;
        }
    }
}

// The heroine's queue: clicks on stations, her paths around the aquariums,
// walking, the action at each station and the numbered tags.
#include <cmath>

#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/input_devices.h"
#include "engine/platform/number_text.h"
#include "engine/platform/placed_rect.h"
#include "game/game_session.h"
#include "heroine/audio_system.h"
#include "heroine/device_parts.h"
#include "heroine/heroine.h"
#include "heroine/instrument_panel.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace {

constexpr unsigned SAMPLE_DISCARD = 22;
constexpr unsigned SAMPLE_TAKEN = 23;
constexpr unsigned SAMPLE_REFUSED = 24;

constexpr float LONG_STAY = 2.0f;
constexpr float SHORT_STAY = 1.0f;
// A cancel while she works lets the current task run this much longer.
constexpr float CANCEL_EXTRA_STAY = 0.1f;
constexpr std::int32_t DISCARD_FINE_PER_HAND = 20;
// No detour point lies this far out; a nearer one replaces it.
constexpr float NO_DETOUR = 2000.0f;
constexpr int MAX_DETOURS = 16;
constexpr int DETOUR_STEPS = 40;
constexpr int PET_BOX = 6;
// A leg longer than this that runs mostly sideways starts horizontally.
constexpr float LONG_SIDEWAYS_LEG = 150.0f;

float SquaredDistance(Vec2 a, Vec2 b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return dx * dx + dy * dy;
}

bool IsInteriorSet(std::uint32_t item) {
    return item >= 1 && item <= 0xFFF;
}

bool IsBrush(std::uint32_t item) {
    return item == ITEM_BRUSH_1 || item == ITEM_BRUSH_2;
}

// Whether a leg from `from` to `to` starts with her y moving.
bool StartsVertical(Vec2 from, Vec2 to) {
    const float dx = std::fabs(to.x - from.x);
    const float dy = std::fabs(to.y - from.y);
    return !(dx > dy && dx > LONG_SIDEWAYS_LEG);
}

}  // namespace

Vec2 CHeroine::StationTarget(Vec2 stationPoint) const {
    const float halfWidth = static_cast<float>(box.right - box.left) / 2.0f;
    const float height = static_cast<float>(box.bottom - box.top);
    return {stationPoint.x - halfWidth, stationPoint.y - height};
}

void CHeroine::Update(const InputState& input, Vec2 screenScale, float elapsed) {
    if (input.ButtonWentDown(1)) {
        Cancel();
    }
    AdvanceFigure(elapsed);
    PlaceFigure();
    firstHandPicture.SetPosition(position.x, position.y);
    secondHandPicture.SetPosition(position.x, position.y);
    if (input.ButtonWentDown(0) && !g_orderList.IsDragging()) {
        HandleClicks(screenScale);
    }
    if (!tasks.empty()) {
        WalkAndArrive(elapsed);
    }
    IdleFigure();
}

void CHeroine::Cancel() {
    // Her stay can outlast the work clip's end and even the queue, so a
    // working state alone does not promise a current task.
    if (IsWorking() && !tasks.empty()) {
        tasks.erase(tasks.begin() + 1, tasks.end());
        tasks.front().seconds += CANCEL_EXTRA_STAY;
        return;
    }
    tasks.clear();
    atStation = false;
    state = STATE_IDLE;
    RestingPose();
}

void CHeroine::HandleClicks(Vec2 screenScale) {
    if (const CInstrumentItem* item = g_instrumentPanel.GetHoveredItem()) {
        if (item->ingredient) {
            g_instrumentPanel.ToggleSelection();
        } else {
            const bool repeated = g_gameSession.HasModeBits(MODE_TRAINING) && !tasks.empty() &&
                                  tasks.back().code == item->kind;
            if (!repeated) {
                Enqueue({StationTarget(item->stationPoint), item->tagPoint, item->stationSeconds,
                         item->kind, -1},
                        screenScale);
            }
        }
    }
    if (CAquarium* aquarium = g_aquariumSet.FindHovered()) {
        const std::int32_t index = g_aquariumSet.FindHoveredIndex();
        const Vec2 target = StationTarget(aquarium->stationPoint);
        if (aquarium->GetBody().hovered) {
            Enqueue({target, aquarium->bodyTagPoint, 0.0f, ITEM_AQUARIUM, index}, screenScale);
        }
        if (aquarium->GetLampSwitch().hovered) {
            Enqueue({target, aquarium->lampTagPoint, 0.0f, ITEM_LAMP_SWITCH, index}, screenScale);
        }
        if (aquarium->GetCompressorSwitch().hovered) {
            Enqueue({target, aquarium->compressorTagPoint, 0.0f, ITEM_COMPRESSOR_SWITCH, index},
                    screenScale);
        }
    }
    if (g_audioSystem.IsStandHovered()) {
        Enqueue({StationTarget(g_audioSystem.GetStationPoint()), g_audioSystem.GetTagPoint(), 0.0f,
                 ITEM_AUDIO_SYSTEM, -1},
                screenScale);
    }
    const Vec2 machineTarget = StationTarget(g_machine.GetStationPoint());
    if (g_machine.IsBodyHovered()) {
        Enqueue({machineTarget, g_machine.GetDeliveryTagPoint(), 0.0f, ITEM_MACHINE, -1},
                screenScale);
    }
    if (g_machine.IsProductHovered()) {
        Enqueue({machineTarget, g_machine.GetTakeTagPoint(), 0.0f,
                 g_machine.GetCurrentSet() | ITEM_MACHINE, -1},
                screenScale);
    }
    if (g_pet.IsHovered()) {
        Enqueue({StationTarget(g_pet.stationPoint), g_pet.tagPoint, 0.0f, ITEM_PET, -1},
                screenScale);
    }
}

bool CHeroine::NearestDetour(const CPlacedRect& shape, int boxNumber, Vec2 from, Vec2 to,
                             int previousBox, Vec2 screenScale, Vec2& best, int& bestBox) const {
    const Vec2 point = shape.FindDetourPoint(from, to, boxNumber != previousBox, screenScale, 0.0f,
                                             0.0f, 0.0f, 0.0f, DETOUR_STEPS);
    if ((point.x == 0.0f && point.y == 0.0f) ||
        !(SquaredDistance(point, from) < SquaredDistance(best, from))) {
        return false;
    }
    best = point;
    bestBox = boxNumber;
    return true;
}

void CHeroine::Enqueue(CHeroineTask task, Vec2 screenScale) {
    const Vec2 feet = {static_cast<float>(box.right - box.left) / 2.0f,
                       static_cast<float>(box.bottom - box.top)};
    Vec2 start = tasks.empty() ? position : tasks.back().target;
    const Vec2 to = {task.target.x + feet.x, task.target.y + feet.y};
    task.path.clear();
    int previousBox = -1;
    for (int detours = 0;;) {
        Vec2 best = {NO_DETOUR, NO_DETOUR};
        int bestBox = -1;
        const Vec2 from = {start.x + feet.x, start.y + feet.y};
        for (std::int32_t i = 0; i < g_aquariumSet.GetCount(); ++i) {
            const CAquarium* aquarium = g_aquariumSet.GetAquarium(i);
            if (aquarium == nullptr) {
                break;
            }
            if (aquarium->GetLevel() != 0) {
                NearestDetour(aquarium->shape, i, from, to, previousBox, screenScale, best,
                              bestBox);
            }
        }
        if (g_location.GetLocation() == 3) {
            NearestDetour(g_pet.shape, PET_BOX, from, to, previousBox, screenScale, best, bestBox);
        }
        if (!(best.x < NO_DETOUR || best.y < NO_DETOUR)) {
            break;
        }
        start = {best.x - feet.x, best.y - feet.y};
        task.path.push_back(start);
        previousBox = bestBox;
        if (++detours >= MAX_DETOURS) {
            break;
        }
    }
    task.path.push_back(task.target);
    task.waypoint = task.path.front();
    task.path.erase(task.path.begin());
    if (tasks.empty()) {
        verticalMove = StartsVertical(position, task.waypoint);
        legStart = position;
    }
    tasks.push_back(std::move(task));
}

void CHeroine::StartLeg() {
    verticalMove = StartsVertical(position, tasks.front().waypoint);
    legStart = position;
}

void CHeroine::WalkAndArrive(float elapsed) {
    CHeroineTask& task = tasks.front();
    if (SquaredDistance(position, task.waypoint) > 0.1f) {
        if (atStation) {
            return;
        }
        const std::int32_t oldState = state;
        state = 0;
        const float dx = task.waypoint.x - position.x;
        const float dy = task.waypoint.y - position.y;
        if (std::fabs(dy) >= std::fabs(dx) ||
            0.6f * std::fabs(dx) <= std::fabs(legStart.x - position.x)) {
            verticalMove = true;
        }
        const float step = speed * elapsed;
        // A step that reaches the waypoint sets no direction bit.
        const auto move = [step](float& value, float goal, std::int32_t growing,
                                 std::int32_t shrinking) -> std::int32_t {
            if (value < goal) {
                value += step;
                if (value >= goal) {
                    value = goal;
                    return 0;
                }
                return growing;
            }
            if (value > goal) {
                value -= step;
                if (value <= goal) {
                    value = goal;
                    return 0;
                }
                return shrinking;
            }
            return 0;
        };
        state |= move(position.x, task.waypoint.x, WALK_RIGHT, WALK_LEFT);
        if (verticalMove) {
            state |= move(position.y, task.waypoint.y, WALK_DOWN, WALK_UP);
        }
        if (state == 0) {
            state = oldState;
        }
        const int direction = DirectionOf(state);
        if (direction >= 0) {
            WalkFigure(direction);
        }
        return;
    }
    position = task.waypoint;
    if (!task.path.empty()) {
        task.waypoint = task.path.front();
        task.path.erase(task.path.begin());
        StartLeg();
        return;
    }
    if (!atStation) {
        ArriveFigure();
        task.tagVisible = false;
        Arrive(task);
    }
    position = task.target;
    atStation = true;
    task.seconds -= elapsed;
    if (task.seconds <= 0.0f) {
        tasks.erase(tasks.begin());
        atStation = false;
        if (!IsWorking()) {
            state = STATE_IDLE;
        }
        if (!tasks.empty()) {
            StartLeg();
        }
    }
}

void CHeroine::FillHand(bool first, std::uint32_t code) {
    if (first) {
        firstHandItem = code;
        firstHandPicture.BuildCareItemFirstHand(position.x, position.y, code);
    } else {
        secondHandItem = code;
        secondHandPicture.BuildCareItemSecondHand(position.x, position.y, code);
    }
}

void CHeroine::ClearHand(bool first) {
    FillHand(first, 0);
}

void CHeroine::Arrive(CHeroineTask& task) {
    const std::uint32_t code = task.code;
    if ((code & ITEM_DISCARD_SPOT) != 0) {
        Discard();
    } else if ((code & ITEM_COMPUTER) != 0) {
        g_orderList.TakeAtComputer();
    } else if ((code & ITEM_AUDIO_SYSTEM) != 0) {
        g_audioSystem.Activate();
    } else if (code == ITEM_MACHINE) {
        g_machine.AcceptIngredients(g_instrumentPanel.GetSelectedKinds());
    } else if ((code & ITEM_MACHINE) != 0) {
        TakeFinishedSet();
    } else if ((code & ITEM_AQUARIUM) != 0) {
        DeliverToAquarium(task);
    } else if ((code & ITEM_LAMP_SWITCH) != 0) {
        g_aquariumSet.ApplyItem(ITEM_LAMP_SWITCH, 0, task.aquariumIndex);
    } else if ((code & ITEM_COMPRESSOR_SWITCH) != 0) {
        g_aquariumSet.ApplyItem(ITEM_COMPRESSOR_SWITCH, 0, task.aquariumIndex);
    } else if ((code & ITEM_PET) != 0) {
        ServePet(task);
    } else {
        PickUp(task);
    }
}

void CHeroine::Discard() {
    const std::int32_t fine = (firstHandItem != 0 ? DISCARD_FINE_PER_HAND : 0) +
                              (secondHandItem != 0 ? DISCARD_FINE_PER_HAND : 0);
    if (fine > 0) {
        PlayDeviceSample(SAMPLE_DISCARD);
        PopupTexts::Instance().Add(1, WithNumber(u"", u"-", fine), -1, 0xFFFFFF00u, 53.0f, 707.0f,
                                   1.0f, 0.0f, -1.0f, 1.0f, 0.5f, 0.0f, -1);
        g_gameSession.AddCash(-fine);
        firstHandPicture.BuildCareItemFirstHand(position.x, position.y, 0);
        secondHandPicture.BuildCareItemSecondHand(position.x, position.y, 0);
    }
    firstHandItem = 0;
    secondHandItem = 0;
}

void CHeroine::TakeFinishedSet() {
    if (firstHandItem != 0 || secondHandItem != 0) {
        PlayDeviceSample(SAMPLE_REFUSED);
        return;
    }
    // An earlier task may have taken the set already and the machine may be
    // working on the next one: then there is nothing to carry.
    const std::uint32_t set = g_machine.TakeProduct();
    if (set == 0) {
        PlayDeviceSample(SAMPLE_REFUSED);
        return;
    }
    firstHandItem = set;
    secondHandItem = set;
    firstHandPicture.BuildInteriorSet(position.x, position.y, set);
    PlayDeviceSample(SAMPLE_TAKEN);
}

void CHeroine::DeliverToAquarium(CHeroineTask& task) {
    const std::int32_t index = task.aquariumIndex;
    bool longWork = false;
    const std::int32_t first = g_aquariumSet.ApplyItem(firstHandItem, secondHandItem, index);
    if (first >= 1) {
        longWork = IsInteriorSet(firstHandItem) || IsBrush(firstHandItem);
        ClearHand(true);
        if (first == 2) {
            ClearHand(false);
        }
    }
    const std::int32_t second = g_aquariumSet.ApplyItem(secondHandItem, firstHandItem, index);
    if (second >= 1) {
        longWork = longWork || IsBrush(secondHandItem);
        ClearHand(false);
        if (second == 2) {
            ClearHand(true);
        }
    }
    if (longWork) {
        workCloud.SetPosition(position.x, position.y);
    }
    const auto startWork = [&](unsigned shortClip) {
        if (longWork) {
            task.seconds = LONG_STAY;
            state = STATE_LONG_WORK;
            StartLongWorkFigure();
        } else {
            task.seconds = SHORT_STAY;
            state = STATE_SHORT_WORK;
            PlayStanding(shortClip, shortClip, 0.1f);
        }
    };
    if (first > 0) {
        startWork(secondHandItem != 0 ? 6 : 5);
    }
    if (second > 0) {
        startWork(firstHandItem != 0 ? 8 : 7);
    }
    if (first == 0 && second == 0 && (firstHandItem != 0 || secondHandItem != 0)) {
        PlayDeviceSample(SAMPLE_REFUSED);
    }
}

void CHeroine::ServePet(CHeroineTask& task) {
    if (g_pet.SatisfyRequest(firstHandItem)) {
        ClearHand(true);
        task.seconds = SHORT_STAY;
        state = STATE_SERVING_PET;
        const unsigned clip = secondHandItem != 0 ? 10 : 9;
        PlayStanding(clip, clip, 0.1f);
    } else if (g_pet.SatisfyRequest(secondHandItem)) {
        ClearHand(false);
        task.seconds = SHORT_STAY;
        state = STATE_SERVING_PET;
        const unsigned clip = firstHandItem != 0 ? 12 : 11;
        PlayStanding(clip, clip, 0.1f);
    } else if (firstHandItem != 0 || secondHandItem != 0) {
        PlayDeviceSample(SAMPLE_REFUSED);
    }
}

void CHeroine::PickUp(const CHeroineTask& task) {
    if (firstHandItem != 0 && secondHandItem != 0) {
        PlayDeviceSample(SAMPLE_REFUSED);
        return;
    }
    const bool first = firstHandItem == 0;
    PlayDeviceSample(SAMPLE_TAKEN);
    const std::uint32_t code = task.code;
    // A vitamin is taken only once its charge has run out, and then charges.
    if ((code & ITEM_VITAMIN_GROWTH) != 0) {
        if (g_instrumentPanel.GetChargeLeft(ITEM_VITAMIN_GROWTH) == 0.0f) {
            FillHand(first, code);
            g_instrumentPanel.StartCharging(ITEM_VITAMIN_GROWTH, 20.0f);
        }
    } else if ((code & ITEM_VITAMIN_COST) != 0) {
        if (g_instrumentPanel.GetChargeLeft(ITEM_VITAMIN_COST) == 0.0f) {
            FillHand(first, code);
            g_instrumentPanel.StartCharging(ITEM_VITAMIN_COST, 30.0f);
        }
    } else {
        FillHand(first, code);
    }
}

void CHeroine::RenderTaskTags(backend::IRenderDevice* device, Vec2 screenScale, bool inFront) {
    const float feetLine = GetFeetLine();
    const bool firstWorking = !tasks.empty() && tasks.front().seconds > 0.0f;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const CHeroineTask& task = tasks[i];
        if (!task.tagVisible) {
            continue;
        }
        // The tag sorts with the station's picture, not with its own top.
        float depth = 50.0f;
        if ((task.code & ITEM_LAMP_SWITCH) != 0) {
            depth = 203.0f;
        } else if ((task.code & ITEM_COMPRESSOR_SWITCH) != 0) {
            depth = 155.0f;
        } else if ((task.code & ITEM_AQUARIUM) != 0) {
            depth = 158.0f;
        } else if ((task.code & ITEM_PET) != 0) {
            depth = 148.0f;
        }
        depth += task.tagPoint.y;
        if (inFront != (depth >= feetLine)) {
            continue;
        }
        tagImage.x = task.tagPoint.x;
        tagImage.y = task.tagPoint.y;
        tagImage.Draw(device, screenScale, true, 0xFFFFFFFFu, true);
        const std::int32_t number = static_cast<std::int32_t>(i) + 1 - (firstWorking ? 1 : 0);
        ResourceManager::Instance().DrawText(
            1, NumberText(number), {screenScale.x * 0.75f, screenScale.y * 0.75f},
            {(task.tagPoint.x + 30.0f) * screenScale.x, (task.tagPoint.y + 30.0f) * screenScale.y},
            0xFFFFFFFFu, true, false, 0.0f, 0.0f, true);
    }
}

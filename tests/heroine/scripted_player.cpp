#include "heroine/scripted_player.h"

#include <filesystem>
#include <limits>

#include "engine/platform/html_log.h"
#include "game/scene.h"
#include "game/session_test_support.h"
#include "heroine/audio_system.h"
#include "heroine/bonus_game.h"
#include "heroine/heroine.h"
#include "heroine/machine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/item_codes.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace scripted_player {

namespace {

constexpr Vec2 SCALE{1.0f, 1.0f};
// A gull's click box spans this much from its position.
constexpr Vec2 GULL_BOX{200.0f, 130.0f};
// So many wishes waiting at once are worth the audio system's music.
constexpr int WISHES_FOR_MUSIC = 2;
// A picture that blinks as new in the level is out of reach half the time.
constexpr int RETRIES = 20;

bool LevelOver() {
    return g_gameSession.HasModeBits(MODE_LEVEL_COMPLETE | MODE_LEVEL_FAILED);
}

}  // namespace

Vec2 Centre(const CGuiImage& image) {
    return {image.offsetX + image.hoverX +
                image.scaleX *
                    static_cast<float>(image.hoverSource.right - image.hoverSource.left) * 0.5f,
            image.offsetY + image.hoverY +
                image.scaleY *
                    static_cast<float>(image.hoverSource.bottom - image.hoverSource.top) * 0.5f};
}

Vec2 Centre(const CGuiButton& button) {
    return {
        button.x + button.scaleX *
                       static_cast<float>(button.normalSource.right - button.normalSource.left) *
                       0.5f,
        button.y + button.scaleY *
                       static_cast<float>(button.normalSource.bottom - button.normalSource.top) *
                       0.5f};
}

void OpenShippedScreen(screen_test::ShippedScreen& screen, const char* title) {
    app_test::PrivateFolder();
    HtmlLog().Start();
    screen.OpenFolder();
    // The pictures load level by level, as the game loads them.
    ASSERT_NO_FATAL_FAILURE(screen.Start(1024, 768, 1.0f, title, 0));
}

void CPlayer::NewProfile() {
    std::filesystem::remove(HtmlLog().GetUserFolder() + PROFILES_FILE);
    session_test::ResetGlobalSession();
    session_test::ResetWorld();
    g_scene.Init();
    ASSERT_TRUE(g_gameSession.LoadUpgrades());
    ASSERT_TRUE(g_gameSession.AddProfile(u"Ann"));
    // Out of the way of everything on the floor.
    input.cursorX = 5.0f;
    input.cursorY = 760.0f;
}

void CPlayer::Frame() {
    clock.Advance(FRAME);
    m_screen.audio->Advance(FRAME);
    g_gameSession.UpdateFade(FRAME);
    g_gameSession.Update(nullptr, m_screen.device.get(), input, SCALE, Vec2{}, FRAME);
    g_gameSession.HandleKeys(m_screen.device.get(), input, FRAME);
    const std::uint32_t mode = g_gameSession.GetGameMode();
    if ((mode & MODE_GAME) != 0 && (mode & ~(MODE_GAME | MODE_TRAINING | MODE_SHOP)) == 0) {
        g_scene.Update(input, SCALE, FRAME);
    }
    if (renderEvery > 0 && ++m_frames % renderEvery == 0 && (mode & MODE_GAME) != 0) {
        backend::IRenderDevice* device = m_screen.device.get();
        device->Clear(0xFF000000u);
        if (device->BeginScene()) {
            g_scene.Render(device, input, SCALE);
            device->EndScene();
        }
    }
    input.previousMouse = input.currentMouse;
    input.currentMouse.buttons[0] = 0;
    seconds += FRAME;
}

void CPlayer::ClickAt(Vec2 at) {
    input.cursorX = at.x;
    input.cursorY = at.y;
    Frame();
    input.currentMouse.buttons[0] = 0x80;
    Frame();
    Frame();
}

void CPlayer::ClickStation(Vec2 at) {
    const std::size_t queued = g_heroine.GetTasks().size();
    const bool idle = HeroineIdle();
    const auto taken = [&] {
        return g_heroine.GetTasks().size() > queued || (idle && !HeroineIdle());
    };
    for (int tries = 0; tries < RETRIES && !taken(); ++tries) {
        ClickAt(at);
    }
}

void CPlayer::GoTo(Vec2 at) {
    ClickStation(at);
    RunUntil([] { return HeroineIdle(); }, 20.0f);
}

bool CPlayer::HeroineIdle() {
    return g_heroine.GetTasks().empty() && !g_heroine.IsWorking() &&
           g_heroine.state == CHeroine::STATE_IDLE;
}

const CInstrumentItem* CPlayer::Item(std::uint32_t kind) {
    for (const CInstrumentItem& item : g_instrumentPanel.GetItems()) {
        if (item.kind == kind && item.level > 0) {
            return &item;
        }
    }
    return nullptr;
}

void CPlayer::StartLevel(std::int32_t index, std::int32_t story) {
    Profile().levelIndex = index;
    Profile().storyLevel = story;
    g_gameSession.SetGameMode(MODE_GAME);
    ASSERT_TRUE(g_gameSession.StartGame(false, false));
    PassBriefing();
}

void CPlayer::PassBriefing() {
    ASSERT_TRUE(RunUntil([] { return g_gameSession.HasModeBits(MODE_BRIEFING); }, 20.0f))
        << std::hex << g_gameSession.GetGameMode();
    Frame();
    Click(BTN_OK);
    ASSERT_EQ(g_gameSession.GetGameMode() & ~MODE_TRAINING, MODE_GAME)
        << std::hex << g_gameSession.GetGameMode();
}

bool CPlayer::PlaceOrder() {
    for (std::int32_t i = 0; OrderEntry* entry = g_orderList.GetEntry(i); ++i) {
        if (!entry->active) {
            continue;
        }
        for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
            CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
            if (aquarium.GetLevel() == 0 || !aquarium.IsEmpty()) {
                continue;
            }
            ClickAt(Centre(entry->card));
            ClickAt(Centre(aquarium.GetBody()));
            ++counts.placed;
            return true;
        }
    }
    return false;
}

void CPlayer::TakeVitamin() {
    for (const std::uint32_t kind : {ITEM_VITAMIN_COST, ITEM_VITAMIN_GROWTH}) {
        const CInstrumentItem* vitamin = Item(kind);
        if (vitamin != nullptr && !vitamin->disabled &&
            g_instrumentPanel.GetChargeLeft(kind) == 0.0f) {
            ClickStation(Centre(vitamin->picture));
            ++counts.vitamins;
            return;
        }
    }
}

void CPlayer::Serve(std::int32_t a) {
    CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
    const std::uint32_t wish = aquarium.GetRequest();
    if ((wish & WISH_STATE_ON) != 0 || (wish & WISH_STATE_OFF) != 0) {
        const bool lamp = (wish & ITEM_LAMP_SWITCH) != 0;
        ClickAt(Centre(lamp ? aquarium.GetLampSwitch() : aquarium.GetCompressorSwitch()));
    } else if ((wish & MASK_INTERIOR) != 0) {
        // A selection is toggled: what the set does not want is put back,
        // and an item that blinks as new is clicked again once it shows.
        for (std::uint32_t bit = 1; bit <= YELLOW_CORAL; bit <<= 1) {
            const CInstrumentItem* item = Item(bit);
            const bool wanted = (wish & bit) != 0;
            ASSERT_TRUE(item != nullptr || !wanted) << std::hex << bit;
            for (int tries = 0; item != nullptr && tries < RETRIES &&
                                ((g_instrumentPanel.GetSelectedKinds() & bit) != 0) != wanted;
                 ++tries) {
                ClickAt(Centre(item->picture));
            }
        }
        ASSERT_EQ(g_instrumentPanel.GetSelectedKinds(), wish & MASK_INTERIOR);
        ClickStation(Centre(g_machine.GetBody()));
        ASSERT_TRUE(RunUntil(
            [] {
                return HeroineIdle() && g_machine.GetCurrentSet() != 0 && !g_machine.IsWorking();
            },
            30.0f));
        ++counts.setsBuilt;
        ClickAt(Centre(g_machine.GetFinishedSet().GetSprite(0, 0)));
        ASSERT_TRUE(RunUntil([] { return HeroineIdle(); }, 20.0f));
        ASSERT_EQ(g_heroine.firstHandItem, wish & MASK_INTERIOR) << "she carries the set";
        // A wish that ran out while the machine worked leaves the set in her
        // hands for another fish or the discard spot.
        if (aquarium.GetRequest() != wish) {
            return;
        }
        ClickAt(Centre(aquarium.GetBody()));
        ASSERT_TRUE(RunUntil([] { return HeroineIdle(); }, 20.0f));
        EXPECT_EQ(g_heroine.firstHandItem, 0u) << "the set went into the aquarium";
    } else {
        const CInstrumentItem* item = Item(wish);
        ASSERT_NE(item, nullptr) << std::hex << wish;
        if ((wish & MASK_FOOD) != 0) {
            TakeVitamin();
        }
        ClickStation(Centre(item->picture));
        ClickStation(Centre(aquarium.GetBody()));
    }
    RunUntil([] { return HeroineIdle(); }, 20.0f);
    ++counts.served;
}

std::int32_t CPlayer::MostUrgentWish() {
    std::int32_t urgent = -1;
    float least = std::numeric_limits<float>::max();
    for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
        const CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
        if (aquarium.IsEmpty() || aquarium.GetRequest() == 0) {
            continue;
        }
        const CRequestBubble& bubble = aquarium.GetFish().bubble;
        const float left = bubble.GetLimit() - bubble.GetElapsed();
        if (left < least) {
            least = left;
            urgent = a;
        }
    }
    return urgent;
}

bool CPlayer::EmptyHands() {
    const std::uint32_t held =
        g_heroine.firstHandItem != 0 ? g_heroine.firstHandItem : g_heroine.secondHandItem;
    if (held == 0) {
        return false;
    }
    // What is still wished for goes there; the rest costs its fine.
    for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
        if (!aquarium.IsEmpty() && aquarium.GetRequest() == held) {
            GoTo(Centre(aquarium.GetBody()));
            return true;
        }
    }
    if (g_pet.GetLevel() >= 1 && g_pet.GetBubble().GetRequest() == held) {
        GoTo(Centre(g_pet.GetLevelPicture(g_pet.GetLevel())));
        return true;
    }
    const CInstrumentItem* discard = Item(ITEM_DISCARD_SPOT);
    if (discard == nullptr) {
        return false;
    }
    GoTo(Centre(discard->picture));
    ++counts.discarded;
    return true;
}

bool CPlayer::AnswerComputer() {
    const CInstrumentItem* computer = Item(ITEM_COMPUTER);
    if (computer == nullptr || !g_orderList.IsCallShown()) {
        return false;
    }
    GoTo(Centre(computer->picture));
    ++counts.computerCalls;
    return true;
}

bool CPlayer::LookAfterPet() {
    if (g_pet.GetLevel() < 1) {
        return false;
    }
    if (g_pet.GetCharge() >= CPet::FULL_CHARGE) {
        // The fish's gift grows the fish there are; the turtle's gives time.
        bool growing = g_pet.GetKind() == CPet::PET_TURTLE;
        for (std::int32_t a = 0; a < g_aquariumSet.GetCount() && !growing; ++a) {
            const CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
            growing = !aquarium.IsEmpty() && aquarium.GetFishState() != CAquarium::FISH_GROWN;
        }
        if (!growing) {
            return false;
        }
        ClickAt(Centre(g_pet.GetAbilityButton()));
        ++counts.petGifts;
        return true;
    }
    const std::uint32_t wish = g_pet.GetBubble().GetRequest();
    const CInstrumentItem* food = wish != 0 ? Item(wish) : nullptr;
    if (food == nullptr) {
        return false;
    }
    ClickStation(Centre(food->picture));
    GoTo(Centre(g_pet.GetLevelPicture(g_pet.GetLevel())));
    ++counts.petFed;
    return true;
}

bool CPlayer::PlayMusic() {
    if (g_audioSystem.GetLevel() < 1 || !g_audioSystem.IsReady() || g_audioSystem.IsWorking()) {
        return false;
    }
    int waiting = 0;
    for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
        const CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
        waiting += !aquarium.IsEmpty() && aquarium.GetRequest() != 0 ? 1 : 0;
    }
    if (waiting < WISHES_FOR_MUSIC) {
        return false;
    }
    GoTo(Centre(g_audioSystem.GetStand(g_audioSystem.GetLevel())));
    ++counts.musicOn;
    return true;
}

bool CPlayer::Act() {
    for (std::int32_t a = 0; a < g_aquariumSet.GetCount(); ++a) {
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(a);
        if (!aquarium.IsEmpty() && aquarium.GetFishState() == CAquarium::FISH_GROWN) {
            ClickAt(Centre(aquarium.GetSellButton()));
            ++counts.sold;
            return true;
        }
    }
    if (!HeroineIdle()) {
        return false;
    }
    if (EmptyHands() || AnswerComputer() || PlaceOrder() || PlayMusic()) {
        return true;
    }
    if (const std::int32_t a = MostUrgentWish(); a >= 0) {
        Serve(a);
        return true;
    }
    return LookAfterPet();
}

bool CPlayer::Resume() {
    if (!g_gameSession.HasModeBits(MODE_PAUSED)) {
        return false;
    }
    Click(BTN_RESUME);
    ++counts.resumed;
    return true;
}

void CPlayer::PlayStoryLevel(float limit) {
    const float end = seconds + limit;
    while (!LevelOver() && seconds < end) {
        if (Resume()) {
            continue;
        }
        if (!Act()) {
            Frame();
        }
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

void CPlayer::PlayBonusLevel(float limit) {
    const float end = seconds + limit;
    while (!LevelOver() && seconds < end) {
        if (Resume()) {
            continue;
        }
        bool clicked = false;
        for (const CBonusGull& gull : g_bonusGame.Gulls()) {
            if (gull.Is(GULL_DIVE) && !gull.Is(GULL_LOST)) {
                ClickAt({gull.base.x + GULL_BOX.x * 0.5f, gull.base.y + GULL_BOX.y * 0.5f});
                clicked = true;
                break;
            }
        }
        if (!clicked) {
            Frame();
        }
    }
}

}  // namespace scripted_player

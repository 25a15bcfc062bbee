// Speed and memory of the engine's busiest paths, on the headless backend
// (SDL's dummy drivers and the software renderer) with the shipped data.
// Run from anywhere: ./build/corvalen_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/backend/audio.h"
#include "engine/backend/clock.h"
#include "engine/backend/video.h"
#include "engine/media/popup_texts.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "game/game_app.h"
#include "game/game_session.h"
#include "game/scene.h"
#include "heroine/heroine.h"
#include "shopfloor/aquarium_set.h"
#include "shopfloor/fish.h"
#include "shopfloor/fish_base.h"
#include "shopfloor/location.h"
#include "shopfloor/order_list.h"
#include "shopfloor/pet.h"

namespace {

// Time moves only when told. While `step` is set every read moves it on, so
// the splash pictures, which wait on the clock, pass in a few frames and the
// start-up measures the work alone.
class CBenchClock : public backend::IClock {
public:
    double Seconds() override {
        m_now += m_step;
        return m_now;
    }
    std::uint64_t Milliseconds() override { return static_cast<std::uint64_t>(Seconds() * 1000.0); }
    void Sleep(std::uint32_t milliseconds) override { m_now += milliseconds / 1000.0; }

    void Advance(double seconds) { m_now += seconds; }
    void SetStep(double seconds) { m_step = seconds; }
    // Every benchmark starts from the same moment.
    void Restart() {
        m_now = 1.0;
        m_step = 0.0;
    }

private:
    double m_now = 1.0;
    double m_step = 0.0;
};

CBenchClock& BenchClock() {
    static CBenchClock clock;
    return clock;
}

class CBenchApp : public CGameApp {
public:
    CBenchApp() {
        static int counter = 0;
        m_instanceName =
            "CorvalenBench-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    }
    // Closed as the player closes it, which releases every resource and the
    // sound output.
    ~CBenchApp() override {
        if (GetWindow() != nullptr) {
            SendMessage(WM_CLOSE);
        }
        while (GetPauseCount() > 0) {
            Pause(false);
        }
    }
};

// The shop floor and play state an earlier benchmark may have left in the
// process-wide objects, cleared so that each benchmark draws only its own
// scene: the same frame draws the same calls whatever ran before it.
void ClearWorld() {
    g_orderList.Clear();
    g_aquariumSet.Clear();
    g_heroine.Reset(1, false);
    // A popup moves through at most one start and its phases per update,
    // however long it is told to hold.
    CPopupTexts& popups = PopupTexts::Instance();
    for (int pass = 0; pass < 4 && !popups.GetTexts().empty(); ++pass) {
        popups.Update(1.0e7f);
    }
    g_gameSession.SetGameMode(MODE_LOADING);
}

std::unique_ptr<CBenchApp> StartGame() {
    BenchClock().Restart();
    ClearWorld();
    BenchClock().SetStep(0.25);
    // The last benchmark's device took its pictures with it: no group is
    // loaded, whatever the resource manager last heard.
    ResourceManager::Instance().SetCurrentGroup(0);
    auto app = std::make_unique<CBenchApp>();
    const bool created = Succeeded(app->Create());
    BenchClock().SetStep(0.0);
    if (!created) {
        app.reset();
    }
    return app;
}

// A "Name:   1234 kB" line of /proc/self/status in bytes; 0 when missing.
std::int64_t StatusBytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::atoll(line.c_str() + name.size() + 1) * 1024;
        }
    }
    return 0;
}

std::int64_t ResidentBytes() {
    return StatusBytes("VmRSS");
}

// Clears the back buffer, draws `draw` between the scene's begin and end, and
// presents: one frame as the game shows it.
template <typename Draw>
void DrawOneFrame(backend::IRenderDevice* device, Draw&& draw) {
    device->Clear(0xFF000000);
    if (device->BeginScene()) {
        draw();
        device->EndScene();
    }
    device->Present();
}

// One frame's drawing, which leaves the frame unchanged, timed against the
// replay of the renderer calls it made as plain SDL calls on the same
// textures, alternately over the same number of frames so that a busy machine
// slows both alike. With SDL_RENDER_DRIVER set SDL does not batch, so each
// call is drawn when it is made and the present adds no drawing.
struct ReplayComparison {
    double drawMicroseconds = 0.0;
    double replayMicroseconds = 0.0;
    std::size_t calls = 0;
};

// The median of a set of frame times, which a busy machine's stray
// preemptions leave in place where they would swell a mean.
double MedianMicroseconds(std::vector<double>& times) {
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2),
                     times.end());
    return times[times.size() / 2];
}

template <typename Draw>
ReplayComparison CompareWithReplay(backend::IRenderDevice* device, Draw&& draw) {
    using Clock = std::chrono::steady_clock;
    constexpr int kFrames = 201;
    device->RecordDraws(true);
    draw();
    device->RecordDraws(false);
    ReplayComparison comparison;
    comparison.calls = device->RecordedDrawCount();
    std::vector<double> drawn;
    std::vector<double> replayed;
    const auto since = [](Clock::time_point start, Clock::time_point end) {
        return std::chrono::duration<double, std::micro>(end - start).count();
    };
    for (int frame = 0; frame < kFrames; ++frame) {
        const Clock::time_point start = Clock::now();
        draw();
        const Clock::time_point middle = Clock::now();
        device->ReplayRecordedDraws();
        replayed.push_back(since(middle, Clock::now()));
        drawn.push_back(since(start, middle));
    }
    comparison.drawMicroseconds = MedianMicroseconds(drawn);
    comparison.replayMicroseconds = MedianMicroseconds(replayed);
    return comparison;
}

void ReportReplay(benchmark::State& state, const ReplayComparison& comparison) {
    state.counters["draws"] = static_cast<double>(comparison.calls);
    state.counters["draw_us"] = comparison.drawMicroseconds;
    state.counters["replay_us"] = comparison.replayMicroseconds;
    state.counters["ratio"] = comparison.replayMicroseconds > 0.0
                                  ? comparison.drawMicroseconds / comparison.replayMicroseconds
                                  : 0.0;
}

// The game started with the first location's pictures and fish kinds loaded
// and the session in play; null (the benchmark skipped) when it did not start.
std::unique_ptr<CBenchApp> StartInFirstLocation(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    if (app == nullptr) {
        state.SkipWithError("the game did not start");
        return app;
    }
    ResourceManager::Instance().LoadImages(app->GetDevice(), CoverageBit(1));
    g_fishBase.Load();
    g_gameSession.SetGameMode(MODE_GAME);
    return app;
}

// The menu tune played for 10 s of its time. SDL's disk driver with no delay
// consumes sound as fast as the tune decodes, so the time is the decoding
// work; the peak is the resident memory above that before the load.
void BM_Stream10s(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    backend::IAudio& audio = backend::Audio();
    const bool opened = audio.Open(44100);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!opened) {
        state.SkipWithError("no audio device");
        return;
    }
    std::int64_t peakGrowth = 0;
    for (auto _ : state) {
        const std::int64_t before = ResidentBytes();
        const backend::AudioHandle stream = audio.LoadStream("Resources/Data/Music/menu.ogg");
        if (stream == 0 || !audio.Play(stream, true)) {
            state.SkipWithError("the menu tune did not play");
            break;
        }
        while (audio.PositionSeconds(stream) < 10.0) {
            peakGrowth = std::max(peakGrowth, ResidentBytes() - before);
            usleep(200);
        }
        audio.Free(stream);
    }
    audio.Close();
    state.counters["peak_rss_growth_MB"] = static_cast<double>(peakGrowth) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Stream10s)->Unit(benchmark::kMillisecond)->Iterations(3);

// Window, device, texts, settings and every resource loaded at start.
void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<CBenchApp> app = StartGame();
        state.PauseTiming();
        if (app == nullptr) {
            state.SkipWithError("the game did not start");
            break;
        }
        app.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

// A frame with nothing to do once loading has ended, at 60 frames a second.
void BM_IdleFrame(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    if (app == nullptr) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto _ : state) {
        BenchClock().Advance(1.0 / 60.0);
        benchmark::DoNotOptimize(app->RenderFrame());
    }
}
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kMicrosecond);

// The loading screen's work for one group, as the game switches to it: every
// image outside the start-up group released, then the group's textures
// loaded with their progress frames. Groups: 4 menu, 8, 16 and 32 the three
// locations, 64 the bonus level.
void BM_LoadGroup(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    if (app == nullptr) {
        state.SkipWithError("the game did not start");
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const auto group = static_cast<CoverageMask>(state.range(0));
    for (auto _ : state) {
        resources.UnloadImagesByGroup(0);
        resources.CountByGroup(group);
        resources.SetCurrentGroup(static_cast<std::int32_t>(group));
        benchmark::DoNotOptimize(resources.LoadImages(app->GetDevice(), group));
    }
}
BENCHMARK(BM_LoadGroup)
    ->Arg(4)
    ->Arg(8)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_TextWidth200(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    CResourceManager& resources = ResourceManager::Instance();
    const std::int32_t font = resources.GetIndex(RESOURCE_FONT, "FONT_TEXT");
    if (app == nullptr || font < 0) {
        state.SkipWithError("no game or no FONT_TEXT");
        return;
    }
    std::u16string text;
    while (text.size() < 200) {
        text += u"Fish swim past the glass, 1234567890! ";
    }
    text.resize(200);
    for (auto _ : state) {
        benchmark::DoNotOptimize(resources.GetTextWidth(font, text, 0.0f, true, -1));
    }
}
BENCHMARK(BM_TextWidth200)->Unit(benchmark::kMicrosecond);

// One frame of 1,000 sprite draws of one picture, spread over the screen.
void BM_Sprites1000(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    CResourceManager& resources = ResourceManager::Instance();
    const std::int32_t image = resources.GetIndex(RESOURCE_IMAGE, "CURSOR");
    if (app == nullptr || image < 0) {
        state.SkipWithError("no game or no CURSOR picture");
        return;
    }
    backend::IRenderDevice* device = app->GetDevice();
    for (auto _ : state) {
        DrawOneFrame(device, [&] {
            for (int n = 0; n < 1000; ++n) {
                const Vec2 position{static_cast<float>(n * 37 % 1000),
                                    static_cast<float>(n * 53 % 740)};
                resources.DrawImage(image, nullptr, nullptr, nullptr, 0.0f, position, 0xFFFFFFFF);
            }
        });
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    ReportReplay(state, CompareWithReplay(device, [&] {
                     for (int n = 0; n < 1000; ++n) {
                         const Vec2 position{static_cast<float>(n * 37 % 1000),
                                             static_cast<float>(n * 53 % 740)};
                         resources.DrawImage(image, nullptr, nullptr, nullptr, 0.0f, position,
                                             0xFFFFFFFF);
                     }
                 }));
}
BENCHMARK(BM_Sprites1000)->Unit(benchmark::kMillisecond);

// One frame of five aquariums' fish, each with a wish waiting in its bubble:
// their updates (wishes, growth, swimming) and their drawing with the
// bubbles, on the pictures of the first location. The frame is small (33
// calls, about 0.1 ms), so a mean over frames on a busy machine is mostly
// the preemptions that land in it; the replay comparison takes medians, and
// the device makes exactly the calls the replay makes, so what is left of
// the ratio is the game's own work.
void BM_FiveFishWithBubbles(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartInFirstLocation(state);
    if (app == nullptr) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    backend::IRenderDevice* device = app->GetDevice();
    const Vec2 scale = resources.GetScale();
    const std::int32_t kinds[] = {FISH_1, SHOAL_FISHES, OCTOPUS, CRAB, GOLD_FISH_2};
    const std::uint32_t wishes[] = {ITEM_FOOD_1, STONE | BLUE_GRASS, WISH_LAMP_ON,
                                    ROCK | RED_GRASS | CHEST | RED_CORAL, ITEM_BRUSH_1};
    std::vector<CFish> fish;
    for (int i = 0; i < 5; ++i) {
        const float x = 40.0f + 190.0f * static_cast<float>(i);
        const float y = 200.0f + 150.0f * static_cast<float>(i % 2);
        CFish& one = fish.emplace_back(g_fishBase.CreateFish(kinds[i], x, y, false));
        one.stage = 2;
        one.type.wishesMade = 2;
        one.type.wishCountdown = 1.0e9f;
        one.bubble.SetRequest(wishes[i], 1.0e6f, x, y);
    }
    InputState input;
    for (auto _ : state) {
        BenchClock().Advance(1.0 / 60.0);
        DrawOneFrame(device, [&] {
            for (CFish& one : fish) {
                one.Update(input, scale, 1.0f / 60.0f, false, false, 0.0f);
                one.Draw(device, scale);
                one.bubble.Render(device, scale);
            }
        });
    }
    state.SetItemsProcessed(state.iterations() * 5);
    ReportReplay(state, CompareWithReplay(device, [&] {
                     for (CFish& one : fish) {
                         one.Draw(device, scale);
                         one.bubble.Render(device, scale);
                     }
                 }));
}
BENCHMARK(BM_FiveFishWithBubbles)->Unit(benchmark::kMicrosecond);

// One play frame of the shop floor of the first location: five furnished
// aquariums each with a fish and a wish, six order cards in their slots and
// the pet, updated and drawn as the scene does.
void BM_ShopFloorFrame(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartInFirstLocation(state);
    if (app == nullptr) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    backend::IRenderDevice* device = app->GetDevice();
    if (g_gameSession.GetCurrentProfile() == nullptr && !g_gameSession.AddProfile(u"Bench")) {
        state.SkipWithError("no profile");
        return;
    }
    CProfile& profile = *g_gameSession.GetCurrentProfile();
    for (std::int32_t& level : profile.slotLevels) {
        level = 4;
    }
    g_location.Set(1, 0);
    g_aquariumSet.SetBaseCount(3);
    g_aquariumSet.Setup(3);
    g_pet.Init(1, 0, 3);
    g_orderList.Clear();
    const std::int32_t kinds[] = {FISH_1, SHOAL_FISHES, OCTOPUS, CRAB, GOLD_FISH_2};
    for (std::int32_t i = 0; i < g_aquariumSet.GetCount(); ++i) {
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
        aquarium.SetInterior(STONE | BLUE_GRASS | CHEST | RED_CORAL);
        aquarium.PutFish(kinds[i % 5], false);
        CFish& fish = aquarium.GetFish();
        fish.type.wishCountdown = 1.0e9f;
        fish.bubble.SetRequest(ITEM_FOOD_1, 1.0e6f, aquarium.GetPosition().x,
                               aquarium.GetPosition().y);
    }
    for (int i = 0; i < 6; ++i) {
        g_orderList.AddOrder(kinds[i % 5], 1, 0.0f, false);
    }
    g_orderList.HoldTimers(true);
    const Vec2 scale = resources.GetScale();
    InputState input;
    // The cards slide into their slots before the measure.
    for (int i = 0; i < 600; ++i) {
        g_orderList.Update(input, scale, 1.0f / 60.0f, 0.0f);
    }
    for (auto _ : state) {
        BenchClock().Advance(1.0 / 60.0);
        g_pet.Update(input, scale, 1.0f / 60.0f);
        g_aquariumSet.Update(input, scale, 1.0f / 60.0f);
        g_orderList.Update(input, scale, 1.0f / 60.0f, 0.0f);
        DrawOneFrame(device, [&] {
            g_location.Render(device, scale, false);
            g_aquariumSet.RenderByDepth(device, scale, 500.0f, false);
            g_aquariumSet.RenderOverlaysByDepth(device, scale, 500.0f, false);
            g_pet.RenderByDepth(device, scale, 500.0f, false);
            g_pet.RenderByDepth(device, scale, 500.0f, true);
            g_aquariumSet.RenderByDepth(device, scale, 500.0f, true);
            g_aquariumSet.RenderOverlaysByDepth(device, scale, 500.0f, true);
            g_orderList.Render(device, input, scale);
        });
    }
    state.counters["cards"] = static_cast<double>(g_orderList.CountActive());
    state.counters["aquariums"] = static_cast<double>(g_aquariumSet.GetCount());
    g_orderList.Clear();
    g_aquariumSet.Clear();
}
BENCHMARK(BM_ShopFloorFrame)->Unit(benchmark::kMicrosecond);

// The game started with a new game's player, so that the name entry stays
// shut, and run until its loading screen has faded out to the menu; null (the
// benchmark skipped) when it did not get there.
std::unique_ptr<CBenchApp> StartGameInMenu(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGame();
    if (app == nullptr) {
        state.SkipWithError("the game did not start");
        return app;
    }
    g_gameSession.AddProfile(u"Ann");
    if (!g_gameSession.SelectProfile(u"Ann")) {
        state.SkipWithError("no player");
        app.reset();
        return app;
    }
    // A new game's player, whatever an earlier benchmark made of her.
    g_gameSession.GetCurrentProfile()->Reset();
    g_gameSession.CloseNameEntry();
    g_gameSession.SetNoProfilesAtStart(false);
    for (int frame = 0; frame < 20 && g_gameSession.GetGameMode() != MODE_MENU; ++frame) {
        BenchClock().Advance(0.25);
        app->RenderFrame();
    }
    if (g_gameSession.GetGameMode() != MODE_MENU) {
        state.SkipWithError("the game did not reach its menu");
        app.reset();
    }
    return app;
}

// One frame of the menu on the high-score page, as the game runs it: the
// backdrop with its panel, the page's items and the table of the placeholder
// rows, updated and drawn.
void BM_MenuFrameWithHighScores(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGameInMenu(state);
    if (app == nullptr) {
        return;
    }
    g_menu.GoToRoot();
    g_menu.OpenSubmenu("MAIN_4");
    app->SendMessage(WM_COMMAND, COMMAND_SHOW_HIGH_SCORES, 0);
    if (!g_highScores.IsVisible() || g_highScores.GetRows().empty()) {
        state.SkipWithError("no high-score table to draw");
        return;
    }
    for (auto _ : state) {
        BenchClock().Advance(1.0 / 60.0);
        benchmark::DoNotOptimize(app->RenderFrame());
    }
    if (g_menu.GetCurrentId() != "MAIN_4") {
        state.SkipWithError("the menu left the high-score page");
    }
    ReportReplay(state, CompareWithReplay(app->GetDevice(), [&] { app->OnRender(); }));
}
BENCHMARK(BM_MenuFrameWithHighScores)->Unit(benchmark::kMicrosecond);

// One frame of play drawn by the scene: the first story level's room with
// its devices, the heroine and the pet, then the HUD over them.
void BM_PlayFrameWithHud(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGameInMenu(state);
    if (app == nullptr) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    backend::IRenderDevice* device = app->GetDevice();
    resources.LoadImages(device, CoverageBit(1));
    g_scene.Init();
    g_scene.ResetForLevel(1, 0, 2, 2, 0, 0, 2);
    g_gameSession.GetCurrentProfile()->storyLevel = 1;
    CLevelRecord& level = g_gameSession.GetLevel();
    level.bonus = false;
    level.need = 90;
    level.expert = 190;
    g_gameSession.SetTotalTime(240.0f);
    g_gameSession.SetTimeLeft(200.0f);
    g_gameSession.SetGameMode(MODE_GAME);
    const Vec2 scale = resources.GetScale();
    InputState input;
    input.cursorX = 500.0f;
    input.cursorY = 400.0f;
    for (auto _ : state) {
        DrawOneFrame(device,
                     [&] { benchmark::DoNotOptimize(g_scene.Render(device, input, scale)); });
    }
    ReportReplay(state, CompareWithReplay(device, [&] { g_scene.Render(device, input, scale); }));
}
BENCHMARK(BM_PlayFrameWithHud)->Unit(benchmark::kMicrosecond);

// The last story level started as the game starts a saved game, with every
// upgrade bought: the third location's pictures come through the loading
// screen, which also releases what the level does not draw. Run until the
// briefing shows, then closed as its OK closes it; null (the benchmark
// skipped) when the level did not start so.
std::unique_ptr<CBenchApp> StartLastStoryLevel(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGameInMenu(state);
    if (app == nullptr) {
        return app;
    }
    const std::int32_t lastStoryLevel = 56;
    CProfile& profile = *g_gameSession.GetCurrentProfile();
    profile.levelIndex = lastStoryLevel;
    profile.storyLevel = 45;
    if (!g_gameSession.StartGame(false, true) || g_gameSession.GetLevel().location != 3) {
        state.SkipWithError("no last story level in the third location");
        app.reset();
        return app;
    }
    for (int frame = 0; frame < 1200 && !g_gameSession.HasModeBits(MODE_BRIEFING); ++frame) {
        BenchClock().Advance(1.0 / 60.0);
        app->RenderFrame();
    }
    g_gameSession.ClearModeBits(MODE_BRIEFING | MODE_PAUSED);
    if (ResourceManager::Instance().GetCurrentGroup() !=
            static_cast<std::int32_t>(CoverageBit(3)) ||
        g_gameSession.GetGameMode() != MODE_GAME || g_aquariumSet.GetCount() < 5 ||
        g_heroine.GetFootwearLevel() != 3) {
        state.SkipWithError("the level did not start fully upgraded with five aquariums");
        app.reset();
    }
    return app;
}

// The busiest frame of a story level, as the game runs it: the last story
// level, its briefing closed; five furnished aquariums whose fish wait with
// wishes, six order cards, the heroine walking with two tasks and eight
// popups over the HUD, the panel, the machine, the pet and the cursor. Timed
// through RenderFrame; the counters split one frame into its update, drawing
// and present, and compare the drawing with the replay of its renderer calls.
void BM_BusyLevelFrame(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartLastStoryLevel(state);
    if (app == nullptr) {
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    backend::IRenderDevice* device = app->GetDevice();
    g_orderList.Clear();
    g_heroine.Reset(3, true);

    const std::int32_t kinds[] = {SHARK_1, SHARK_2, SAW_FISH, JELLY_FISH_2, CRAB, CRAMP_FISH};
    const std::uint32_t wishes[] = {ITEM_FOOD_1, STONE | BLUE_GRASS, WISH_LAMP_ON,
                                    ROCK | RED_GRASS | CHEST | RED_CORAL, ITEM_BRUSH_1};
    for (std::int32_t i = 0; i < 5; ++i) {
        CAquarium& aquarium = *g_aquariumSet.GetAquarium(i);
        aquarium.SetInterior(STONE | BLUE_GRASS | CHEST | RED_CORAL);
        aquarium.PutFish(kinds[i], false);
        CFish& fish = aquarium.GetFish();
        fish.stage = 2;
        fish.type.wishCountdown = 1.0e9f;
        fish.bubble.SetRequest(wishes[i], 1.0e6f, aquarium.GetPosition().x,
                               aquarium.GetPosition().y);
    }
    for (const std::int32_t kind : kinds) {
        g_orderList.AddOrder(kind, 1, 0.0f, false);
    }
    g_orderList.HoldTimers(true);
    g_gameSession.SetTimeLeft(1.0e6f);
    const Vec2 scale = resources.GetScale();
    // She walks from the top of the room to the first aquarium and on to the
    // last; sent off again whenever she has arrived.
    const auto sendHeroine = [&] {
        g_heroine.Reset(3, false);
        for (const std::int32_t index : {0, 4}) {
            const CAquarium& aquarium = *g_aquariumSet.GetAquarium(index);
            g_heroine.Enqueue(
                {aquarium.stationPoint, aquarium.bodyTagPoint, 0.0f, ITEM_AQUARIUM, index}, scale);
        }
    };
    const auto addPopups = [] {
        for (int i = 0; i < 8; ++i) {
            PopupTexts::Instance().Add(
                1, u"+" + std::u16string(1, static_cast<char16_t>(u'1' + i)) + u"00", 0,
                0xFF30FF30u, 120.0f + 100.0f * static_cast<float>(i),
                300.0f + 20.0f * static_cast<float>(i % 3), 1.0f, 0.0f, -1.0f, 1.0f, 1.0e6f, 0.0f,
                -1);
        }
    };
    sendHeroine();
    addPopups();
    // The cards slide into their slots and the popups settle.
    for (int frame = 0; frame < 120; ++frame) {
        BenchClock().Advance(1.0 / 60.0);
        app->RenderFrame();
    }
    for (auto _ : state) {
        if (g_heroine.GetTasks().size() < 2) {
            state.PauseTiming();
            sendHeroine();
            state.ResumeTiming();
        }
        BenchClock().Advance(1.0 / 60.0);
        benchmark::DoNotOptimize(app->RenderFrame());
    }

    // One frame in its parts, the median of each over the same frames.
    using Clock = std::chrono::steady_clock;
    const auto since = [](Clock::time_point start, Clock::time_point end) {
        return std::chrono::duration<double, std::micro>(end - start).count();
    };
    std::vector<double> updating;
    std::vector<double> presenting;
    for (int frame = 0; frame < 201; ++frame) {
        if (g_heroine.GetTasks().size() < 2) {
            sendHeroine();
        }
        BenchClock().Advance(1.0 / 60.0);
        const Clock::time_point start = Clock::now();
        app->OnUpdate();
        const Clock::time_point updated = Clock::now();
        app->OnRender();
        const Clock::time_point drawn = Clock::now();
        device->Present();
        presenting.push_back(since(drawn, Clock::now()));
        updating.push_back(since(start, updated));
    }
    state.counters["update_us"] = MedianMicroseconds(updating);
    state.counters["present_us"] = MedianMicroseconds(presenting);
    state.counters["tasks"] = static_cast<double>(g_heroine.GetTasks().size());
    state.counters["popups"] = static_cast<double>(PopupTexts::Instance().GetTexts().size());
    state.counters["cards"] = static_cast<double>(g_orderList.CountActive());
    ReportReplay(state, CompareWithReplay(device, [&] { app->OnRender(); }));
    // What the process holds while the busiest level is played.
    state.counters["rss_MB"] = static_cast<double>(ResidentBytes()) / (1024.0 * 1024.0);
    ClearWorld();
}
BENCHMARK(BM_BusyLevelFrame)->Unit(benchmark::kMicrosecond);

// What the last story level holds, headless: SDL's software renderer keeps
// every texture as 32-bit pixels in the process's own memory. The level is
// played for half a minute as it comes, its orders arriving. The counters are
// the rows of docs/memory.md. Run it alone (--benchmark_filter=LevelMemory):
// the process then holds what the game holds.
void BM_LevelMemory(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartLastStoryLevel(state);
    if (app == nullptr) {
        return;
    }
    for (auto _ : state) {
        for (int frame = 0; frame < 30 * 60; ++frame) {
            BenchClock().Advance(1.0 / 60.0);
            app->RenderFrame();
        }
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    state.counters["rss_MB"] = static_cast<double>(ResidentBytes()) / kMiB;
    // Resident pages of the heap and other private memory, and those read
    // from files: the program and its libraries.
    state.counters["rss_anonymous_MB"] = static_cast<double>(StatusBytes("RssAnon")) / kMiB;
    state.counters["rss_files_MB"] = static_cast<double>(StatusBytes("RssFile")) / kMiB;
    CResourceManager& resources = ResourceManager::Instance();
    const CoverageMask location = CoverageBit(3);
    double kept = 0.0;
    double level = 0.0;
    double other = 0.0;
    for (const ImageRecord& image : resources.Images()) {
        if (image.texture == nullptr) {
            continue;
        }
        const double bytes = 4.0 * image.info.width * image.info.height;
        ((image.coverage & COVERAGE_MAIN) != 0 ? kept
         : (image.coverage & location) != 0    ? level
                                               : other) += bytes;
    }
    state.counters["textures_kept_MB"] = kept / kMiB;
    state.counters["textures_location_MB"] = level / kMiB;
    state.counters["textures_other_MB"] = other / kMiB;
    const struct mallinfo2 heap = mallinfo2();
    state.counters["heap_in_use_MB"] = static_cast<double>(heap.uordblks + heap.hblkhd) / kMiB;
    state.counters["heap_free_kept_MB"] = static_cast<double>(heap.fordblks) / kMiB;
    const std::int64_t beforeTrim = ResidentBytes();
    malloc_trim(0);
    state.counters["trimmed_MB"] = static_cast<double>(beforeTrim - ResidentBytes()) / kMiB;
    const std::int64_t beforeSounds = ResidentBytes();
    resources.GetSoundManager().Shutdown();
    malloc_trim(0);
    state.counters["sounds_MB"] = static_cast<double>(beforeSounds - ResidentBytes()) / kMiB;
    ClearWorld();
}
BENCHMARK(BM_LevelMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// The start-up read of a high_scores.sav far longer than the game ever writes:
// 100,000 rows, 4 MB.
void BM_LoadHugeHighScores(benchmark::State& state) {
    const std::string path = HtmlLog().GetUserFolder() + "huge_high_scores.sav";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string row(ScoreRecord::FILE_SIZE, '\x01');
        for (int i = 0; i < 100000; ++i) {
            out << row;
        }
    }
    CHighScores table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Load(path));
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadHugeHighScores)->Unit(benchmark::kMicrosecond);

// Headless whatever the caller's environment, with a per-user folder of our
// own so the player's settings and log stay untouched.
class CBenchEnvironment {
public:
    CBenchEnvironment() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        // No present waits for a refresh: the times are the work alone.
        setenv("SDL_RENDER_VSYNC", "0", 1);
        char pattern[] = "/tmp/corvalen-bench-XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            m_folder = pattern;
            setenv("XDG_DATA_HOME", (m_folder / "data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", m_folder.c_str(), 1);
        }
        std::error_code ignored;
        std::filesystem::current_path(CORVALEN_SOURCE_DIR, ignored);
        backend::SetClock(&BenchClock());
    }
    ~CBenchEnvironment() {
        backend::SetClock(nullptr);
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }

private:
    std::filesystem::path m_folder;
};

}  // namespace

int main(int argc, char** argv) {
    const CBenchEnvironment environment;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

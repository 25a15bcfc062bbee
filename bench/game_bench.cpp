// Speed and memory of the engine's busiest paths, on the headless backend
// (SDL's dummy drivers and the software renderer) with the shipped data.
// Run from anywhere: ./build/corvalen_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
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
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "engine/platform/input_devices.h"
#include "frontend/high_scores.h"
#include "frontend/menu.h"
#include "game/game_app.h"
#include "game/game_session.h"
#include "game/scene.h"
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

std::unique_ptr<CBenchApp> StartGame() {
    BenchClock().SetStep(0.25);
    auto app = std::make_unique<CBenchApp>();
    const bool created = Succeeded(app->Create());
    BenchClock().SetStep(0.0);
    if (!created) {
        app.reset();
    }
    return app;
}

std::int64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0;
    std::int64_t resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
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
}
BENCHMARK(BM_Sprites1000)->Unit(benchmark::kMillisecond);

// One frame of five aquariums' fish, each with a wish waiting in its bubble:
// their updates (wishes, growth, swimming) and their drawing with the
// bubbles, on the pictures of the first location.
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

// The game started with a player, so that the name entry stays shut, and
// run until its loading screen has faded out to the menu. The session
// outlives the game of an earlier run, which may have left another mode.
std::unique_ptr<CBenchApp> StartGameInMenu() {
    g_gameSession.SetGameMode(MODE_LOADING);
    std::unique_ptr<CBenchApp> app = StartGame();
    if (app == nullptr) {
        return app;
    }
    g_gameSession.AddProfile(u"Ann");
    g_gameSession.CloseNameEntry();
    g_gameSession.SetNoProfilesAtStart(false);
    for (int frame = 0; frame < 20 && g_gameSession.GetGameMode() != MODE_MENU; ++frame) {
        BenchClock().Advance(0.25);
        app->RenderFrame();
    }
    if (g_gameSession.GetGameMode() != MODE_MENU) {
        app.reset();
    }
    return app;
}

// One frame of the menu on the high-score page, as the game runs it: the
// backdrop with its panel, the page's items and the table of the placeholder
// rows, updated and drawn.
void BM_MenuFrameWithHighScores(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGameInMenu();
    if (app == nullptr) {
        state.SkipWithError("the game did not reach its menu");
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
}
BENCHMARK(BM_MenuFrameWithHighScores)->Unit(benchmark::kMicrosecond);

// One frame of play drawn by the scene: the first story level's room with
// its devices, the heroine and the pet, then the HUD over them.
void BM_PlayFrameWithHud(benchmark::State& state) {
    std::unique_ptr<CBenchApp> app = StartGameInMenu();
    if (app == nullptr) {
        state.SkipWithError("the game did not reach its menu");
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
}
BENCHMARK(BM_PlayFrameWithHud)->Unit(benchmark::kMicrosecond);

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

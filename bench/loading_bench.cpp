// Loading the picture groups through the game's own loader, each beside what
// plain SDL takes for the same files: IMG_Load and a texture made from the
// surface, with as many presented frames as the loading screen shows. The
// ratio of the two is the loader's own overhead. Headless (SDL's dummy
// drivers and the software renderer), vsync off, the shipped data.
// Run from anywhere: ./build/corvalen_loading_bench
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/backend/clock.h"
#include "engine/backend/video.h"
#include "engine/media/resource_manager.h"

namespace {

// Moves on by a quarter second at every read, so that the splash pictures at
// start pass in a few frames.
class CSteppingClock : public backend::IClock {
public:
    double Seconds() override { return m_now += 0.25; }
    std::uint64_t Milliseconds() override { return static_cast<std::uint64_t>(Seconds() * 1000.0); }
    void Sleep(std::uint32_t milliseconds) override { m_now += milliseconds / 1000.0; }

private:
    double m_now = 1.0;
};

double MebiBytes(std::int64_t kibiBytes) {
    return static_cast<double>(kibiBytes) / 1024.0;
}

// The peak resident size since the last ResetPeakResident, in KiB.
std::int64_t PeakResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atoll(line.c_str() + 6);
        }
    }
    return 0;
}

void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor time: of this thread (CLOCK_THREAD_CPUTIME_ID), which on a busy
// machine says more about the loader than a wall time would, or of every
// thread of the process (CLOCK_PROCESS_CPUTIME_ID).
double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The game's window, device and resources as at the end of start-up, and a
// second window whose plain SDL renderer does the baseline's work.
class CLoadingRig {
public:
    CLoadingRig() {
        backend::Video().Init();
        backend::WindowDesc desc;
        desc.title = "loading bench";
        desc.clientWidth = 1024;
        desc.clientHeight = 768;
        m_window = backend::Video().CreateWindow(desc);
        if (m_window != nullptr) {
            m_device = m_window->CreateDevice();
        }
        if (m_device == nullptr) {
            return;
        }
        m_device->SetVSync(false);
        CSteppingClock clock;
        backend::SetClock(&clock);
        ResourceManager::Instance().Initialize(m_window.get(), m_device.get(), 1.0f, 1.0f, 0.0f,
                                               0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
        backend::SetClock(nullptr);
        m_device->SetVSync(false);

        m_baselineWindow = SDL_CreateWindow("baseline", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN);
        m_baseline = SDL_CreateRenderer(m_baselineWindow, -1, SDL_RENDERER_SOFTWARE);
        SDL_RenderSetVSync(m_baseline, 0);
        // The loading screen's picture, drawn in every baseline frame as the
        // game draws its own.
        const std::int32_t screen =
            ResourceManager::Instance().GetIndex(RESOURCE_IMAGE, "INTRO_SCREEN");
        if (screen >= 0) {
            m_backdrop = LoadTexture(
                ResourceManager::Instance().Images()[static_cast<std::size_t>(screen)].path);
        }
    }

    ~CLoadingRig() {
        ResourceManager::Instance().Release();
        SDL_DestroyTexture(m_backdrop);
        SDL_DestroyRenderer(m_baseline);
        SDL_DestroyWindow(m_baselineWindow);
    }

    bool Ready() const { return m_device != nullptr && m_baseline != nullptr; }
    backend::IRenderDevice* Device() const { return m_device.get(); }

    SDL_Texture* LoadTexture(const std::string& path) {
        SDL_Surface* surface = IMG_Load(path.c_str());
        if (surface == nullptr) {
            return nullptr;
        }
        SDL_Texture* texture = SDL_CreateTextureFromSurface(m_baseline, surface);
        SDL_FreeSurface(surface);
        return texture;
    }

    void PresentFrame() {
        SDL_RenderClear(m_baseline);
        SDL_RenderCopy(m_baseline, m_backdrop, nullptr, nullptr);
        SDL_RenderPresent(m_baseline);
    }

    // The same files through plain SDL, a frame after every picture that
    // the loading screen counts; the textures are freed afterwards.
    void LoadBaseline(const std::vector<std::string>& paths, const std::vector<bool>& framed) {
        std::vector<SDL_Texture*> textures;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            textures.push_back(LoadTexture(paths[i]));
            if (framed[i]) {
                PresentFrame();
            }
        }
        for (SDL_Texture* texture : textures) {
            SDL_DestroyTexture(texture);
        }
    }

private:
    std::unique_ptr<backend::IWindow> m_window;
    std::unique_ptr<backend::IRenderDevice> m_device;
    SDL_Window* m_baselineWindow = nullptr;
    SDL_Renderer* m_baseline = nullptr;
    SDL_Texture* m_backdrop = nullptr;
};

CLoadingRig& Rig() {
    static CLoadingRig rig;
    return rig;
}

// One group as the game switches to it: the group's textures released, then
// loaded again with a loading-screen frame per picture. Groups: 2 the intro
// pictures (no frames), 5 the start-up media (kept pictures and the menu's),
// 8, 16 and 32 the three locations, 64 the bonus level.
void BM_LoadGroupAgainstPlainSdl(benchmark::State& state) {
    CLoadingRig& rig = Rig();
    if (!rig.Ready()) {
        state.SkipWithError("no window or renderer");
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    const auto group = static_cast<CoverageMask>(state.range(0));
    std::vector<std::string> paths;
    std::vector<bool> framed;
    for (const ImageRecord& image : resources.Images()) {
        if ((image.coverage & group) != 0) {
            paths.push_back(image.path);
            framed.push_back((image.coverage & COVERAGE_INTRO) == 0);
        }
    }
    double gameSeconds = 0.0;
    double baselineSeconds = 0.0;
    double baselineWall = 0.0;
    std::int64_t gamePeak = 0;
    std::int64_t baselinePeak = 0;
    // A location's pictures replace those of any other location, as in the game.
    const CoverageMask released = (group & (COVERAGE_MAIN | COVERAGE_INTRO)) != 0 ? group : 0;
    for (auto _ : state) {
        resources.UnloadImagesByGroup(released);
        ResetPeakResident();
        auto start = std::chrono::steady_clock::now();
        double cpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        rig.LoadBaseline(paths, framed);
        const double baseline = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
        baselineWall += SecondsSince(start);
        baselinePeak = std::max(baselinePeak, PeakResidentKiB());

        ResetPeakResident();
        start = std::chrono::steady_clock::now();
        cpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        resources.CountByGroup(group);
        benchmark::DoNotOptimize(resources.LoadImages(rig.Device(), group));
        const double game = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
        state.SetIterationTime(SecondsSince(start));
        gamePeak = std::max(gamePeak, PeakResidentKiB());

        gameSeconds += game;
        baselineSeconds += baseline;
    }
    state.counters["pictures"] = static_cast<double>(paths.size());
    const auto perIteration = [&state](double seconds) {
        return 1000.0 * seconds / static_cast<double>(state.iterations());
    };
    state.counters["cpu_ms"] = perIteration(gameSeconds);
    state.counters["baseline_cpu_ms"] = perIteration(baselineSeconds);
    state.counters["baseline_wall_ms"] = perIteration(baselineWall);
    // Processor time of the game's loading over the baseline's.
    state.counters["ratio"] = baselineSeconds > 0.0 ? gameSeconds / baselineSeconds : 0.0;
    state.counters["peak_rss_MB"] = MebiBytes(gamePeak);
    state.counters["baseline_peak_rss_MB"] = MebiBytes(baselinePeak);
}
BENCHMARK(BM_LoadGroupAgainstPlainSdl)
    ->Arg(2)
    ->Arg(5)
    ->Arg(8)
    ->Arg(16)
    ->Arg(32)
    ->Arg(64)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The splash sequence as the game shows it at start, paced by vsync on the
// real clock: its share of one core is the processor time of the whole
// process (the audio thread too) over the wall time the sequence takes.
void BM_SplashShareOfACore(benchmark::State& state) {
    CLoadingRig& rig = Rig();
    if (!rig.Ready()) {
        state.SkipWithError("no window or renderer");
        return;
    }
    CResourceManager& resources = ResourceManager::Instance();
    resources.LoadImages(rig.Device(), COVERAGE_INTRO);
    rig.Device()->SetVSync(true);
    double wall = 0.0;
    double processor = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        resources.ShowSplashScreens(rig.Device());
        processor += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
        wall += SecondsSince(start);
    }
    rig.Device()->SetVSync(false);
    state.counters["wall_s"] = wall / static_cast<double>(state.iterations());
    state.counters["core_percent"] = wall > 0.0 ? 100.0 * processor / wall : 0.0;
}
BENCHMARK(BM_SplashShareOfACore)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    // The log and the player's folder go to a folder of the run's own.
    char pattern[] = "/tmp/corvalen-loading-bench-XXXXXX";
    const std::filesystem::path folder = mkdtemp(pattern) != nullptr ? pattern : "";
    if (!folder.empty()) {
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
    std::error_code ignored;
    std::filesystem::current_path(CORVALEN_SOURCE_DIR, ignored);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!folder.empty()) {
        std::filesystem::remove_all(folder, ignored);
    }
    return 0;
}

#pragma once
// Shared by the framework and game tests: private folders per test process, a
// working folder with data files, a clock the test moves by hand and an audio
// device that counts pauses.
#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "engine/backend/audio.h"
#include "engine/backend/clock.h"
#include "engine/framework/app_framework.h"

namespace app_test {

// Once per process, before anything logs: a data folder (log.html) and a
// runtime folder (the single-instance lock) of its own, so that test
// processes running side by side share neither. Removed at exit, after the
// log has written its last line.
inline const std::filesystem::path& PrivateFolder() {
    struct Folder {
        Folder() {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "corvalen-test-XXXXXX").string();
            if (mkdtemp(pattern.data()) != nullptr) {
                path = pattern;
                owned = true;
            } else {
                path = std::filesystem::temp_directory_path();
            }
            setenv("XDG_DATA_HOME", (path / "data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
        }
        ~Folder() {
            if (owned) {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
        }
        std::filesystem::path path;
        bool owned = false;
    };
    static const Folder folder;
    return folder.path;
}

// The pause counter outlives the application; the next test starts from zero.
inline void BalancePauses(CAppFramework& app) {
    while (CAppFramework::GetPauseCount() > 0) {
        app.Pause(false);
    }
    while (CAppFramework::GetPauseCount() < 0) {
        app.Pause(true);
    }
}

// The lock of the single-instance guard is held for the rest of the process,
// so every application a test process creates needs a name of its own.
inline std::string UniqueInstanceName() {
    static int counter = 0;
    return "CorvalenTest-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::size_t CountOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// A fresh working folder for the data files the game reads relative to it;
// the previous working folder comes back at the end of the scope.
class CScopedWorkingFolder {
public:
    CScopedWorkingFolder() : m_previous(std::filesystem::current_path()) {
        m_folder = PrivateFolder() / ("work-" + std::to_string(++Counter()));
        std::filesystem::create_directories(m_folder);
        std::filesystem::current_path(m_folder);
    }
    ~CScopedWorkingFolder() {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CScopedWorkingFolder(const CScopedWorkingFolder&) = delete;
    CScopedWorkingFolder& operator=(const CScopedWorkingFolder&) = delete;

    void WriteData(const std::string& name, const std::string& text) const {
        WriteFile(m_folder / "Resources" / "Data" / name, text);
    }
    const std::filesystem::path& Path() const { return m_folder; }

private:
    static int& Counter() {
        static int counter = 0;
        return counter;
    }
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

// Time stands still until the test moves it; while `step` is set, every read
// moves it on by that much, so that whatever waits on the clock gets through.
class CManualClock : public backend::IClock {
public:
    CManualClock() { backend::SetClock(this); }
    ~CManualClock() override { backend::SetClock(nullptr); }
    CManualClock(const CManualClock&) = delete;
    CManualClock& operator=(const CManualClock&) = delete;

    double Seconds() override {
        Advance(step);
        return static_cast<double>(m_microseconds) / 1e6;
    }
    std::uint64_t Milliseconds() override {
        Advance(step);
        return m_microseconds / 1000;
    }
    void Sleep(std::uint32_t milliseconds) override { Advance(milliseconds / 1000.0); }
    void Advance(double seconds) { m_microseconds += static_cast<std::uint64_t>(seconds * 1e6); }

    double step = 0.0;

private:
    std::uint64_t m_microseconds = 1000000;
};

// No sound at all; counts what the framework's pause asks of the output.
class CCountingAudio : public backend::IAudio {
public:
    CCountingAudio() { backend::SetAudio(this); }
    ~CCountingAudio() override { backend::SetAudio(nullptr); }
    CCountingAudio(const CCountingAudio&) = delete;
    CCountingAudio& operator=(const CCountingAudio&) = delete;

    bool Open(int) override { return false; }
    void Close() override {}
    bool IsOpen() const override { return false; }
    backend::AudioHandle LoadSample(const std::string&) override { return 0; }
    backend::AudioHandle SampleChannel(backend::AudioHandle) override { return 0; }
    backend::AudioHandle LoadStream(const std::string&) override { return 0; }
    backend::AudioHandle LoadMusic(const std::string&) override { return 0; }
    void Free(backend::AudioHandle) override {}
    bool Play(backend::AudioHandle, bool) override { return false; }
    bool Stop(backend::AudioHandle) override { return false; }
    bool Pause(backend::AudioHandle) override { return false; }
    backend::ChannelState State(backend::AudioHandle) override {
        return backend::ChannelState::Stopped;
    }
    double PositionSeconds(backend::AudioHandle) override { return 0.0; }
    bool SetLooping(backend::AudioHandle, bool) override { return false; }
    bool SetMusicOrder(backend::AudioHandle, int) override { return false; }
    void SetVolume(backend::AudioKind, int) override {}
    int Volume(backend::AudioKind) const override { return 0; }
    bool PauseOutput() override {
        ++pauses;
        return true;
    }
    bool ResumeOutput() override {
        ++resumes;
        return true;
    }

    int pauses = 0;
    int resumes = 0;
};

}  // namespace app_test

// The sound manager over the real audio backend, with SDL's disk driver
// writing what would reach the speakers into a file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/media/resource_manager.h"
#include "engine/media/sound_manager.h"
#include "media_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kOutputRate = 44100;

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A mono 16-bit WAVE file of a sine tone at half of full scale.
std::string SineWave(double frequency, double seconds) {
    const int rate = 22050;
    const auto count = static_cast<std::uint32_t>(rate * seconds);
    std::string data;
    for (std::uint32_t i = 0; i < count; ++i) {
        const double value = 0.5 * std::sin(2.0 * kPi * frequency * i / rate);
        PutLittleEndian(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(value * 32767)),
                        2);
    }
    std::string file = "RIFF";
    PutLittleEndian(file, 36 + static_cast<std::uint32_t>(data.size()), 4);
    file += "WAVEfmt ";
    PutLittleEndian(file, 16, 4);
    PutLittleEndian(file, 1, 2);  // PCM
    PutLittleEndian(file, 1, 2);  // mono
    PutLittleEndian(file, rate, 4);
    PutLittleEndian(file, rate * 2, 4);
    PutLittleEndian(file, 2, 2);
    PutLittleEndian(file, 16, 2);
    file += "data";
    PutLittleEndian(file, static_cast<std::uint32_t>(data.size()), 4);
    return file + data;
}

// The amplitude of one frequency in the left channel, from a single-bin
// Fourier sum over the whole output.
double Amplitude(const std::vector<std::int16_t>& stereo, double frequency) {
    double re = 0.0;
    double im = 0.0;
    const std::size_t frames = stereo.size() / 2;
    for (std::size_t i = 0; i < frames; ++i) {
        const double angle = 2.0 * kPi * frequency * static_cast<double>(i) / kOutputRate;
        re += stereo[2 * i] * std::cos(angle);
        im += stereo[2 * i] * std::sin(angle);
    }
    return frames == 0 ? 0.0 : 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(frames);
}

// Runs in a child process, so that the disk driver and the opened device
// touch nothing of the other tests. Returns the exit code.
int PlayIntoFile(const std::string& output) {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    CResourceManager& resources = ResourceManager::Instance();
    resources.Samples().clear();
    resources.Streams().clear();
    resources.Musics().clear();
    CSoundManager sound;
    if (!sound.Init()) {
        return 2;
    }
    SampleRecord sample;
    std::tie(sample.sample, sample.channel) = sound.LoadSample("beep.wav");
    resources.Samples().push_back(sample);
    StreamRecord stream;
    stream.stream = sound.LoadStream("tune.wav");
    resources.Streams().push_back(stream);
    // Loading reads no sound: what plays is the file as it is at play time.
    resource_test::WriteFile("tune.wav", SineWave(440.0, 2.0));
    if (sample.channel == 0 || stream.stream == 0) {
        return 3;
    }
    if (!sound.Play(SoundType::Stream, 0, true, false) ||
        !sound.Play(SoundType::Sample, 0, true, false)) {
        return 4;
    }
    ::usleep(300 * 1000);
    if (!sound.IsPlaying(SoundType::Stream, 0)) {
        return 5;
    }
    ::usleep(300 * 1000);
    sound.Shutdown();
    return 0;
}

class SoundDiskTest : public resource_test::ScratchFolderTest {};

TEST_F(SoundDiskTest, AStreamAndASampleReachTheOutput) {
    resource_test::WriteFile("tune.wav", SineWave(2500.0, 2.0));
    resource_test::WriteFile("beep.wav", SineWave(1000.0, 0.4));
    const std::string output = (m_folder / "output.raw").string();

    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::_exit(PlayIntoFile(output));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "2: no device, 3: no load, 4: no play, 5: stream ended";

    std::ifstream in(output, std::ios::binary);
    std::vector<std::int16_t> stereo;
    char bytes[2];
    while (in.read(bytes, 2)) {
        stereo.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[0]) |
                                                   (static_cast<std::uint8_t>(bytes[1]) << 8)));
    }
    // Raw 16-bit stereo at the rate the device was opened with.
    ASSERT_GT(stereo.size(), static_cast<std::size_t>(kOutputRate / 5) * 2);
    double sum = 0.0;
    for (std::int16_t value : stereo) {
        sum += static_cast<double>(value) * value;
    }
    EXPECT_GT(std::sqrt(sum / static_cast<double>(stereo.size())), 1000.0);
    // Both tones are there, well above 2500 Hz: the tone the stream's file
    // held when it loaded never plays.
    const double quiet = Amplitude(stereo, 2500.0);
    EXPECT_GT(Amplitude(stereo, 440.0), 10.0 * quiet + 500.0);
    EXPECT_GT(Amplitude(stereo, 1000.0), 10.0 * quiet + 500.0);
}

}  // namespace

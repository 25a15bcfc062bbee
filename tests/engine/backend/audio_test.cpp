// Sound on SDL's dummy audio driver, which consumes sound in real time: the
// positions the backend reports must follow the sound played, stand still
// while paused and jump with a music order change. The audio thread never
// plays ahead of the clock, but on a busy machine it may fall far behind it:
// positions are bounded above by the time passed, and what must come is
// waited for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "engine/backend/audio.h"

namespace {

using backend::AudioHandle;
using backend::AudioKind;
using backend::ChannelState;

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void PutBe16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

// A 44.1 kHz 16-bit stereo WAVE file; `value` gives both channels of a frame.
template <typename Value>
void WriteStereoWav(const std::string& path, std::uint32_t frames, Value value) {
    std::vector<std::uint8_t> wav;
    const char* riff = "RIFF";
    wav.insert(wav.end(), riff, riff + 4);
    PutLe(wav, 36 + frames * 4, 4);
    const char* header = "WAVEfmt ";
    wav.insert(wav.end(), header, header + 8);
    // Chunk size, PCM with 2 channels, rate, byte rate, frame bytes with 16 bits.
    for (const std::uint32_t field : {16u, 1u | (2u << 16), 44100u, 44100u * 4, 4u | (16u << 16)}) {
        PutLe(wav, field, 4);
    }
    const char* data = "data";
    wav.insert(wav.end(), data, data + 4);
    PutLe(wav, frames * 4, 4);
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(value(frame)));
        PutLe(wav, sample, 2);
        PutLe(wav, sample, 2);
    }
    WriteFile(path, wav);
}

// A tone of `seconds`; silence at amplitude 0.
void WriteToneWav(const std::string& path, double seconds, double amplitude = 8000.0) {
    WriteStereoWav(
        path, static_cast<std::uint32_t>(44100 * seconds),
        [amplitude](std::uint32_t frame) { return amplitude * std::sin(frame * 0.0627); });
}

// A four-channel module of two orders (patterns 0 and 1), each a note on a
// looped square wave. At the default speed (6 ticks, 125 BPM) a 64-row
// pattern lasts 7.68 s, so order 1 starts 7.68 s into the module.
void WriteTwoOrderModule(const std::string& path) {
    std::vector<std::uint8_t> mod(20, 0);  // title
    for (int sample = 0; sample < 31; ++sample) {
        mod.insert(mod.end(), 22, 0);         // name
        PutBe16(mod, sample == 0 ? 32 : 0);   // length in words
        mod.push_back(0);                     // finetune
        mod.push_back(sample == 0 ? 48 : 0);  // volume
        PutBe16(mod, 0);                      // loop start
        PutBe16(mod, sample == 0 ? 32 : 1);   // loop length
    }
    mod.push_back(2);    // song length
    mod.push_back(127);  // restart byte
    std::vector<std::uint8_t> orders(128, 0);
    orders[1] = 1;
    mod.insert(mod.end(), orders.begin(), orders.end());
    const char* tag = "M.K.";
    mod.insert(mod.end(), tag, tag + 4);
    for (int pattern = 0; pattern < 2; ++pattern) {
        std::vector<std::uint8_t> cells(64 * 4 * 4, 0);
        const std::uint32_t period = pattern == 0 ? 428 : 320;
        cells[0] = static_cast<std::uint8_t>(period >> 8);  // sample 1's high bits are 0
        cells[1] = static_cast<std::uint8_t>(period & 0xFF);
        cells[2] = 0x10;  // sample 1, no effect
        mod.insert(mod.end(), cells.begin(), cells.end());
    }
    for (int i = 0; i < 64; ++i) {
        mod.push_back(i < 32 ? 0x40 : 0xC0);
    }
    WriteFile(path, mod);
}

// Every frame holds its own number (1 to `frames`), so the output shows which
// frame played.
void WriteNumberedWav(const std::string& path, std::uint32_t frames) {
    WriteStereoWav(path, frames, [](std::uint32_t frame) { return frame + 1; });
}

// The left channel of what SDL's disk driver wrote.
std::vector<std::int16_t> ReadLeftChannel(const std::string& rawPath) {
    std::vector<std::int16_t> left;
    std::FILE* file = std::fopen(rawPath.c_str(), "rb");
    if (file == nullptr) {
        return left;
    }
    std::int16_t frame[2];
    while (std::fread(frame, sizeof(frame), 1, file) == 1) {
        left.push_back(frame[0]);
    }
    std::fclose(file);
    return left;
}

// Streams are Ogg Vorbis in the game; sox encodes them as the data tools do.
void WriteToneOgg(const std::string& path, double seconds, double amplitude = 8000.0) {
    const std::string wav = path + ".wav";
    WriteToneWav(wav, seconds, amplitude);
    const std::string command = "sox -D -V1 '" + wav + "' '" + path + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::remove(wav.c_str());
}

// Opens the device on SDL's disk driver, which writes the output to `rawPath`.
bool OpenIntoFile(backend::IAudio& audio, const std::string& rawPath) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", rawPath.c_str(), 1);
    const bool opened = audio.Open(44100);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return opened;
}

void SleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

using Clock = std::chrono::steady_clock;

// Seconds passed since `start`.
double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// How far a position may run ahead of the clock: the mixer's buffer and the
// output's own.
constexpr double AHEAD = 0.1;

// Whether `done` comes true within a deadline no busy machine reaches.
template <typename Done>
bool Eventually(Done done) {
    const Clock::time_point until = Clock::now() + std::chrono::seconds(30);
    while (!done()) {
        if (Clock::now() > until) {
            return false;
        }
        SleepMs(5);
    }
    return true;
}

// Whether the playing channel's position goes back to the start (it loops)
// while the channel plays on.
bool WrapsAround(backend::IAudio& audio, AudioHandle channel) {
    double last = audio.PositionSeconds(channel);
    const bool wrapped = Eventually([&] {
        const double now = audio.PositionSeconds(channel);
        const bool back = now < last;
        last = now;
        return back || audio.State(channel) != ChannelState::Playing;
    });
    return wrapped && audio.State(channel) == ChannelState::Playing;
}

class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = ::testing::TempDir() + "audio-" + std::to_string(getpid()) + "-";
        WriteToneWav(folder + "tone.wav", 1.0);
        WriteToneWav(folder + "short.wav", 0.25);
        WriteToneWav(folder + "long.wav", 3.0);
        WriteToneOgg(folder + "short.ogg", 0.25);
        WriteToneOgg(folder + "tone.ogg", 1.0);
        WriteToneOgg(folder + "long.ogg", 3.0);
        WriteFile(folder + "two.mod.txt", {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
        WriteTwoOrderModule(folder + "two.mod");
    }

    void SetUp() override { ASSERT_TRUE(audio().Open(44100)); }

    void TearDown() override {
        audio().SetVolume(AudioKind::Sample, 100);
        audio().Close();
        EXPECT_FALSE(audio().IsOpen());
    }

    static backend::IAudio& audio() { return backend::Audio(); }

    static void TearDownTestSuite() {
        for (const char* name : {"tone.wav", "short.wav", "long.wav", "two.mod", "two.mod.txt",
                                 "short.ogg", "tone.ogg", "long.ogg"}) {
            std::remove((folder + name).c_str());
        }
    }

    static inline std::string folder;
};

TEST_F(AudioTest, SampleChannelPositionAdvancesFreezesWhilePausedAndEnds) {
    const AudioHandle sample = audio().LoadSample(folder + "tone.wav");
    ASSERT_NE(sample, 0u);
    const AudioHandle channel = audio().SampleChannel(sample);
    ASSERT_NE(channel, 0u);
    EXPECT_EQ(audio().State(channel), ChannelState::Stopped);
    EXPECT_FALSE(audio().Play(sample, true)) << "a sample plays through its channels";

    const Clock::time_point started = Clock::now();
    ASSERT_TRUE(audio().Play(channel, true));
    EXPECT_EQ(audio().State(channel), ChannelState::Playing);
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(channel) > 0.1; }));
    EXPECT_LT(audio().PositionSeconds(channel), Since(started) + AHEAD);

    ASSERT_TRUE(audio().Pause(channel));
    EXPECT_EQ(audio().State(channel), ChannelState::Paused);
    const double paused = audio().PositionSeconds(channel);
    SleepMs(150);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(channel), paused);

    ASSERT_TRUE(audio().Play(channel, false));  // resumes
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(channel) > paused; }));

    const Clock::time_point restarted = Clock::now();
    ASSERT_TRUE(audio().Play(channel, true));  // from the beginning
    EXPECT_LT(audio().PositionSeconds(channel), Since(restarted) + 0.06);

    // The one-second tone ends by itself, and not before its time.
    EXPECT_TRUE(Eventually([&] { return audio().State(channel) == ChannelState::Stopped; }));
    EXPECT_GT(Since(restarted), 1.0 - AHEAD);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(channel), 0.0);
    audio().Free(sample);
    EXPECT_EQ(audio().State(channel), ChannelState::Stopped);
    EXPECT_FALSE(audio().Play(channel, true)) << "freed with its sample";
}

TEST_F(AudioTest, StoppedChannelCarriesOnWhereItStoppedUnlessRestarted) {
    const AudioHandle sample = audio().LoadSample(folder + "tone.wav");
    const AudioHandle channel = audio().SampleChannel(sample);
    ASSERT_TRUE(audio().Play(channel, true));
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(channel) > 0.2; }));
    ASSERT_TRUE(audio().Stop(channel));
    EXPECT_EQ(audio().State(channel), ChannelState::Stopped);
    const double stopped = audio().PositionSeconds(channel);
    EXPECT_GT(stopped, 0.15);

    ASSERT_TRUE(audio().Play(channel, false));
    EXPECT_GE(audio().PositionSeconds(channel), stopped - 0.001);
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(channel) > stopped; }));

    // Turning looping on in mid-play keeps the place.
    const double before = audio().PositionSeconds(channel);
    ASSERT_TRUE(audio().SetLooping(channel, true));
    EXPECT_GE(audio().PositionSeconds(channel), before);
    EXPECT_TRUE(WrapsAround(audio(), channel)) << "past the end of the tone";
    EXPECT_LT(audio().PositionSeconds(channel), 1.0);
}

TEST_F(AudioTest, OneStreamSoundsAtATimeAndEachKeepsItsPlace) {
    const AudioHandle first = audio().LoadStream(folder + "short.ogg");
    const AudioHandle second = audio().LoadStream(folder + "tone.ogg");
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_EQ(audio().LoadStream(folder + "missing.ogg"), 0u);
    EXPECT_EQ(audio().LoadStream(folder + "two.mod.txt"), 0u) << "not a sound file";
    EXPECT_EQ(audio().State(first), ChannelState::Stopped);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(first), 0.0);

    ASSERT_TRUE(audio().Play(first, true));
    EXPECT_TRUE(WrapsAround(audio(), first));
    EXPECT_TRUE(WrapsAround(audio(), first));
    EXPECT_LT(audio().PositionSeconds(first), 0.25);

    ASSERT_TRUE(audio().Play(second, true));
    EXPECT_EQ(audio().State(first), ChannelState::Stopped) << "gave up the output";
    const double firstKept = audio().PositionSeconds(first);
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(second) > 0.25; }));
    EXPECT_EQ(audio().State(second), ChannelState::Playing);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(first), firstKept);
    ASSERT_TRUE(audio().Pause(second));
    const double secondKept = audio().PositionSeconds(second);
    EXPECT_GT(secondKept, 0.2);

    ASSERT_TRUE(audio().Play(first, false));
    EXPECT_NEAR(audio().PositionSeconds(first), firstKept, 0.001);
    EXPECT_EQ(audio().State(second), ChannelState::Stopped);
    ASSERT_TRUE(audio().Play(second, false));
    EXPECT_NEAR(audio().PositionSeconds(second), secondKept, 0.001);

    // A stream that no longer loops ends at its end.
    ASSERT_TRUE(audio().SetLooping(second, false));
    EXPECT_EQ(audio().State(second), ChannelState::Playing);
    EXPECT_TRUE(Eventually([&] { return audio().State(second) == ChannelState::Stopped; }));
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(second), 0.0);

    audio().Free(first);
    EXPECT_FALSE(audio().Play(first, true)) << "freed";
}

// A channel's position, whatever its kind, follows the sound played. SDL's
// disk driver writes every mixed frame to a file (16-bit stereo), so the
// file's growth since the start is the time played however late a busy
// machine runs the audio thread; the file is read before and after the
// position to bracket it, and the output's file buffer may hold back a little.
TEST_F(AudioTest, ChannelPositionsFollowTheSoundPlayed) {
    audio().Close();
    const std::string rawPath = folder + "positions.raw";
    ASSERT_TRUE(OpenIntoFile(audio(), rawPath));
    const AudioHandle sample = audio().LoadSample(folder + "long.wav");
    const AudioHandle stream = audio().LoadStream(folder + "long.ogg");
    const AudioHandle music = audio().LoadMusic(folder + "two.mod");
    const struct {
        const char* kind;
        AudioHandle channel;
    } cases[] = {
        {"sample channel", audio().SampleChannel(sample)},
        {"stream", stream},
        {"music module", music},
    };
    const auto played = [&](std::uintmax_t start) {
        return static_cast<double>(std::filesystem::file_size(rawPath) - start) / (44100.0 * 4);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ASSERT_NE(c.channel, 0u);
        const std::uintmax_t start = std::filesystem::file_size(rawPath);
        const Clock::time_point started = Clock::now();
        ASSERT_TRUE(audio().Play(c.channel, true));
        double position = 0.0;
        for (int step = 0; step < 1000 && position < 1.0; ++step) {
            SleepMs(20);
            const double before = played(start);
            position = audio().PositionSeconds(c.channel);
            const double after = played(start);
            ASSERT_GE(position, before - AHEAD) << "step " << step;
            ASSERT_LE(position, after + AHEAD) << "step " << step;
            ASSERT_LT(position, Since(started) + AHEAD) << "step " << step;
        }
        EXPECT_GE(position, 1.0);
        ASSERT_TRUE(audio().Stop(c.channel));
    }
    audio().Close();
    std::remove(rawPath.c_str());
    ASSERT_TRUE(audio().Open(44100));
}

TEST_F(AudioTest, MusicJumpsToAnOrderOfTheModule) {
    EXPECT_EQ(audio().LoadMusic(folder + "tone.wav"), 0u) << "not a module";
    const AudioHandle music = audio().LoadMusic(folder + "two.mod");
    ASSERT_NE(music, 0u);
    const Clock::time_point started = Clock::now();
    ASSERT_TRUE(audio().Play(music, true));
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(music) > 0.05; }));
    EXPECT_EQ(audio().State(music), ChannelState::Playing);
    EXPECT_LT(audio().PositionSeconds(music), Since(started) + AHEAD);

    // The jump is taken at the module's next frame.
    ASSERT_TRUE(audio().SetMusicOrder(music, 1));
    double jumped = 0.0;
    EXPECT_TRUE(Eventually([&] {
        jumped = audio().PositionSeconds(music);
        return jumped > 7.6;
    }));
    EXPECT_LT(jumped, 8.5);
    EXPECT_FALSE(audio().SetMusicOrder(music, 2)) << "past the last order";

    ASSERT_TRUE(audio().Pause(music));
    EXPECT_EQ(audio().State(music), ChannelState::Paused);
    const double paused = audio().PositionSeconds(music);
    SleepMs(150);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(music), paused);

    ASSERT_TRUE(audio().Play(music, true));
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(music) < 1.0; }));
    ASSERT_TRUE(audio().Stop(music));
    EXPECT_EQ(audio().State(music), ChannelState::Stopped);
}

TEST_F(AudioTest, OutputPauseHoldsEverythingButKeepsChannelsPausedOnTheirOwn) {
    const AudioHandle sample = audio().LoadSample(folder + "tone.wav");
    const AudioHandle running = audio().SampleChannel(sample);
    const AudioHandle held = audio().SampleChannel(sample);
    const AudioHandle music = audio().LoadMusic(folder + "two.mod");
    const AudioHandle stream = audio().LoadStream(folder + "long.ogg");
    ASSERT_NE(held, running);
    ASSERT_TRUE(audio().Play(running, true));
    ASSERT_TRUE(audio().Play(held, true));
    ASSERT_TRUE(audio().Play(music, true));
    ASSERT_TRUE(audio().Play(stream, true));
    SleepMs(100);
    ASSERT_TRUE(audio().Pause(held));

    ASSERT_TRUE(audio().PauseOutput());
    const double runningAt = audio().PositionSeconds(running);
    const double musicAt = audio().PositionSeconds(music);
    const double streamAt = audio().PositionSeconds(stream);
    SleepMs(150);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(running), runningAt);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(music), musicAt);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(stream), streamAt);
    EXPECT_EQ(audio().State(running), ChannelState::Playing);
    EXPECT_EQ(audio().State(stream), ChannelState::Playing);

    ASSERT_TRUE(audio().ResumeOutput());
    const double heldAt = audio().PositionSeconds(held);
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(running) > runningAt; }));
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(music) > musicAt; }));
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(stream) > streamAt; }));
    EXPECT_EQ(audio().State(held), ChannelState::Paused);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(held), heldAt);
}

TEST_F(AudioTest, StreamPlayedDuringAnOutputPauseStartsWithTheOutput) {
    const AudioHandle first = audio().LoadStream(folder + "long.ogg");
    const AudioHandle second = audio().LoadStream(folder + "tone.ogg");
    ASSERT_TRUE(audio().PauseOutput());
    ASSERT_TRUE(audio().Play(first, true));
    ASSERT_TRUE(audio().Play(second, true));
    EXPECT_EQ(audio().State(first), ChannelState::Stopped) << "one stream at a time";
    ASSERT_TRUE(audio().Play(first, true));
    EXPECT_EQ(audio().State(second), ChannelState::Stopped);
    SleepMs(100);
    EXPECT_EQ(audio().State(first), ChannelState::Playing);
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(first), 0.0);

    ASSERT_TRUE(audio().ResumeOutput());
    EXPECT_TRUE(Eventually([&] { return audio().PositionSeconds(first) > 0.1; }));
    EXPECT_DOUBLE_EQ(audio().PositionSeconds(second), 0.0);
}

TEST_F(AudioTest, VolumesAreKeptPerKindWithinRange) {
    audio().SetVolume(AudioKind::Sample, 150);
    audio().SetVolume(AudioKind::Stream, -5);
    audio().SetVolume(AudioKind::Music, 70);
    EXPECT_EQ(audio().Volume(AudioKind::Sample), 100);
    EXPECT_EQ(audio().Volume(AudioKind::Stream), 0);
    EXPECT_EQ(audio().Volume(AudioKind::Music), 70);
    audio().SetVolume(AudioKind::Stream, 100);
    audio().SetVolume(AudioKind::Music, 100);
}

// The disk driver's device is closed however a test ends: a device left open
// would have the next test's sound written into this test's file.
class AudioOutputTest : public ::testing::Test {
protected:
    void TearDown() override { backend::Audio().Close(); }
};

// SDL's disk driver writes what the mixer outputs to a file (16-bit stereo),
// in real time like the dummy driver. A tone whose every frame holds its own
// number shows whether a resumed or re-looped channel plays the right bytes.
TEST_F(AudioOutputTest, ResumedAndLoopedChannelsContinueTheSoundSeamlessly) {
    const std::string base = ::testing::TempDir() + "disk-" + std::to_string(getpid());
    const std::string wavPath = base + ".wav";
    const std::string rawPath = base + ".raw";
    // Long enough that the channel still plays when looping is turned on, on
    // a machine too busy to wake the test in time.
    constexpr std::uint32_t kFrames = 11025;  // 0.25 s
    WriteNumberedWav(wavPath, kFrames);

    backend::IAudio& audio = backend::Audio();
    ASSERT_TRUE(OpenIntoFile(audio, rawPath));
    const AudioHandle sample = audio.LoadSample(wavPath);
    const AudioHandle channel = audio.SampleChannel(sample);
    ASSERT_NE(channel, 0u);
    ASSERT_TRUE(audio.Play(channel, true));
    SleepMs(50);
    ASSERT_TRUE(audio.Stop(channel));
    SleepMs(50);
    ASSERT_TRUE(audio.Play(channel, false));  // resumes in the middle
    SleepMs(20);
    ASSERT_TRUE(audio.SetLooping(channel, true));  // loops from the middle
    for (int turn = 0; turn < 4; ++turn) {
        ASSERT_TRUE(WrapsAround(audio, channel)) << "turn " << turn;
    }
    ASSERT_TRUE(audio.Pause(channel));
    SleepMs(50);
    ASSERT_TRUE(audio.Play(channel, false));
    SleepMs(150);
    audio.Close();

    const std::vector<std::int16_t> left = ReadLeftChannel(rawPath);
    std::remove(rawPath.c_str());
    std::remove(wavPath.c_str());

    // Every sounding frame follows the previous sounding one, across pauses,
    // the stop, the change of looping and each turn of the loop.
    int previous = 0;
    int sounding = 0;
    int wraps = 0;
    for (const std::int16_t value : left) {
        if (value == 0) {
            continue;
        }
        if (previous != 0) {
            const int expected = previous == static_cast<int>(kFrames) ? 1 : previous + 1;
            ASSERT_EQ(value, expected) << "after " << sounding << " sounding frames";
            wraps += expected == 1 ? 1 : 0;
        } else {
            EXPECT_EQ(value, 1) << "the first frame played";
        }
        previous = value;
        ++sounding;
    }
    EXPECT_GE(wraps, 3);
    EXPECT_GT(sounding, 44100 / 4);
}

// A stream is decoded from its file as it plays, not when it loads: a silent
// file replaced by a tone after the load sounds as the tone. Stopped, and with
// another stream sounding in between, it carries on where it stopped.
TEST_F(AudioOutputTest, StreamIsReadWhilePlayingAndResumesWhereItStopped) {
    const std::string base = ::testing::TempDir() + "stream-disk-" + std::to_string(getpid());
    const std::string tunePath = base + "-tune.ogg";
    const std::string otherPath = base + "-other.ogg";
    const std::string rawPath = base + ".raw";
    WriteToneOgg(tunePath, 2.0, 0.0);
    WriteToneOgg(otherPath, 2.0, 0.0);

    backend::IAudio& audio = backend::Audio();
    ASSERT_TRUE(OpenIntoFile(audio, rawPath));
    const AudioHandle tune = audio.LoadStream(tunePath);
    const AudioHandle other = audio.LoadStream(otherPath);
    ASSERT_NE(tune, 0u);
    ASSERT_NE(other, 0u);
    WriteToneOgg(tunePath, 2.0);
    audio.SetVolume(AudioKind::Stream, 100);

    ASSERT_TRUE(audio.Play(tune, true));
    EXPECT_TRUE(Eventually([&] { return audio.PositionSeconds(tune) > 0.25; }));
    ASSERT_TRUE(audio.Stop(tune));
    const double stopped = audio.PositionSeconds(tune);
    ASSERT_TRUE(audio.Play(other, true));
    SleepMs(200);
    ASSERT_TRUE(audio.Play(tune, false));
    EXPECT_EQ(audio.State(other), ChannelState::Stopped);
    const Clock::time_point resumedAt = Clock::now();
    const double resumed = audio.PositionSeconds(tune);
    EXPECT_TRUE(Eventually([&] { return audio.PositionSeconds(tune) > stopped + 0.2; }));
    const double later = audio.PositionSeconds(tune);
    const double passed = Since(resumedAt);
    audio.Close();

    EXPECT_GT(stopped, 0.2);
    EXPECT_NEAR(resumed, stopped, 0.03);
    EXPECT_LT(later, stopped + passed + AHEAD);
    const std::vector<std::int16_t> left = ReadLeftChannel(rawPath);
    std::remove(rawPath.c_str());
    std::remove(tunePath.c_str());
    std::remove(otherPath.c_str());
    double sum = 0.0;
    for (const std::int16_t value : left) {
        sum += static_cast<double>(value) * value;
    }
    ASSERT_FALSE(left.empty());
    EXPECT_GT(std::sqrt(sum / static_cast<double>(left.size())), 1000.0) << "the tone played";
}

TEST(AudioClosedTest, NothingLoadsOrPlaysWithoutADevice) {
    backend::IAudio& audio = backend::Audio();
    ASSERT_FALSE(audio.IsOpen());
    EXPECT_EQ(audio.LoadSample("anything.wav"), 0u);
    EXPECT_EQ(audio.LoadMusic("anything.mod"), 0u);
    EXPECT_FALSE(audio.Play(1, true));
    EXPECT_FALSE(audio.PauseOutput());
    EXPECT_EQ(audio.State(1), ChannelState::Stopped);
}

}  // namespace

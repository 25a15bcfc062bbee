#include "engine/media/sound_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/media/resource_manager.h"
#include "fake_audio.h"
#include "media_test_support.h"

namespace {

using backend::AudioKind;
using backend::ChannelState;
using media_test::CFakeAudio;
using media_test::LogHasInOrder;

CResourceManager& Resources() {
    return ResourceManager::Instance();
}

void ClearSoundLists() {
    Resources().Samples().clear();
    Resources().Streams().clear();
    Resources().Musics().clear();
}

// A fresh sound manager over a fake device, with sounds put into the resource
// lists the way the loading stages put them there.
class SoundManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSoundLists();
        HtmlLog().Start();
    }
    void TearDown() override { ClearSoundLists(); }

    void Load(int samples, int streams, int musics) {
        ASSERT_TRUE(sound.Init());
        for (int i = 0; i < samples; ++i) {
            SampleRecord record;
            record.path = "sample" + std::to_string(i) + ".wav";
            std::tie(record.sample, record.channel) = sound.LoadSample(record.path);
            Resources().Samples().push_back(record);
        }
        for (int i = 0; i < streams; ++i) {
            StreamRecord record;
            record.path = "stream" + std::to_string(i) + ".ogg";
            record.stream = sound.LoadStream(record.path);
            Resources().Streams().push_back(record);
        }
        for (int i = 0; i < musics; ++i) {
            MusicRecord record;
            record.path = "module" + std::to_string(i) + ".xm";
            record.music = sound.LoadMusic(record.path);
            Resources().Musics().push_back(record);
        }
        audio.calls.clear();
    }

    CFakeAudio::Channel& SampleChannel(int i) {
        return audio.channels[Resources().Samples()[i].channel];
    }
    CFakeAudio::Channel& Stream(int i) { return audio.channels[Resources().Streams()[i].stream]; }
    CFakeAudio::Channel& Module(int i) { return audio.channels[Resources().Musics()[i].music]; }
    std::string Handle(backend::AudioHandle handle) const { return std::to_string(handle); }

    CFakeAudio audio;
    CSoundManager sound;
};

TEST_F(SoundManagerTest, InitOpensTheDeviceAndAppliesTheStoredVolumes) {
    sound.SetStoredVolumes(60, 80);
    EXPECT_TRUE(sound.Init());
    EXPECT_EQ(audio.frequencyAsked, 44100);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 80);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 60);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], 60);
    EXPECT_TRUE(LogHasInOrder({{"Blue", "Initializing BASS:\n"}, {"Green", "Complete\n"}}));
}

TEST_F(SoundManagerTest, LoadsLogEachFileAndGiveEverySampleItsOwnChannel) {
    ASSERT_TRUE(sound.Init());
    audio.missingFiles = {"gone.wav", "gone.ogg", "gone.xm"};

    const auto sample = sound.LoadSample("hit.wav");
    EXPECT_NE(sample.first, 0u);
    EXPECT_NE(sample.second, 0u);
    EXPECT_NE(sample.first, sample.second);
    const backend::AudioHandle stream = sound.LoadStream("menu.ogg");
    const backend::AudioHandle music = sound.LoadMusic("tune.xm");
    EXPECT_TRUE(audio.channels[stream].looping);
    EXPECT_TRUE(audio.channels[music].looping);

    EXPECT_EQ(sound.LoadSample("gone.wav"), std::make_pair(0u, 0u));
    EXPECT_EQ(sound.LoadStream("gone.ogg"), 0u);
    EXPECT_EQ(sound.LoadMusic("gone.xm"), 0u);
    audio.failChannels = true;
    const auto noChannel = sound.LoadSample("lonely.wav");
    EXPECT_NE(noChannel.first, 0u);
    EXPECT_EQ(noChannel.second, 0u);

    EXPECT_TRUE(LogHasInOrder({
        {"Gray", "Loading sample: (hit.wav) complete"},
        {"Gray", "Loading stream: (menu.ogg) complete"},
        {"Gray", "Loading music: (tune.xm) complete"},
        {"Red", "Loading sample: (gone.wav) failed (code error: -1)"},
        {"Red", "Loading stream: (gone.ogg) failed (code error: -1)"},
        {"Red", "Loading music: (gone.xm) failed (code error: -1)"},
        {"Red", "Sample get channel: (lonely.wav) failed (code error: -1)"},
    }));
}

TEST_F(SoundManagerTest, ASampleIsNotRestartedWithinItsFirstInstant) {
    struct Case {
        const char* name;
        ChannelState state;
        double position;
        bool plays;
    };
    const Case cases[] = {
        {"playing at 0 s", ChannelState::Playing, 0.0, true},
        {"playing at 0.03 s", ChannelState::Playing, 0.03, false},
        {"playing at 0.05 s", ChannelState::Playing, 0.05, true},
        {"playing at 1 s", ChannelState::Playing, 1.0, true},
        {"stopped at 0.03 s", ChannelState::Stopped, 0.03, true},
        {"paused at 0.03 s", ChannelState::Paused, 0.03, true},
    };
    Load(1, 0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeAudio::Channel& channel = SampleChannel(0);
        channel.state = c.state;
        channel.position = c.position;
        channel.plays = 0;
        EXPECT_EQ(sound.Play(SoundType::Sample, 0, true, false), c.plays);
        EXPECT_EQ(channel.plays, c.plays ? 1 : 0);
        // Refused: nothing changes; played with restart: from the beginning.
        EXPECT_DOUBLE_EQ(channel.position, c.plays ? 0.0 : c.position);
    }
}

TEST_F(SoundManagerTest, SamplesOfDifferentNumbersPlayTogether) {
    Load(2, 0, 0);
    EXPECT_TRUE(sound.Play(SoundType::Sample, 0, true, false));
    audio.Advance(0.01);
    EXPECT_TRUE(sound.Play(SoundType::Sample, 1, true, false));
    EXPECT_TRUE(sound.IsPlaying(SoundType::Sample, 0));
    EXPECT_TRUE(sound.IsPlaying(SoundType::Sample, 1));
    EXPECT_EQ(sound.FindPlaying(SoundType::Sample), 0);
}

TEST_F(SoundManagerTest, OneStreamAndOneModuleAtATime) {
    Load(0, 2, 2);
    const std::string s0 = Handle(Resources().Streams()[0].stream);
    const std::string s1 = Handle(Resources().Streams()[1].stream);
    const std::string m0 = Handle(Resources().Musics()[0].music);
    const std::string m1 = Handle(Resources().Musics()[1].music);

    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    ASSERT_TRUE(sound.Play(SoundType::Music, 0, true, false));
    // A stream and a module do not stop each other.
    EXPECT_EQ(Stream(0).state, ChannelState::Playing);
    EXPECT_EQ(Module(0).state, ChannelState::Playing);

    audio.calls.clear();
    ASSERT_TRUE(sound.Play(SoundType::Stream, 1, true, false));
    EXPECT_EQ(audio.calls,
              (std::vector<std::string>{"stop " + s0, "stop " + s1, "play " + s1 + " restart"}));
    EXPECT_EQ(Stream(0).state, ChannelState::Stopped);
    EXPECT_EQ(Stream(1).state, ChannelState::Playing);
    EXPECT_EQ(Module(0).state, ChannelState::Playing);

    // The playing one is stopped too and started again with the caller's flag.
    audio.calls.clear();
    ASSERT_TRUE(sound.Play(SoundType::Stream, 1, false, false));
    EXPECT_EQ(audio.calls,
              (std::vector<std::string>{"stop " + s0, "stop " + s1, "play " + s1 + " resume"}));

    audio.calls.clear();
    ASSERT_TRUE(sound.Play(SoundType::Music, 1, true, false));
    EXPECT_EQ(audio.calls,
              (std::vector<std::string>{"stop " + m0, "stop " + m1, "play " + m1 + " restart"}));
    EXPECT_EQ(Stream(1).state, ChannelState::Playing);
    EXPECT_EQ(sound.FindPlaying(SoundType::Music), 1);
    EXPECT_EQ(sound.FindPlaying(SoundType::Stream), 1);
}

TEST_F(SoundManagerTest, AStreamResumesWhereItStopped) {
    Load(0, 1, 0);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    audio.Advance(2.5);
    EXPECT_TRUE(sound.Pause(SoundType::Stream, 0));
    audio.Advance(1.0);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, false, false));
    EXPECT_EQ(Stream(0).state, ChannelState::Playing);
    EXPECT_DOUBLE_EQ(Stream(0).position, 2.5);

    // The same after every stream was paused at once, and after a stop.
    audio.Advance(1.0);
    sound.PauseAll(SoundType::Stream, false);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, false, false));
    EXPECT_DOUBLE_EQ(Stream(0).position, 3.5);
    sound.StopAll(SoundType::Stream, false);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, false, false));
    EXPECT_DOUBLE_EQ(Stream(0).position, 3.5);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    EXPECT_DOUBLE_EQ(Stream(0).position, 0.0);
}

TEST_F(SoundManagerTest, SingleChannelCallsRefuseBadIndexesAndTypes) {
    Load(1, 1, 1);
    const auto other = static_cast<SoundType>(8);
    EXPECT_FALSE(sound.Play(SoundType::Sample, 1, true, false));
    EXPECT_FALSE(sound.Play(SoundType::Stream, 1, true, false));
    EXPECT_FALSE(sound.Play(SoundType::Music, 1, true, false));
    EXPECT_FALSE(sound.Play(other, 0, true, false));
    EXPECT_FALSE(sound.Pause(SoundType::Stream, 5));
    EXPECT_FALSE(sound.Stop(SoundType::Music, 5));
    EXPECT_FALSE(sound.IsPlaying(other, 0));
    EXPECT_EQ(sound.FindPlaying(other), -1);
    EXPECT_TRUE(audio.calls.empty());
}

TEST_F(SoundManagerTest, PauseOfAPausedOrStoppedChannelSucceedsQuietly) {
    Load(1, 0, 0);
    EXPECT_TRUE(sound.Pause(SoundType::Sample, 0));  // stopped
    ASSERT_TRUE(sound.Play(SoundType::Sample, 0, true, false));
    EXPECT_TRUE(sound.Pause(SoundType::Sample, 0));
    EXPECT_EQ(SampleChannel(0).state, ChannelState::Paused);
    EXPECT_TRUE(sound.Pause(SoundType::Sample, 0));
    EXPECT_FALSE(sound.IsPlaying(SoundType::Sample, 0));
    EXPECT_TRUE(sound.Stop(SoundType::Sample, 0));
    EXPECT_FALSE(media_test::LogContainsText("Couldn't"));

    // A sample whose load failed has no channel: the device refuses it.
    Resources().Samples().push_back(SampleRecord{});
    EXPECT_FALSE(sound.Pause(SoundType::Sample, 1));
    EXPECT_FALSE(sound.Stop(SoundType::Sample, 1));
    EXPECT_TRUE(LogHasInOrder({{"Red", "Couldn't pause stream 1 (error code: -1)"},
                               {"Red", "Couldn't stop stream 1 (error code: -1)"}}));
}

TEST_F(SoundManagerTest, StoppingTheOutputStopsEverySoundUnlikeAPause) {
    Load(1, 1, 0);
    ASSERT_TRUE(sound.Play(SoundType::Sample, 0, true, false));
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    EXPECT_TRUE(sound.PauseOutput());
    EXPECT_TRUE(sound.ResumeOutput());
    EXPECT_TRUE(sound.IsPlaying(SoundType::Stream, 0));

    EXPECT_TRUE(sound.StopOutput());
    EXPECT_TRUE(audio.outputPaused);
    EXPECT_TRUE(sound.ResumeOutput());
    EXPECT_FALSE(sound.IsPlaying(SoundType::Sample, 0));
    EXPECT_FALSE(sound.IsPlaying(SoundType::Stream, 0));
    EXPECT_EQ(sound.FindPlaying(SoundType::Stream), -1);
}

TEST_F(SoundManagerTest, AFailedPlayIsLogged) {
    Load(0, 2, 0);
    audio.failPlays = true;
    EXPECT_FALSE(sound.Play(SoundType::Stream, 1, true, true));
    EXPECT_TRUE(LogHasInOrder({{"Red", "Couldn't play stream 1 (error code: -1)"}}));
    // No fade starts for a sound that did not start.
    sound.Update(0.1f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 70);
}

TEST_F(SoundManagerTest, AFadeInRisesAtOneHundredPerSecondToTheStoredVolume) {
    Load(1, 1, 0);
    ASSERT_TRUE(sound.Play(SoundType::Sample, 0, true, true));
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, true));
    // The device volume changes only at the next update.
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 95);

    const struct {
        float dt;
        int sample;
        int music;
    } steps[] = {
        {0.25f, 25, 25}, {0.25f, 50, 50}, {0.25f, 75, 70}, {0.25f, 95, 70}, {0.5f, 95, 70}};
    for (const auto& step : steps) {
        sound.Update(step.dt);
        EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], step.sample);
        EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], step.music);
        EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], step.music);
        // The options and the settings file see the target, never the level.
        EXPECT_EQ(sound.GetVolume(SoundType::Sample), 95);
        EXPECT_EQ(sound.GetVolume(SoundType::Stream), 70);
    }
    // Both fades have ended: a new volume is not overwritten any more.
    sound.SetVolume(SoundType::Sample, 40);
    sound.Update(0.25f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 40);
}

TEST_F(SoundManagerTest, AFadeInToVolumeZeroEndsInTheFirstUpdate) {
    Load(1, 0, 0);
    sound.SetVolume(SoundType::Sample, 0);
    ASSERT_TRUE(sound.Play(SoundType::Sample, 0, true, true));
    sound.Update(0.001f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 0);
    sound.SetVolume(SoundType::Sample, 50);
    sound.Update(0.1f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 50);
}

TEST_F(SoundManagerTest, ANewVolumeDuringAFadeBecomesItsTarget) {
    Load(0, 1, 0);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, true));
    sound.Update(0.2f);
    sound.SetVolume(SoundType::Stream, 30);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 30);
    sound.Update(0.05f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 25);
    sound.Update(0.1f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 30);
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 30);
}

TEST_F(SoundManagerTest, AFadedOutGroupEndsPausedForSamplesAndStoppedForMusic) {
    Load(1, 1, 1);
    ASSERT_TRUE(sound.Play(SoundType::Sample, 0, true, false));
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    ASSERT_TRUE(sound.Play(SoundType::Music, 0, true, false));

    // Which call starts the fade does not matter: the group decides.
    sound.StopAll(SoundType::Sample, true);
    sound.PauseAll(SoundType::Stream | SoundType::Music, true);
    EXPECT_EQ(SampleChannel(0).state, ChannelState::Playing);

    sound.Update(0.5f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 45);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 20);
    EXPECT_EQ(Stream(0).state, ChannelState::Playing);

    sound.Update(0.25f);  // the music reaches 0 after 0.7 s
    EXPECT_EQ(Stream(0).state, ChannelState::Stopped);
    EXPECT_EQ(Module(0).state, ChannelState::Stopped);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 70);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], 70);
    EXPECT_EQ(SampleChannel(0).state, ChannelState::Playing);

    sound.Update(0.25f);  // the samples after 0.95 s
    EXPECT_EQ(SampleChannel(0).state, ChannelState::Paused);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 95);
}

TEST_F(SoundManagerTest, AMusicFadeOutStartsFromTheStreamVolumeThePlayerSet) {
    Load(0, 1, 0);
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    // The options change the stream volume alone; the module volume keeps
    // its value from the start.
    sound.SetVolume(SoundType::Stream, 30);
    ASSERT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], 70);
    sound.StopAll(SoundType::Stream | SoundType::Music, true);
    sound.Update(0.1f);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 20);
    sound.Update(0.2f);
    EXPECT_EQ(Stream(0).state, ChannelState::Stopped);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 30);
}

TEST_F(SoundManagerTest, VolumesAreClampedAndKeptThroughPauseStopAndShutdown) {
    Load(1, 1, 1);
    EXPECT_EQ(sound.GetVolume(SoundType::Sample), 95);
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 70);
    EXPECT_EQ(sound.GetVolume(SoundType::Music), 70);
    EXPECT_EQ(sound.GetVolume(static_cast<SoundType>(3)), -1);

    sound.SetVolume(SoundType::Sample, 150);
    EXPECT_EQ(sound.GetVolume(SoundType::Sample), 100);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 100);
    sound.SetVolume(SoundType::Stream, -20);
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 0);
    sound.SetVolume(SoundType::Sample, 40);
    sound.SetVolume(SoundType::Stream, 20);
    // Stream alone leaves the module volume of the device as it was.
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], 70);
    EXPECT_EQ(sound.GetVolume(SoundType::Music), 20);

    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    sound.PauseAll(SoundType::Sample | SoundType::Stream | SoundType::Music, false);
    sound.StopAll(SoundType::Sample | SoundType::Stream | SoundType::Music, false);
    EXPECT_TRUE(sound.PauseOutput());
    EXPECT_TRUE(audio.outputPaused);
    EXPECT_TRUE(sound.ResumeOutput());
    EXPECT_EQ(sound.GetVolume(SoundType::Sample), 40);
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 20);

    sound.Shutdown();
    EXPECT_FALSE(audio.open);
    EXPECT_EQ(sound.GetVolume(SoundType::Sample), 40);
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 20);
    // A new start gives the device the player's volumes again.
    audio.volumes[0] = audio.volumes[1] = audio.volumes[2] = 100;
    ASSERT_TRUE(sound.Init());
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Sample)], 40);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Stream)], 20);
    EXPECT_EQ(audio.volumes[static_cast<int>(AudioKind::Music)], 20);
}

TEST_F(SoundManagerTest, ShutdownFreesEverySoundAndLeavesTheManagerSilent) {
    Load(1, 1, 1);
    const backend::AudioHandle sample = Resources().Samples()[0].sample;
    const backend::AudioHandle stream = Resources().Streams()[0].stream;
    const backend::AudioHandle music = Resources().Musics()[0].music;
    ASSERT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
    sound.Shutdown();
    EXPECT_TRUE(audio.channels[sample].freed);
    EXPECT_TRUE(audio.channels[stream].freed);
    EXPECT_TRUE(audio.channels[music].freed);
    EXPECT_EQ(Resources().Samples()[0].channel, 0u);

    audio.calls.clear();
    EXPECT_FALSE(sound.Play(SoundType::Sample, 0, true, false));
    EXPECT_FALSE(sound.IsPlaying(SoundType::Stream, 0));
    EXPECT_EQ(sound.FindPlaying(SoundType::Stream), -1);
    EXPECT_FALSE(sound.ChangeTrack(0, -1));
    EXPECT_EQ(sound.LoadSample("late.wav"), std::make_pair(0u, 0u));
    EXPECT_TRUE(audio.calls.empty());
}

TEST_F(SoundManagerTest, WithoutADeviceTheGameRunsSilentAndKeepsItsVolumes) {
    sound.SetStoredVolumes(33, 44);
    audio.openSucceeds = false;
    EXPECT_FALSE(sound.Init());
    EXPECT_EQ(sound.GetVolume(SoundType::Stream), 33);
    EXPECT_EQ(sound.GetVolume(SoundType::Sample), 44);

    EXPECT_EQ(sound.LoadSample("hit.wav"), std::make_pair(0u, 0u));
    EXPECT_EQ(sound.LoadStream("menu.ogg"), 0u);
    EXPECT_EQ(sound.LoadMusic("tune.xm"), 0u);
    Resources().Samples().push_back(SampleRecord{});
    EXPECT_FALSE(sound.Play(SoundType::Sample, 0, true, false));
    EXPECT_FALSE(sound.Pause(SoundType::Sample, 0));
    EXPECT_FALSE(sound.Stop(SoundType::Sample, 0));
    EXPECT_EQ(sound.FindPlaying(SoundType::Sample), -1);
    EXPECT_TRUE(LogHasInOrder({
        {"Blue", "Initializing BASS:\n"},
        {"Red", "Initialization BASS is failed (error code: -1)"},
        {"Red", "Loading sample: (hit.wav) failed (BASS is not initialized)"},
        {"Red", "Loading stream: (menu.ogg) failed (BASS is not initialized)"},
        {"Red", "Loading music: (tune.xm) failed (BASS is not initialized)"},
    }));
}

TEST_F(SoundManagerTest, ChangeTrackJumpsToTheOrdersOfTheTrackList) {
    Load(0, 0, 2);
    // The order number is the low half of an entry.
    Resources().Musics()[0].trackList = {0x10004u, 7u, 9u};
    Resources().Musics()[1].trackList = {};

    EXPECT_FALSE(sound.ChangeTrack(-1, -1));  // no module plays
    ASSERT_TRUE(sound.Play(SoundType::Music, 0, true, false));
    std::vector<int> orders;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(sound.ChangeTrack(-1, -1));
        orders.push_back(Module(0).order);
    }
    EXPECT_EQ(orders, (std::vector<int>{7, 9, 4, 7}));

    EXPECT_TRUE(sound.ChangeTrack(0, 2));
    EXPECT_EQ(Module(0).order, 9);
    EXPECT_EQ(Resources().Musics()[0].currentTrack, 2);
    // Track 0 is reached only by wrapping; past the list is refused.
    EXPECT_FALSE(sound.ChangeTrack(0, 0));
    EXPECT_FALSE(sound.ChangeTrack(0, 3));
    EXPECT_FALSE(sound.ChangeTrack(0, -2));
    EXPECT_FALSE(sound.ChangeTrack(2, -1));
    EXPECT_FALSE(sound.ChangeTrack(1, -1));  // empty track list

    audio.failOrders = true;
    EXPECT_FALSE(sound.ChangeTrack(0, 1));
    EXPECT_TRUE(LogHasInOrder({{"Red", "Couldn't change track 0 (error code: -1)"}}));
}

}  // namespace

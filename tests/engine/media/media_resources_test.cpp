// The loading stages of sounds and animations, run by the resource manager's
// start-up over a resources.xml of the test's own.
#include <gtest/gtest.h>

#include "media_world.h"

namespace {

using media_test::LogHasInOrder;

class MediaResourcesTest : public media_test::MediaWorldTest {};

const char* const kResources = R"(<Resources type="main">
  <SetDefaults path="Media/"/>
  <Image id="FISH_SHEET" path="fish.png"/>
  <Sample id="S_HOVER" path="hover.wav"/>
  <Sample id="S_CLICK" path="click.wav" coverage="3"/>
  <Sample id="S_GONE" path="gone.wav"/>
  <Stream id="MENU_MUSIC" path="menu.ogg"/>
  <Music id="TUNE" path="tune.xm" track_list="0, 2 ,1"/>
  <Animation2D id="FISH_SWIM" path="fish.txt" image_id="FISH_SHEET" width="256" height="128"
               f_width="64" f_height="32"/>
  <Animation3D id="ARM" path="arm.xml"/>
</Resources>
)";

const char* const kFrames =
    "\"1;0;0.25;0.5;0;0.5;10;20\"\n"
    "\"2;0;0.5;0.75;0.5;1;12;6\"\n";

const char* const kArm = R"(<MaxAnimation>
  <SceneInfo ticksPerFrame="160"/>
  <Node name="root" parentNodeIndex="0" parentNode="">
    <Controller>
      <Samples>
        <P3Val t="0" v="0 0 0"/><RVal t="0" v="0 0 0 1"/>
        <P3Val t="160" v="1 0 0"/><RVal t="160" v="0 0 0 1"/>
      </Samples>
      <Keys><Key t="0"/><Key t="160"/></Keys>
    </Controller>
  </Node>
  <Node name="hand" parentNodeIndex="1" parentNode="root"/>
</MaxAnimation>
)";

TEST_F(MediaResourcesTest, StartUpLoadsSoundsAndAnimationsWithTheirLogLines) {
    resource_test::WriteFile("Media/fish.txt", kFrames);
    resource_test::WriteFile("Media/arm.xml", kArm);
    audio.missingFiles = {"Media/gone.wav"};
    Start(kResources);

    EXPECT_TRUE(LogHasInOrder({
        {"Blue", "Initializing BASS:\n"},
        {"Green", "Complete\n"},
        {"Blue", "Loading samples:\n"},
        {"Gray", "Loading sample: (Media/hover.wav) complete"},
        {"Gray", "Loading sample: (Media/click.wav) complete"},
        {"Red", "Loading sample: (Media/gone.wav) failed (code error: -1)"},
        {"Red", "Load is failed (1)"},
        {"Blue", "Loading streams:\n"},
        {"Gray", "Loading stream: (Media/menu.ogg) complete"},
        {"Green", "Load is completed (1)"},
        {"Blue", "Loading musics:\n"},
        {"Gray", "Loading music: (Media/tune.xm) complete"},
        {"Green", "Load is completed (1)"},
        {"Blue", "Loading 2D index animations:\n"},
        {"Gray", "Loading animation data (Media/fish.txt): complete (2)\n"},
        {"Green", "Load is completed (1)"},
        {"Blue", "Loading 3D animations:\n"},
        {"Gray", "Loading animation: (Media/arm.xml) complete"},
        {"Green", "Load is completed (1)"},
    }));

    const auto& samples = Resources().Samples();
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_NE(samples[0].channel, 0u);
    EXPECT_NE(samples[1].channel, 0u);
    EXPECT_EQ(samples[2].sample, 0u);
    EXPECT_EQ(samples[2].channel, 0u);
    ASSERT_EQ(Resources().Musics().size(), 1u);
    EXPECT_EQ(Resources().Musics()[0].trackList, (std::vector<std::uint32_t>{0, 2, 1}));

    const Animation2DRecord swim = Resources().GetAnimation2D("FISH_SWIM");
    ASSERT_EQ(swim.frames.size(), 2u);
    EXPECT_EQ(swim.frames[1].image, 0);
    EXPECT_EQ(swim.frames[1].left, 128);
    EXPECT_EQ(swim.frames[1].bottom, 128);
    EXPECT_EQ(swim.frames[1].mirroredHotSpotX, 64 - 12);
    const CAnimation3D arm = Resources().GetAnimation3D("ARM");
    ASSERT_EQ(arm.GetNodes().size(), 2u);
    EXPECT_EQ(arm.GetNodes()[0].keys.size(), 2u);
    EXPECT_EQ(arm.GetNodes()[1].parent, 0);

    // Sounds are played by their position among the elements of their kind.
    CSoundManager& sound = Resources().GetSoundManager();
    EXPECT_TRUE(sound.Play(SoundType::Sample, 1, true, false));
    EXPECT_EQ(audio.channels[samples[1].channel].state, backend::ChannelState::Playing);
    EXPECT_FALSE(sound.Play(SoundType::Sample, 3, true, false));
    EXPECT_TRUE(sound.Play(SoundType::Stream, 0, true, false));
}

TEST_F(MediaResourcesTest, ReleaseShutsTheSoundDown) {
    Start(kResources);
    const backend::AudioHandle stream = Resources().Streams()[0].stream;
    ASSERT_TRUE(audio.open);
    Resources().Release();
    EXPECT_FALSE(audio.open);
    EXPECT_TRUE(audio.channels[stream].freed);
    EXPECT_FALSE(Resources().GetSoundManager().Play(SoundType::Stream, 0, true, false));
    EXPECT_TRUE(LogHasInOrder({{"Green", "Resources is released (1,0,3,1,1,0,1,1)"}}));
}

}  // namespace

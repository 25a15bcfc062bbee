#pragma once
// Sound output: samples (each with playback channels of its own), streams and
// music modules, addressed by handles; 0 is never a valid handle. A stream is
// read from its file while it sounds, and one stream sounds at a time: playing
// a stream stops the one that sounded, which keeps its place. Modules and
// samples sound beside it.
#include <cstdint>
#include <string>

namespace backend {

using AudioHandle = std::uint32_t;

enum class AudioKind { Sample, Stream, Music };

enum class ChannelState { Stopped, Playing, Paused };

class IAudio {
public:
    virtual ~IAudio() = default;
    // Opens the output device at `frequency` Hz; false when none opens.
    virtual bool Open(int frequency) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Each returns 0 on failure. A sample's channel is made separately. A
    // stream's file is checked here but decoded only while it plays.
    virtual AudioHandle LoadSample(const std::string& path) = 0;
    virtual AudioHandle SampleChannel(AudioHandle sample) = 0;
    virtual AudioHandle LoadStream(const std::string& path) = 0;
    virtual AudioHandle LoadMusic(const std::string& path) = 0;
    virtual void Free(AudioHandle handle) = 0;

    // Channels: a sample channel, a stream or a music handle. Streams and music
    // start looping, sample channels do not. Play with restart starts from the
    // beginning; without it a paused or stopped channel carries on where it
    // was (one that ran to its end starts again). Stop keeps the position.
    // Pause and Stop answer true for any channel, whatever its state.
    virtual bool Play(AudioHandle channel, bool restart) = 0;
    virtual bool Stop(AudioHandle channel) = 0;
    virtual bool Pause(AudioHandle channel) = 0;
    virtual ChannelState State(AudioHandle channel) = 0;
    // -1 for a handle that is not a channel.
    virtual double PositionSeconds(AudioHandle channel) = 0;
    virtual bool SetLooping(AudioHandle channel, bool loop) = 0;
    // Music modules only: jump to an order of the module.
    virtual bool SetMusicOrder(AudioHandle music, int order) = 0;

    // Global volume per kind, 0..100 (other values are clamped); 100 at start.
    virtual void SetVolume(AudioKind kind, int volume) = 0;
    virtual int Volume(AudioKind kind) const = 0;

    // Pauses and resumes every output at once; a channel paused on its own
    // stays paused. False while no device is open.
    virtual bool PauseOutput() = 0;
    virtual bool ResumeOutput() = 0;
};

// The process audio. Tests install a fake with SetAudio and restore the real
// one with SetAudio(nullptr).
IAudio& Audio();
void SetAudio(IAudio* audio);

}  // namespace backend

#pragma once
// An audio device for tests: every handle is a channel whose state, position
// and flags the test reads and sets. It keeps the rules of the real backend:
// Play with restart starts from the beginning, without it a paused or stopped
// channel carries on where it was; Stop keeps the position; Pause and Stop
// answer true for any channel and false for a handle that is none.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/backend/audio.h"

namespace media_test {

class CFakeAudio : public backend::IAudio {
public:
    struct Channel {
        backend::AudioKind kind = backend::AudioKind::Sample;
        std::string path;
        backend::ChannelState state = backend::ChannelState::Stopped;
        double position = 0.0;
        bool looping = false;
        int order = -1;
        int plays = 0;
        bool freed = false;
    };

    CFakeAudio() { backend::SetAudio(this); }
    ~CFakeAudio() override { backend::SetAudio(nullptr); }

    bool Open(int frequency) override {
        frequencyAsked = frequency;
        open = openSucceeds;
        return open;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }

    backend::AudioHandle LoadSample(const std::string& path) override {
        return Make(backend::AudioKind::Sample, path);
    }
    backend::AudioHandle SampleChannel(backend::AudioHandle sample) override {
        if (failChannels || channels.count(sample) == 0) {
            return 0;
        }
        return Make(backend::AudioKind::Sample, channels[sample].path + "#channel");
    }
    backend::AudioHandle LoadStream(const std::string& path) override {
        return Make(backend::AudioKind::Stream, path);
    }
    backend::AudioHandle LoadMusic(const std::string& path) override {
        return Make(backend::AudioKind::Music, path);
    }
    void Free(backend::AudioHandle handle) override {
        if (channels.count(handle) != 0) {
            channels[handle].freed = true;
        }
    }

    bool Play(backend::AudioHandle channel, bool restart) override {
        calls.push_back("play " + std::to_string(channel) + (restart ? " restart" : " resume"));
        if (failPlays || channels.count(channel) == 0) {
            return false;
        }
        Channel& c = channels[channel];
        if (restart) {
            c.position = 0.0;
        }
        c.state = backend::ChannelState::Playing;
        ++c.plays;
        return true;
    }
    bool Stop(backend::AudioHandle channel) override {
        calls.push_back("stop " + std::to_string(channel));
        if (channels.count(channel) == 0) {
            return false;
        }
        channels[channel].state = backend::ChannelState::Stopped;
        return true;
    }
    bool Pause(backend::AudioHandle channel) override {
        calls.push_back("pause " + std::to_string(channel));
        if (channels.count(channel) == 0) {
            return false;
        }
        if (channels[channel].state == backend::ChannelState::Playing) {
            channels[channel].state = backend::ChannelState::Paused;
        }
        return true;
    }
    backend::ChannelState State(backend::AudioHandle channel) override {
        return channels.count(channel) != 0 ? channels[channel].state
                                            : backend::ChannelState::Stopped;
    }
    double PositionSeconds(backend::AudioHandle channel) override {
        return channels.count(channel) != 0 ? channels[channel].position : -1.0;
    }
    bool SetLooping(backend::AudioHandle channel, bool loop) override {
        if (channels.count(channel) == 0) {
            return false;
        }
        channels[channel].looping = loop;
        return true;
    }
    bool SetMusicOrder(backend::AudioHandle music, int order) override {
        if (failOrders || channels.count(music) == 0 ||
            channels[music].kind != backend::AudioKind::Music) {
            return false;
        }
        channels[music].order = order;
        return true;
    }

    void SetVolume(backend::AudioKind kind, int volume) override {
        volumes[static_cast<int>(kind)] = volume;
        volumeLog.push_back(volume);
    }
    int Volume(backend::AudioKind kind) const override { return volumes[static_cast<int>(kind)]; }

    bool PauseOutput() override {
        outputPaused = true;
        return open;
    }
    bool ResumeOutput() override {
        outputPaused = false;
        return open;
    }

    // Every playing channel moves on by `seconds`.
    void Advance(double seconds) {
        for (auto& [handle, channel] : channels) {
            if (channel.state == backend::ChannelState::Playing) {
                channel.position += seconds;
            }
        }
    }

    bool openSucceeds = true;
    bool open = false;
    int frequencyAsked = 0;
    std::set<std::string> missingFiles;
    bool failChannels = false;
    bool failPlays = false;
    bool failOrders = false;
    std::map<backend::AudioHandle, Channel> channels;
    int volumes[3] = {100, 100, 100};
    std::vector<int> volumeLog;
    bool outputPaused = false;
    std::vector<std::string> calls;

private:
    backend::AudioHandle Make(backend::AudioKind kind, const std::string& path) {
        if (!open || missingFiles.count(path) != 0) {
            return 0;
        }
        const backend::AudioHandle handle = m_next++;
        Channel channel;
        channel.kind = kind;
        channel.path = path;
        channels[handle] = channel;
        return handle;
    }

    backend::AudioHandle m_next = 1;
};

}  // namespace media_test

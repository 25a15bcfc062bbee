// Sound output over SDL2_mixer. Samples are decoded whole into mixer chunks,
// and every sample channel plays on a mixer channel of its own, so any number
// of them sound together. Streams are long tunes: the mixer's one music
// decodes the sounding stream from its file as it plays, so memory stays the
// same whatever a tune's length, and only one stream sounds at a time. Music
// modules are rendered by libxmp after the mixer's own mix, which gives the
// order jumps the music needs and lets a module sound beside a stream.
#include <SDL.h>
#include <SDL_mixer.h>
#include <xmp.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/backend/audio.h"

namespace backend {

namespace {

// One playback of a sample's chunk on one mixer channel.
struct SoundChannel {
    AudioHandle sample = 0;  // the owning sample
    Mix_Chunk* chunk = nullptr;
    int slot = -1;
    bool looping = false;
    ChannelState state = ChannelState::Stopped;
    // A mixer playback is under way on the slot (possibly paused there).
    bool active = false;
    bool mixPaused = false;
    // Where a stopped or not yet restarted channel carries on, in bytes.
    std::uint32_t keptBytes = 0;

    // Read by the counting effect on the audio thread; written only while the
    // slot is halted, so the mixer lock taken by Mix_PlayChannel orders them.
    std::uint32_t startBytes = 0;
    bool rotate = false;
    Mix_Chunk* view = nullptr;
    std::atomic<std::uint64_t> consumed{0};
};

// A tune read from its file while it sounds. Only the sounding stream has a
// decoder open; the others keep the place where they carry on.
struct StreamTrack {
    std::string path;
    bool looping = true;
    ChannelState state = ChannelState::Stopped;
    double keptSeconds = 0.0;
};

struct MusicModule {
    xmp_context context = nullptr;
    bool looping = true;
    ChannelState state = ChannelState::Stopped;
    bool ended = false;
};

int MixerVolume(int volume) {
    return volume * MIX_MAX_VOLUME / 100;
}

// Counts the bytes the mixer takes from a channel, which is an exact position
// that stands still while the channel is paused. A looping channel resumed in
// the middle plays the whole chunk from its start, so the effect hands the
// mixer the bytes from the resume point instead.
void SDLCALL CountBytes(int /*slot*/, void* stream, int length, void* data) {
    auto* channel = static_cast<SoundChannel*>(data);
    const std::uint64_t before = channel->consumed.fetch_add(static_cast<std::uint64_t>(length));
    if (!channel->rotate || channel->chunk->alen == 0) {
        return;
    }
    const std::uint32_t total = channel->chunk->alen;
    std::uint32_t from = static_cast<std::uint32_t>((channel->startBytes + before) % total);
    auto* out = static_cast<std::uint8_t*>(stream);
    auto left = static_cast<std::uint32_t>(length);
    while (left > 0) {
        const std::uint32_t count = std::min(left, total - from);
        std::memcpy(out, channel->chunk->abuf + from, count);
        out += count;
        left -= count;
        from = 0;
    }
}

class CSdlAudio : public IAudio {
public:
    bool Open(int frequency) override {
        if (m_open) {
            return true;
        }
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return false;
        }
        if (Mix_OpenAudio(frequency, AUDIO_S16SYS, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        Uint16 format = 0;
        Mix_QuerySpec(&m_rate, &format, &m_outputChannels);
        m_sixteenBit = format == AUDIO_S16SYS;
        m_frameBytes = static_cast<std::uint32_t>(SDL_AUDIO_BITSIZE(format) / 8 * m_outputChannels);
        m_slotUsed.assign(static_cast<std::size_t>(Mix_AllocateChannels(16)), false);
        m_outputPaused = false;
        Mix_SetPostMix(MixModules, this);
        m_open = true;
        return true;
    }

    void Close() override {
        if (!m_open) {
            return;
        }
        while (!m_channels.empty()) {
            Free(m_channels.begin()->first);
        }
        while (!m_streams.empty()) {
            Free(m_streams.begin()->first);
        }
        while (!m_samples.empty()) {
            Free(m_samples.begin()->first);
        }
        while (!m_music.empty()) {
            Free(m_music.begin()->first);
        }
        Mix_SetPostMix(nullptr, nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_slotUsed.clear();
        m_open = false;
    }

    bool IsOpen() const override { return m_open; }

    AudioHandle LoadSample(const std::string& path) override {
        if (!m_open) {
            return 0;
        }
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (chunk == nullptr) {
            return 0;
        }
        // The conversion to the output format leaves the sound in the buffer
        // it worked in, several times the sound's size and written all
        // through; the sound keeps only what it needs.
        if (chunk->allocated != 0 && chunk->alen > 0) {
            if (void* fitted = SDL_realloc(chunk->abuf, chunk->alen)) {
                chunk->abuf = static_cast<Uint8*>(fitted);
            }
        }
        const AudioHandle handle = NextHandle();
        m_samples[handle] = chunk;
        return handle;
    }

    AudioHandle SampleChannel(AudioHandle sample) override {
        const auto found = m_samples.find(sample);
        if (found == m_samples.end()) {
            return 0;
        }
        auto channel = std::make_unique<SoundChannel>();
        channel->sample = sample;
        channel->chunk = found->second;
        channel->slot = TakeSlot();
        const AudioHandle handle = NextHandle();
        m_channels[handle] = std::move(channel);
        return handle;
    }

    AudioHandle LoadStream(const std::string& path) override {
        if (!m_open) {
            return 0;
        }
        // Opening reads no more than the headers; the decoder is let go at
        // once and opened again when the stream sounds.
        Mix_Music* decoder = Mix_LoadMUS(path.c_str());
        if (decoder == nullptr) {
            return 0;
        }
        Mix_FreeMusic(decoder);
        auto stream = std::make_unique<StreamTrack>();
        stream->path = path;
        const AudioHandle handle = NextHandle();
        m_streams[handle] = std::move(stream);
        return handle;
    }

    AudioHandle LoadMusic(const std::string& path) override {
        if (!m_open || !m_sixteenBit || m_rate < 8000 || m_rate > 48000) {
            return 0;
        }
        xmp_context context = xmp_create_context();
        if (context == nullptr) {
            return 0;
        }
        if (xmp_load_module(context, path.c_str()) != 0) {
            xmp_free_context(context);
            return 0;
        }
        if (xmp_start_player(context, m_rate, PlayerFormat()) != 0) {
            xmp_release_module(context);
            xmp_free_context(context);
            return 0;
        }
        auto music = std::make_unique<MusicModule>();
        music->context = context;
        const AudioHandle handle = NextHandle();
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        m_music[handle] = std::move(music);
        return handle;
    }

    void Free(AudioHandle handle) override {
        if (const auto channel = m_channels.find(handle); channel != m_channels.end()) {
            SoundChannel& c = *channel->second;
            Halt(c);
            Mix_UnregisterAllEffects(c.slot);
            m_slotUsed[static_cast<std::size_t>(c.slot)] = false;
            m_channels.erase(channel);
            return;
        }
        if (const auto stream = m_streams.find(handle); stream != m_streams.end()) {
            if (m_sounding == handle) {
                CloseDecoder();
            }
            m_streams.erase(stream);
            return;
        }
        if (const auto sample = m_samples.find(handle); sample != m_samples.end()) {
            std::vector<AudioHandle> owned;
            for (const auto& [channelHandle, c] : m_channels) {
                if (c->sample == handle) {
                    owned.push_back(channelHandle);
                }
            }
            for (const AudioHandle channelHandle : owned) {
                Free(channelHandle);
            }
            Mix_FreeChunk(sample->second);
            m_samples.erase(sample);
            return;
        }
        std::unique_ptr<MusicModule> music;
        {
            const std::lock_guard<std::mutex> lock(m_musicMutex);
            const auto found = m_music.find(handle);
            if (found == m_music.end()) {
                return;
            }
            music = std::move(found->second);
            m_music.erase(found);
        }
        xmp_end_player(music->context);
        xmp_release_module(music->context);
        xmp_free_context(music->context);
    }

    bool Play(AudioHandle handle, bool restart) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            if (restart) {
                Halt(*c);
                c->keptBytes = 0;
            }
            c->state = ChannelState::Playing;
            Reconcile(*c);
            if (!c->active && !m_outputPaused) {
                c->state = ChannelState::Stopped;
                return false;
            }
            return true;
        }
        if (StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            // Any other stream gives up the output and keeps its place.
            for (const auto& [otherHandle, other] : m_streams) {
                if (otherHandle != handle) {
                    CloseDecoder(otherHandle);
                    other->state = ChannelState::Stopped;
                }
            }
            if (restart) {
                CloseDecoder(handle);
                stream->keptSeconds = 0.0;
            }
            stream->state = ChannelState::Playing;
            if (!ReconcileStream(handle)) {
                stream->state = ChannelState::Stopped;
                return false;
            }
            return true;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        MusicModule* music = FindMusic(handle);
        if (music == nullptr) {
            return false;
        }
        if (restart || music->ended) {
            RestartPlayer(*music);
        }
        music->state = ChannelState::Playing;
        return true;
    }

    bool Stop(AudioHandle handle) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            c->state = ChannelState::Stopped;
            Reconcile(*c);
            return true;
        }
        if (StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            stream->state = ChannelState::Stopped;
            ReconcileStream(handle);
            return true;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        MusicModule* music = FindMusic(handle);
        if (music == nullptr) {
            return false;
        }
        music->state = ChannelState::Stopped;
        return true;
    }

    bool Pause(AudioHandle handle) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            if (c->state == ChannelState::Playing) {
                c->state = ChannelState::Paused;
                Reconcile(*c);
            }
            return true;
        }
        if (StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            if (stream->state == ChannelState::Playing) {
                stream->state = ChannelState::Paused;
                ReconcileStream(handle);
            }
            return true;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        MusicModule* music = FindMusic(handle);
        if (music == nullptr) {
            return false;
        }
        if (music->state == ChannelState::Playing) {
            music->state = ChannelState::Paused;
        }
        return true;
    }

    ChannelState State(AudioHandle handle) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            return c->state;
        }
        if (const StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            return stream->state;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        const MusicModule* music = FindMusic(handle);
        return music != nullptr ? music->state : ChannelState::Stopped;
    }

    double PositionSeconds(AudioHandle handle) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            const double bytesPerSecond = static_cast<double>(m_rate) * m_frameBytes;
            return bytesPerSecond > 0.0 ? PositionBytes(*c) / bytesPerSecond : 0.0;
        }
        if (const StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            return m_sounding == handle ? DecoderPosition() : stream->keptSeconds;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        const MusicModule* music = FindMusic(handle);
        if (music == nullptr) {
            return -1.0;
        }
        xmp_frame_info info{};
        xmp_get_frame_info(music->context, &info);
        return info.time / 1000.0;
    }

    bool SetLooping(AudioHandle handle, bool loop) override {
        if (SoundChannel* c = FindChannel(handle)) {
            Sync(*c);
            if (c->looping != loop) {
                // A mixer channel's loop count is fixed when it starts: carry
                // on from the same byte under the new setting.
                Halt(*c);
                c->looping = loop;
                Reconcile(*c);
            }
            return true;
        }
        if (StreamTrack* stream = FindStream(handle)) {
            SyncStream();
            if (stream->looping != loop) {
                // The mixer fixes a music's loops when it starts: open the
                // decoder again at the same place under the new setting.
                CloseDecoder(handle);
                stream->looping = loop;
                ReconcileStream(handle);
            }
            return true;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        MusicModule* music = FindMusic(handle);
        if (music == nullptr) {
            return false;
        }
        music->looping = loop;
        return true;
    }

    bool SetMusicOrder(AudioHandle handle, int order) override {
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        MusicModule* music = FindMusic(handle);
        if (music == nullptr || order < 0) {
            return false;
        }
        if (music->ended) {
            RestartPlayer(*music);
        }
        return xmp_set_position(music->context, order) >= 0;
    }

    void SetVolume(AudioKind kind, int volume) override {
        volume = std::clamp(volume, 0, 100);
        m_volumes[static_cast<std::size_t>(kind)].store(volume);
        if (!m_open || kind == AudioKind::Music) {
            return;
        }
        if (kind == AudioKind::Stream) {
            Mix_VolumeMusic(MixerVolume(volume));
            return;
        }
        for (const auto& [handle, c] : m_channels) {
            Mix_Volume(c->slot, MixerVolume(volume));
        }
    }

    int Volume(AudioKind kind) const override {
        return m_volumes[static_cast<std::size_t>(kind)].load();
    }

    bool PauseOutput() override {
        if (!m_open) {
            return false;
        }
        m_outputPaused = true;
        for (const auto& [handle, c] : m_channels) {
            Sync(*c);
            Reconcile(*c);
        }
        SyncStream();
        ReconcileStreams();
        return true;
    }

    bool ResumeOutput() override {
        if (!m_open) {
            return false;
        }
        m_outputPaused = false;
        for (const auto& [handle, c] : m_channels) {
            Reconcile(*c);
        }
        ReconcileStreams();
        return true;
    }

private:
    AudioHandle NextHandle() { return ++m_lastHandle; }

    SoundChannel* FindChannel(AudioHandle handle) {
        const auto found = m_channels.find(handle);
        return found != m_channels.end() ? found->second.get() : nullptr;
    }

    StreamTrack* FindStream(AudioHandle handle) {
        const auto found = m_streams.find(handle);
        return found != m_streams.end() ? found->second.get() : nullptr;
    }

    // Callers hold the music mutex.
    MusicModule* FindMusic(AudioHandle handle) {
        const auto found = m_music.find(handle);
        return found != m_music.end() ? found->second.get() : nullptr;
    }

    int TakeSlot() {
        auto free = std::find(m_slotUsed.begin(), m_slotUsed.end(), false);
        if (free == m_slotUsed.end()) {
            const std::size_t count = m_slotUsed.size();
            m_slotUsed.resize(
                static_cast<std::size_t>(Mix_AllocateChannels(static_cast<int>(count * 2))), false);
            free = m_slotUsed.begin() + static_cast<std::ptrdiff_t>(count);
        }
        *free = true;
        return static_cast<int>(free - m_slotUsed.begin());
    }

    int PlayerFormat() const { return m_outputChannels == 1 ? XMP_FORMAT_MONO : 0; }

    std::uint32_t PositionBytes(const SoundChannel& c) const {
        if (!c.active) {
            return c.keptBytes;
        }
        const std::uint32_t total = c.chunk->alen;
        const std::uint64_t played = c.startBytes + c.consumed.load();
        if (total == 0) {
            return 0;
        }
        if (c.looping) {
            return static_cast<std::uint32_t>(played % total);
        }
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(played, total));
    }

    // Stops the mixer playback and keeps its position for a later resume.
    void Halt(SoundChannel& c) {
        if (!c.active) {
            return;
        }
        Mix_HaltChannel(c.slot);
        Mix_UnregisterAllEffects(c.slot);
        c.keptBytes = PositionBytes(c);
        c.active = false;
        c.mixPaused = false;
        if (c.view != nullptr) {
            Mix_FreeChunk(c.view);
            c.view = nullptr;
        }
    }

    bool Start(SoundChannel& c, std::uint32_t from) {
        Halt(c);
        Mix_UnregisterAllEffects(c.slot);
        const std::uint32_t total = c.chunk->alen;
        if (from >= total || m_frameBytes == 0) {
            from = 0;
        }
        from -= from % std::max<std::uint32_t>(m_frameBytes, 1);
        c.startBytes = from;
        c.consumed.store(0);
        c.rotate = false;
        Mix_Chunk* played = c.chunk;
        if (c.looping) {
            c.rotate = from != 0;
        } else if (from != 0) {
            c.view = Mix_QuickLoad_RAW(c.chunk->abuf + from, total - from);
            if (c.view != nullptr) {
                played = c.view;
            } else {
                c.startBytes = 0;
            }
        }
        Mix_RegisterEffect(c.slot, CountBytes, nullptr, &c);
        Mix_Volume(c.slot,
                   MixerVolume(m_volumes[static_cast<std::size_t>(AudioKind::Sample)].load()));
        if (Mix_PlayChannel(c.slot, played, c.looping ? -1 : 0) < 0) {
            Mix_UnregisterAllEffects(c.slot);
            if (c.view != nullptr) {
                Mix_FreeChunk(c.view);
                c.view = nullptr;
            }
            c.keptBytes = from;
            return false;
        }
        c.active = true;
        c.mixPaused = false;
        return true;
    }

    // A playback that ran to its end leaves the channel stopped, ready to
    // start again from the beginning.
    void Sync(SoundChannel& c) {
        if (c.active && !c.mixPaused && c.state == ChannelState::Playing &&
            Mix_Playing(c.slot) == 0) {
            Halt(c);
            c.keptBytes = 0;
            c.state = ChannelState::Stopped;
        }
    }

    // Brings the mixer channel in line with the channel's state and the
    // output pause.
    void Reconcile(SoundChannel& c) {
        if (c.state == ChannelState::Stopped) {
            Halt(c);
            return;
        }
        const bool audible = c.state == ChannelState::Playing && !m_outputPaused;
        if (audible) {
            if (!c.active) {
                Start(c, c.keptBytes);
            } else if (c.mixPaused) {
                Mix_Resume(c.slot);
                c.mixPaused = false;
            }
        } else if (c.active && !c.mixPaused) {
            Mix_Pause(c.slot);
            c.mixPaused = true;
        }
    }

    double DecoderPosition() const {
        const double position = m_decoder != nullptr ? Mix_GetMusicPosition(m_decoder) : 0.0;
        return std::max(position, 0.0);
    }

    // Lets the sounding stream's decoder go, keeping its place. With a handle,
    // only when that stream is the sounding one.
    void CloseDecoder(AudioHandle only = 0) {
        if (m_sounding == 0 || (only != 0 && only != m_sounding)) {
            return;
        }
        m_streams[m_sounding]->keptSeconds = DecoderPosition();
        Mix_HaltMusic();
        Mix_FreeMusic(m_decoder);
        m_decoder = nullptr;
        m_sounding = 0;
    }

    // A stream that ran to its end stops, ready to start from the beginning.
    void SyncStream() {
        if (m_sounding == 0) {
            return;
        }
        StreamTrack& stream = *m_streams[m_sounding];
        if (stream.state == ChannelState::Playing && Mix_PlayingMusic() == 0) {
            CloseDecoder();
            stream.keptSeconds = 0.0;
            stream.state = ChannelState::Stopped;
        }
    }

    // Brings the mixer's music in line with a stream's state and the output
    // pause; false when the stream should sound and cannot.
    bool ReconcileStream(AudioHandle handle) {
        StreamTrack* stream = FindStream(handle);
        if (stream == nullptr) {
            return true;
        }
        if (stream->state == ChannelState::Stopped) {
            CloseDecoder(handle);
            return true;
        }
        const bool audible = stream->state == ChannelState::Playing && !m_outputPaused;
        if (m_sounding != handle) {
            return !audible || OpenDecoder(handle);
        }
        if (audible && Mix_PausedMusic() != 0) {
            Mix_ResumeMusic();
        } else if (!audible && Mix_PausedMusic() == 0) {
            Mix_PauseMusic();
        }
        return true;
    }

    // At most one stream is not stopped; a stream played while the output
    // was paused opens its decoder only now.
    void ReconcileStreams() {
        for (const auto& [handle, stream] : m_streams) {
            ReconcileStream(handle);
        }
    }

    // Ogg Vorbis, the format of the tunes, resumes at its exact place; the
    // mixer's WAVE reader seeks only to whole seconds.
    bool OpenDecoder(AudioHandle handle) {
        CloseDecoder();
        StreamTrack& stream = *m_streams[handle];
        m_decoder = Mix_LoadMUS(stream.path.c_str());
        if (m_decoder == nullptr) {
            return false;
        }
        Mix_VolumeMusic(MixerVolume(m_volumes[static_cast<std::size_t>(AudioKind::Stream)].load()));
        if (Mix_FadeInMusicPos(m_decoder, stream.looping ? -1 : 1, 0, stream.keptSeconds) != 0) {
            Mix_FreeMusic(m_decoder);
            m_decoder = nullptr;
            return false;
        }
        m_sounding = handle;
        return true;
    }

    // Callers hold the music mutex.
    void RestartPlayer(MusicModule& music) {
        xmp_end_player(music.context);
        xmp_start_player(music.context, m_rate, PlayerFormat());
        xmp_play_buffer(music.context, nullptr, 0, 0);
        music.ended = false;
    }

    static void SDLCALL MixModules(void* data, Uint8* stream, int length) {
        static_cast<CSdlAudio*>(data)->RenderModules(stream, length);
    }

    // Audio thread: adds every playing module to the mixer's finished mix.
    void RenderModules(Uint8* stream, int length) {
        if (m_outputPaused) {
            return;
        }
        const std::lock_guard<std::mutex> lock(m_musicMutex);
        const int renderChannels = m_outputChannels == 1 ? 1 : 2;
        const std::size_t frames =
            static_cast<std::size_t>(length) / (2 * static_cast<std::size_t>(m_outputChannels));
        const std::size_t values = frames * static_cast<std::size_t>(renderChannels);
        if (m_scratch.size() < values) {
            m_scratch.resize(values);
        }
        const int volume = m_volumes[static_cast<std::size_t>(AudioKind::Music)].load();
        auto* out = reinterpret_cast<Sint16*>(stream);
        for (const auto& [handle, music] : m_music) {
            if (music->state != ChannelState::Playing) {
                continue;
            }
            const int result =
                xmp_play_buffer(music->context, m_scratch.data(),
                                static_cast<int>(values * sizeof(Sint16)), music->looping ? 0 : 1);
            if (result == -XMP_END) {
                music->ended = true;
                music->state = ChannelState::Stopped;
            } else if (result != 0) {
                continue;
            }
            for (std::size_t frame = 0; frame < frames; ++frame) {
                for (int k = 0; k < renderChannels; ++k) {
                    const std::size_t at = frame * static_cast<std::size_t>(m_outputChannels) +
                                           static_cast<std::size_t>(k);
                    const int value =
                        out[at] + m_scratch[frame * static_cast<std::size_t>(renderChannels) +
                                            static_cast<std::size_t>(k)] *
                                      volume / 100;
                    out[at] = static_cast<Sint16>(std::clamp(value, -32768, 32767));
                }
            }
        }
    }

    bool m_open = false;
    int m_rate = 0;
    int m_outputChannels = 2;
    bool m_sixteenBit = true;
    std::uint32_t m_frameBytes = 4;
    std::atomic<bool> m_outputPaused{false};
    AudioHandle m_lastHandle = 0;
    // The music volume is read by the audio thread.
    std::atomic<int> m_volumes[3] = {100, 100, 100};
    std::vector<bool> m_slotUsed;
    std::map<AudioHandle, Mix_Chunk*> m_samples;
    std::map<AudioHandle, std::unique_ptr<SoundChannel>> m_channels;
    std::map<AudioHandle, std::unique_ptr<StreamTrack>> m_streams;
    // The stream whose decoder is open, 0 when none.
    AudioHandle m_sounding = 0;
    Mix_Music* m_decoder = nullptr;
    std::mutex m_musicMutex;
    std::map<AudioHandle, std::unique_ptr<MusicModule>> m_music;
    std::vector<Sint16> m_scratch;
};

IAudio* g_override = nullptr;

}  // namespace

IAudio& Audio() {
    // Never destroyed: sound is released by the resource manager's singleton,
    // whose destruction at exit may come after that of function statics.
    static CSdlAudio* audio = new CSdlAudio;
    return g_override != nullptr ? *g_override : *audio;
}

void SetAudio(IAudio* audio) {
    g_override = audio;
}

}  // namespace backend

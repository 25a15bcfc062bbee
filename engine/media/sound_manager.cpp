#include "engine/media/sound_manager.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

namespace {

constexpr int OUTPUT_FREQUENCY = 44100;
constexpr SoundTypes SOUND_GROUP = static_cast<SoundTypes>(SoundType::Sample);
constexpr SoundTypes MUSIC_GROUP = SoundType::Stream | SoundType::Music;
constexpr SoundTypes ALL_TYPES = SOUND_GROUP | MUSIC_GROUP;

// The audio interface reports failures as a bare false; the log lines keep a
// place for a code all the same.
constexpr int UNKNOWN_AUDIO_ERROR = -1;

bool Has(SoundTypes types, SoundType type) {
    return (types & static_cast<SoundTypes>(type)) != 0;
}

CResourceManager& Resources() {
    return ResourceManager::Instance();
}

int ClampVolume(int volume) {
    return std::clamp(volume, 0, 100);
}

}  // namespace

CSoundManager::CSoundManager() = default;

bool CSoundManager::Init() {
    CHtmlLog& log = HtmlLog();
    log.Write("Blue", "Initializing BASS:\n");
    m_initialized = false;
    backend::IAudio& audio = backend::Audio();
    if (!audio.Open(OUTPUT_FREQUENCY)) {
        log.Write("Red", "Initialization BASS is failed (error code: %d)", UNKNOWN_AUDIO_ERROR);
        return false;
    }
    log.Write("Green", "Complete\n");
    audio.SetVolume(backend::AudioKind::Sample, ClampVolume(m_soundVolume));
    audio.SetVolume(backend::AudioKind::Stream, ClampVolume(m_musicVolume));
    audio.SetVolume(backend::AudioKind::Music, ClampVolume(m_musicVolume));
    m_initialized = true;
    return true;
}

void CSoundManager::Shutdown() {
    backend::IAudio& audio = backend::Audio();
    CResourceManager& resources = Resources();
    for (SampleRecord& record : resources.Samples()) {
        if (record.sample != 0) {
            audio.Free(record.sample);
        }
        record.sample = 0;
        record.channel = 0;
    }
    for (StreamRecord& record : resources.Streams()) {
        if (record.stream != 0) {
            audio.Free(record.stream);
        }
        record.stream = 0;
    }
    for (MusicRecord& record : resources.Musics()) {
        if (record.music != 0) {
            audio.Free(record.music);
        }
        record.music = 0;
    }
    audio.Close();
    // Later calls must find no device rather than stale handles; the stored
    // volumes stay, since the settings file is written from them at exit.
    m_initialized = false;
}

std::pair<backend::AudioHandle, backend::AudioHandle> CSoundManager::LoadSample(
    const std::string& path) {
    CHtmlLog& log = HtmlLog();
    if (!m_initialized) {
        log.Write("Red", "Loading sample: (%s) failed (BASS is not initialized)", path.c_str());
        return {0, 0};
    }
    backend::IAudio& audio = backend::Audio();
    const backend::AudioHandle sample = audio.LoadSample(path);
    if (sample == 0) {
        log.Write("Red", "Loading sample: (%s) failed (code error: %i)", path.c_str(),
                  UNKNOWN_AUDIO_ERROR);
        return {0, 0};
    }
    // Every play of the sample goes through this one channel, so a sample
    // never overlaps itself.
    const backend::AudioHandle channel = audio.SampleChannel(sample);
    if (channel == 0) {
        log.Write("Red", "Sample get channel: (%s) failed (code error: %i)", path.c_str(),
                  UNKNOWN_AUDIO_ERROR);
        return {sample, 0};
    }
    log.Write("Gray", "Loading sample: (%s) complete", path.c_str());
    return {sample, channel};
}

backend::AudioHandle CSoundManager::LoadStream(const std::string& path) {
    CHtmlLog& log = HtmlLog();
    if (!m_initialized) {
        log.Write("Red", "Loading stream: (%s) failed (BASS is not initialized)", path.c_str());
        return 0;
    }
    backend::IAudio& audio = backend::Audio();
    const backend::AudioHandle stream = audio.LoadStream(path);
    if (stream == 0) {
        log.Write("Red", "Loading stream: (%s) failed (code error: %i)", path.c_str(),
                  UNKNOWN_AUDIO_ERROR);
        return 0;
    }
    audio.SetLooping(stream, true);
    log.Write("Gray", "Loading stream: (%s) complete", path.c_str());
    return stream;
}

backend::AudioHandle CSoundManager::LoadMusic(const std::string& path) {
    CHtmlLog& log = HtmlLog();
    if (!m_initialized) {
        log.Write("Red", "Loading music: (%s) failed (BASS is not initialized)", path.c_str());
        return 0;
    }
    backend::IAudio& audio = backend::Audio();
    const backend::AudioHandle music = audio.LoadMusic(path);
    if (music == 0) {
        log.Write("Red", "Loading music: (%s) failed (code error: %i)", path.c_str(),
                  UNKNOWN_AUDIO_ERROR);
        return 0;
    }
    audio.SetLooping(music, true);
    log.Write("Gray", "Loading music: (%s) complete", path.c_str());
    return music;
}

unsigned CSoundManager::Count(SoundType type) const {
    CResourceManager& resources = Resources();
    switch (type) {
        case SoundType::Sample:
            return static_cast<unsigned>(resources.Samples().size());
        case SoundType::Stream:
            return static_cast<unsigned>(resources.Streams().size());
        case SoundType::Music:
            return static_cast<unsigned>(resources.Musics().size());
    }
    return 0;
}

backend::AudioHandle CSoundManager::Channel(SoundType type, unsigned index) const {
    CResourceManager& resources = Resources();
    switch (type) {
        case SoundType::Sample:
            return resources.Samples()[index].channel;
        case SoundType::Stream:
            return resources.Streams()[index].stream;
        case SoundType::Music:
            return resources.Musics()[index].music;
    }
    return 0;
}

bool CSoundManager::Play(SoundType type, unsigned index, bool restart, bool fadeIn) {
    if (!m_initialized) {
        return false;
    }
    backend::IAudio& audio = backend::Audio();
    switch (type) {
        case SoundType::Sample: {
            if (index >= Count(type)) {
                return false;
            }
            // Several callers may ask for one effect in the same moment; the
            // sound is not cut off and restarted within its first instant.
            const backend::AudioHandle channel = Channel(type, index);
            if (audio.State(channel) == backend::ChannelState::Playing) {
                const double position = audio.PositionSeconds(channel);
                if (position > 0.0 && position < RESTART_GUARD_SECONDS) {
                    return false;
                }
            }
            break;
        }
        case SoundType::Stream:
        case SoundType::Music:
            if (index >= Count(type)) {
                return false;
            }
            // One track at a time: the requested one is stopped as well and
            // then started with the caller's restart flag.
            StopAll(type, false);
            break;
        default:
            return false;
    }
    if (!audio.Play(Channel(type, index), restart)) {
        HtmlLog().Write("Red", "Couldn't play stream %i (error code: %i)", static_cast<int>(index),
                        UNKNOWN_AUDIO_ERROR);
        return false;
    }
    if (fadeIn) {
        StartFade(type, false);
    }
    return true;
}

bool CSoundManager::Pause(SoundType type, unsigned index) {
    if (!m_initialized || index >= Count(type)) {
        return false;
    }
    // The device pauses any channel whatever its state, so a channel that is
    // already paused or not playing at all succeeds; only a sound without a
    // channel (one whose load failed) is refused.
    if (backend::Audio().Pause(Channel(type, index))) {
        return true;
    }
    HtmlLog().Write("Red", "Couldn't pause stream %i (error code: %i)", static_cast<int>(index),
                    UNKNOWN_AUDIO_ERROR);
    return false;
}

bool CSoundManager::Stop(SoundType type, unsigned index) {
    if (!m_initialized || index >= Count(type)) {
        return false;
    }
    if (!backend::Audio().Stop(Channel(type, index))) {
        HtmlLog().Write("Red", "Couldn't stop stream %i (error code: %i)", static_cast<int>(index),
                        UNKNOWN_AUDIO_ERROR);
        return false;
    }
    return true;
}

bool CSoundManager::IsPlaying(SoundType type, unsigned index) {
    if (!m_initialized || index >= Count(type)) {
        return false;
    }
    return backend::Audio().State(Channel(type, index)) == backend::ChannelState::Playing;
}

int CSoundManager::FindPlaying(SoundType type) {
    if (!m_initialized) {
        return -1;
    }
    const unsigned count = Count(type);
    for (unsigned index = 0; index < count; ++index) {
        if (backend::Audio().State(Channel(type, index)) == backend::ChannelState::Playing) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

bool CSoundManager::ChangeTrack(int musicIndex, int track) {
    if (!m_initialized) {
        return false;
    }
    if (musicIndex == -1) {
        musicIndex = FindPlaying(SoundType::Music);
        if (musicIndex < 0) {
            return false;
        }
    } else if (musicIndex < 0 || musicIndex >= static_cast<int>(Count(SoundType::Music))) {
        return false;
    }
    MusicRecord& record = Resources().Musics()[musicIndex];
    const int size = static_cast<int>(record.trackList.size());
    if (size == 0) {
        return false;
    }
    if (track == -1) {
        ++record.currentTrack;
        if (record.currentTrack < 0 || record.currentTrack >= size) {
            record.currentTrack = 0;
        }
    } else {
        // The first entry is reached only by wrapping round.
        if (track < 1 || track >= size) {
            return false;
        }
        record.currentTrack = track;
    }
    const int order = static_cast<int>(record.trackList[record.currentTrack] & 0xFFFFu);
    if (!backend::Audio().SetMusicOrder(record.music, order)) {
        HtmlLog().Write("Red", "Couldn't change track %i (error code: %i)", musicIndex,
                        UNKNOWN_AUDIO_ERROR);
        return false;
    }
    return true;
}

template <typename Action>
void CSoundManager::ForEachChannel(SoundTypes types, Action action) const {
    for (SoundType type : {SoundType::Sample, SoundType::Stream, SoundType::Music}) {
        if (!Has(types, type)) {
            continue;
        }
        const unsigned count = Count(type);
        for (unsigned index = 0; index < count; ++index) {
            if (const backend::AudioHandle channel = Channel(type, index); channel != 0) {
                action(channel);
            }
        }
    }
}

void CSoundManager::StopAll(SoundTypes types, bool fade) {
    if (fade) {
        StartFade(types, true);
        return;
    }
    backend::IAudio& audio = backend::Audio();
    ForEachChannel(types, [&audio](backend::AudioHandle channel) { audio.Stop(channel); });
}

void CSoundManager::PauseAll(SoundTypes types, bool fade) {
    if (fade) {
        StartFade(types, true);
        return;
    }
    backend::IAudio& audio = backend::Audio();
    ForEachChannel(types, [&audio](backend::AudioHandle channel) { audio.Pause(channel); });
}

void CSoundManager::StartFade(SoundTypes types, bool fadeOut) {
    types &= ALL_TYPES;
    m_fadeBits |= types;
    backend::IAudio& audio = backend::Audio();
    if ((types & SOUND_GROUP) != 0) {
        m_soundFadeSpeed = fadeOut ? -FADE_SPEED : FADE_SPEED;
        m_soundFadeLevel =
            fadeOut ? static_cast<float>(audio.Volume(backend::AudioKind::Sample)) : 0.0f;
    }
    if ((types & MUSIC_GROUP) != 0) {
        m_musicFadeSpeed = fadeOut ? -FADE_SPEED : FADE_SPEED;
        // The music tracks are streams, and the stream volume is the one the
        // options change; a module volume left behind by Init must not make
        // the fade start louder than what the player hears.
        m_musicFadeLevel =
            fadeOut ? static_cast<float>(audio.Volume(backend::AudioKind::Stream)) : 0.0f;
    }
}

void CSoundManager::Update(float elapsed) {
    if (m_fadeBits == 0) {
        return;
    }
    backend::IAudio& audio = backend::Audio();
    if ((m_fadeBits & SOUND_GROUP) != 0) {
        m_soundFadeLevel += elapsed * m_soundFadeSpeed;
        if (m_soundFadeSpeed < 0.0f && m_soundFadeLevel <= 0.0f) {
            PauseAll(SoundType::Sample, false);
            m_soundFadeLevel = static_cast<float>(m_soundVolume);
            m_fadeBits &= ~SOUND_GROUP;
            m_soundFadeSpeed = 0.0f;
        } else if (m_soundFadeSpeed > 0.0f &&
                   m_soundFadeLevel >= static_cast<float>(m_soundVolume)) {
            m_soundFadeLevel = static_cast<float>(m_soundVolume);
            m_fadeBits &= ~SOUND_GROUP;
            m_soundFadeSpeed = 0.0f;
        }
        audio.SetVolume(backend::AudioKind::Sample, static_cast<int>(m_soundFadeLevel));
    }
    if ((m_fadeBits & MUSIC_GROUP) != 0) {
        m_musicFadeLevel += elapsed * m_musicFadeSpeed;
        if (m_musicFadeSpeed < 0.0f && m_musicFadeLevel <= 0.0f) {
            StopAll(SoundType::Stream, false);
            StopAll(SoundType::Music, false);
            m_musicFadeLevel = static_cast<float>(m_musicVolume);
            m_fadeBits &= ~MUSIC_GROUP;
            m_musicFadeSpeed = 0.0f;
        } else if (m_musicFadeSpeed > 0.0f &&
                   m_musicFadeLevel >= static_cast<float>(m_musicVolume)) {
            m_musicFadeLevel = static_cast<float>(m_musicVolume);
            m_fadeBits &= ~MUSIC_GROUP;
            m_musicFadeSpeed = 0.0f;
        }
        ApplyMusicLevel(static_cast<int>(m_musicFadeLevel));
    }
}

void CSoundManager::ApplyMusicLevel(int level) {
    backend::IAudio& audio = backend::Audio();
    audio.SetVolume(backend::AudioKind::Stream, level);
    audio.SetVolume(backend::AudioKind::Music, level);
}

void CSoundManager::SetVolume(SoundTypes types, int volume) {
    volume = ClampVolume(volume);
    backend::IAudio& audio = backend::Audio();
    if (Has(types, SoundType::Sample)) {
        m_soundVolume = volume;
        audio.SetVolume(backend::AudioKind::Sample, volume);
    }
    if (Has(types, SoundType::Stream)) {
        m_musicVolume = volume;
        audio.SetVolume(backend::AudioKind::Stream, volume);
    }
    if (Has(types, SoundType::Music)) {
        m_musicVolume = volume;
        audio.SetVolume(backend::AudioKind::Music, volume);
    }
}

int CSoundManager::GetVolume(SoundType type) const {
    switch (type) {
        case SoundType::Sample:
            return m_soundVolume;
        case SoundType::Stream:
        case SoundType::Music:
            return m_musicVolume;
    }
    return -1;
}

void CSoundManager::SetStoredVolumes(int musicVolume, int soundVolume) {
    m_musicVolume = musicVolume;
    m_soundVolume = soundVolume;
}

bool CSoundManager::PauseOutput() {
    return backend::Audio().PauseOutput();
}

bool CSoundManager::ResumeOutput() {
    return backend::Audio().ResumeOutput();
}

// Stopping the output stops every sound as well: unlike after a pause, no
// sound plays on by itself once the output is resumed.
bool CSoundManager::StopOutput() {
    backend::IAudio& audio = backend::Audio();
    ForEachChannel(ALL_TYPES, [&audio](backend::AudioHandle channel) { audio.Stop(channel); });
    return audio.PauseOutput();
}

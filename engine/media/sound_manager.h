#pragma once
// The one sound player of the program, living inside the resource manager.
// Sounds are addressed by their type and their position among the resources of
// that kind in resources.xml: the n-th Sample element is sample n. The sound
// manager keeps no list of its own; it reads the sample, stream and music
// records of the resource manager.
#include <cstdint>
#include <string>
#include <utility>

#include "engine/backend/audio.h"

// Bit values, so that the operations on groups take several at once.
enum class SoundType : std::uint32_t {
    Sample = 1,  // short effects, each with a channel of its own; the sound volume
    Stream = 2,  // looping file streams, the music tracks; the music volume
    Music = 4,   // looping music modules; the music volume
};

// A set of SoundType bits.
using SoundTypes = std::uint32_t;

constexpr SoundTypes operator|(SoundType a, SoundType b) {
    return static_cast<SoundTypes>(a) | static_cast<SoundTypes>(b);
}
constexpr SoundTypes operator|(SoundTypes a, SoundType b) {
    return a | static_cast<SoundTypes>(b);
}

class CSoundManager {
public:
    static constexpr int DEFAULT_MUSIC_VOLUME = 70;
    static constexpr int DEFAULT_SOUND_VOLUME = 95;
    // Volume units per second of every fade.
    static constexpr float FADE_SPEED = 100.0f;
    // A sample playing for less than this is not started again.
    static constexpr double RESTART_GUARD_SECONDS = 0.05;

    CSoundManager();

    // Opens the audio device and applies the stored volumes. When no device
    // opens the game runs silent: loads and plays then fail quietly.
    bool Init();
    // Frees every sound and closes the device; the stored volumes stay.
    void Shutdown();

    // Each logs its file. Zero handles on failure.
    std::pair<backend::AudioHandle, backend::AudioHandle> LoadSample(const std::string& path);
    backend::AudioHandle LoadStream(const std::string& path);
    backend::AudioHandle LoadMusic(const std::string& path);

    // restart true plays from the beginning, false resumes a paused sound.
    // Playing a stream first stops every stream, the requested one included;
    // the same for music modules.
    bool Play(SoundType type, unsigned index, bool restart, bool fadeIn);
    bool Pause(SoundType type, unsigned index);
    bool Stop(SoundType type, unsigned index);
    bool IsPlaying(SoundType type, unsigned index);
    // The lowest index of the type that plays, -1 when none does.
    int FindPlaying(SoundType type);
    // Jumps a music module to an entry of its track list. musicIndex -1 means
    // the module that plays; track -1 means the next track, wrapping to 0.
    bool ChangeTrack(int musicIndex, int track);

    // With fade these only start a fade-out of the groups; a faded-out sound
    // group ends paused, a faded-out music group ends stopped.
    void StopAll(SoundTypes types, bool fade);
    void StopAll(SoundType type, bool fade) { StopAll(static_cast<SoundTypes>(type), fade); }
    void PauseAll(SoundTypes types, bool fade);
    void PauseAll(SoundType type, bool fade) { PauseAll(static_cast<SoundTypes>(type), fade); }
    void StartFade(SoundTypes types, bool fadeOut);
    void StartFade(SoundType type, bool fadeOut) {
        StartFade(static_cast<SoundTypes>(type), fadeOut);
    }
    // Runs the fades; once per frame.
    void Update(float elapsed);

    // Stores and applies a volume, clamped to 0..100. Sample sets the sound
    // volume; Stream and Music each set the music volume of their kind.
    void SetVolume(SoundTypes types, int volume);
    void SetVolume(SoundType type, int volume) { SetVolume(static_cast<SoundTypes>(type), volume); }
    // The stored volume (never the level of a running fade): the sound volume
    // for Sample, the music volume for Stream and Music, -1 for anything else.
    int GetVolume(SoundType type) const;
    // The settings file writes the stored volumes as they were saved, before
    // Init applies them; nothing is sent to the device here.
    void SetStoredVolumes(int musicVolume, int soundVolume);

    // The whole output at once; the framework pauses it while the game is paused.
    bool PauseOutput();
    bool ResumeOutput();
    // Stops every sound and holds the output until ResumeOutput.
    bool StopOutput();

private:
    backend::AudioHandle Channel(SoundType type, unsigned index) const;
    unsigned Count(SoundType type) const;
    // Calls `action` with the channel of every loaded sound of the given types.
    template <typename Action>
    void ForEachChannel(SoundTypes types, Action action) const;
    void ApplyMusicLevel(int level);

    bool m_initialized = false;
    SoundTypes m_fadeBits = 0;
    float m_soundFadeSpeed = 0.0f;
    float m_musicFadeSpeed = 0.0f;
    float m_soundFadeLevel = 0.0f;
    float m_musicFadeLevel = 0.0f;
    int m_musicVolume = DEFAULT_MUSIC_VOLUME;
    int m_soundVolume = DEFAULT_SOUND_VOLUME;
};

#include "game/config_record.h"

#include <algorithm>

#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"
#include "game/game_session_base.h"
#include "game/save_file.h"

namespace {

constexpr std::size_t AT_FORMAT = 0;
constexpr std::size_t AT_WIDTH = 4;
constexpr std::size_t AT_HEIGHT = 8;
constexpr std::size_t AT_WINDOWED = 12;
constexpr std::size_t AT_MUSIC_VOLUME = 16;
constexpr std::size_t AT_SOUND_VOLUME = 20;

constexpr std::int32_t MAX_VOLUME = 100;

// A volume from the file outside 0..100 would reach the option sliders and be
// written back at every close; it is kept in range, and the repair logged.
std::int32_t VolumeInRange(const char* which, std::int32_t stored) {
    const std::int32_t kept = std::clamp(stored, 0, MAX_VOLUME);
    if (kept != stored) {
        HtmlLog().Write("Red", "Config: %s volume %i out of range, %i used", which, stored, kept);
    }
    return kept;
}

}  // namespace

std::vector<std::uint8_t> ConfigRecord::ToBytes() const {
    CSaveWriter writer(SIZE);
    writer.U32(AT_FORMAT, format);
    writer.I32(AT_WIDTH, width);
    writer.I32(AT_HEIGHT, height);
    writer.U8(AT_WINDOWED, windowed);
    writer.I32(AT_MUSIC_VOLUME, musicVolume);
    writer.I32(AT_SOUND_VOLUME, soundVolume);
    return writer.Bytes();
}

ConfigRecord ConfigRecord::FromBytes(const std::vector<std::uint8_t>& bytes) {
    CSaveReader reader(bytes.data(), bytes.size());
    ConfigRecord record;
    record.format = reader.U32(AT_FORMAT);
    record.width = reader.I32(AT_WIDTH);
    record.height = reader.I32(AT_HEIGHT);
    record.windowed = reader.U8(AT_WINDOWED);
    record.musicVolume = reader.I32(AT_MUSIC_VOLUME);
    record.soundVolume = reader.I32(AT_SOUND_VOLUME);
    return record;
}

bool CGameSessionBase::SaveConfig(const std::string& fileName, backend::DisplayMode mode,
                                  bool windowed) {
    const std::string path = HtmlLog().GetUserFolder() + fileName;
    HtmlLog().Write("Blue", "Save config data (%s):\n", path.c_str());
    const CSoundManager& sound = ResourceManager::Instance().GetSoundManager();
    ConfigRecord record;
    record.format = static_cast<std::uint32_t>(mode.format);
    record.width = mode.width;
    record.height = mode.height;
    record.windowed = windowed ? 1 : 0;
    record.musicVolume = sound.GetVolume(SoundType::Stream);
    record.soundVolume = sound.GetVolume(SoundType::Sample);
    if (!m_configGuard.Write(path, record.ToBytes())) {
        HtmlLog().Write("Red", "Couldn't save config data");
        return false;
    }
    HtmlLog().Write("Green", "Complete");
    return true;
}

bool CGameSessionBase::LoadConfig(const std::string& fileName, backend::DisplayMode* mode,
                                  bool* windowed) {
    const std::string path = HtmlLog().GetUserFolder() + fileName;
    HtmlLog().Write("Blue", "Load config data (%s):\n", path.c_str());
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 0;
    const SaveFileRead read = ReadSaveFile(path, ConfigRecord::SIZE, &bytes, &size);
    if (read == SaveFileRead::Missing) {
        m_configGuard.FoundNone();
        HtmlLog().Write("Green", "No config data");
        return false;
    }
    m_configGuard.Found(path, size == ConfigRecord::SIZE);
    if (size != ConfigRecord::SIZE) {
        HtmlLog().Write("Green", "Incorrect config data");
        return false;
    }
    const ConfigRecord record = ConfigRecord::FromBytes(bytes);
    mode->format = static_cast<backend::PixelFormat>(record.format);
    mode->width = record.width;
    mode->height = record.height;
    *windowed = record.windowed != 0;
    const std::int32_t music = VolumeInRange("music", record.musicVolume);
    const std::int32_t sound = VolumeInRange("sound", record.soundVolume);
    ResourceManager::Instance().GetSoundManager().SetStoredVolumes(music, sound);
    HtmlLog().Write("Green", "Complete");
    return true;
}

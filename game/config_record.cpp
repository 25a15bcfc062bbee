#include "game/config_record.h"

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
    if (!WriteSaveFile(path, record.ToBytes())) {
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
        HtmlLog().Write("Green", "No config data");
        return false;
    }
    if (size != ConfigRecord::SIZE) {
        HtmlLog().Write("Green", "Incorrect config data");
        return false;
    }
    const ConfigRecord record = ConfigRecord::FromBytes(bytes);
    mode->format = static_cast<backend::PixelFormat>(record.format);
    mode->width = record.width;
    mode->height = record.height;
    *windowed = record.windowed != 0;
    // Taken as stored: the sound manager keeps what it sends to the device in range.
    ResourceManager::Instance().GetSoundManager().SetStoredVolumes(record.musicVolume,
                                                                   record.soundVolume);
    HtmlLog().Write("Green", "Complete");
    return true;
}

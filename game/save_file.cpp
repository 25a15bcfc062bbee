#include "game/save_file.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

bool CSaveReader::Fits(std::size_t offset, std::size_t width) {
    if (offset > m_size || width > m_size - offset) {
        m_overflow = true;
        return false;
    }
    return true;
}

std::uint8_t CSaveReader::U8(std::size_t offset) {
    return Fits(offset, 1) ? m_data[offset] : 0;
}

char16_t CSaveReader::U16(std::size_t offset) {
    if (!Fits(offset, 2)) {
        return 0;
    }
    return static_cast<char16_t>(m_data[offset] | (m_data[offset + 1] << 8));
}

std::uint32_t CSaveReader::U32(std::size_t offset) {
    if (!Fits(offset, 4)) {
        return 0;
    }
    return static_cast<std::uint32_t>(m_data[offset]) |
           (static_cast<std::uint32_t>(m_data[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(m_data[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(m_data[offset + 3]) << 24);
}

float CSaveReader::F32(std::size_t offset) {
    return std::bit_cast<float>(U32(offset));
}

bool CSaveWriter::Fits(std::size_t offset, std::size_t width) {
    if (offset > m_bytes.size() || width > m_bytes.size() - offset) {
        m_overflow = true;
        return false;
    }
    return true;
}

void CSaveWriter::U8(std::size_t offset, std::uint8_t value) {
    if (Fits(offset, 1)) {
        m_bytes[offset] = value;
    }
}

void CSaveWriter::U16(std::size_t offset, char16_t value) {
    if (Fits(offset, 2)) {
        m_bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        m_bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
}

void CSaveWriter::U32(std::size_t offset, std::uint32_t value) {
    if (Fits(offset, 4)) {
        for (std::size_t i = 0; i < 4; ++i) {
            m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
}

void CSaveWriter::F32(std::size_t offset, float value) {
    U32(offset, std::bit_cast<std::uint32_t>(value));
}

SaveFileRead ReadSaveFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>* bytes, std::uintmax_t* size) {
    std::error_code error;
    // A folder, a pipe or a device under the save's name counts as no save.
    if (!std::filesystem::is_regular_file(path, error)) {
        return SaveFileRead::Missing;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return SaveFileRead::Missing;
    }
    const std::uintmax_t fileSize = std::filesystem::file_size(path, error);
    if (error) {
        return SaveFileRead::Missing;
    }
    *size = fileSize;
    if (fileSize > maxSize) {
        return SaveFileRead::TooLarge;
    }
    bytes->assign(static_cast<std::size_t>(fileSize), 0);
    in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(fileSize));
    // A file that shrank while being read keeps only what was there.
    bytes->resize(static_cast<std::size_t>(in.gcount()));
    *size = bytes->size();
    return SaveFileRead::Read;
}

bool WriteSaveFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

#include "game/save_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/platform/html_log.h"

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

namespace {

SaveFileRead ReadStart(const std::string& path, std::size_t maxSize, bool wholeOnly,
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
    if (wholeOnly && fileSize > maxSize) {
        return SaveFileRead::TooLarge;
    }
    const auto wanted = static_cast<std::size_t>(std::min<std::uintmax_t>(fileSize, maxSize));
    bytes->assign(wanted, 0);
    in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(wanted));
    bytes->resize(static_cast<std::size_t>(in.gcount()));
    // A file that shrank while being read keeps only what was there.
    if (bytes->size() < wanted) {
        *size = bytes->size();
    }
    return SaveFileRead::Read;
}

// Syncs what `path` names: a file's bytes, or a folder's entries.
bool SyncPath(const std::string& path, int flags) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (descriptor < 0) {
        return false;
    }
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

// Syncs the folder that holds `path`, so that a rename inside it is on the disk.
bool SyncFolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    return SyncPath(folder.string(), O_DIRECTORY);
}

// Writes the bytes to a new file and syncs them to the disk, every step
// checked; a file that was made but not wholly written is removed.
bool WriteSynced(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fflush(file) == 0 && written;
    written = written && ::fsync(::fileno(file)) == 0;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        std::remove(path.c_str());
    }
    return written;
}

// Puts the file at `path` under `keepAs` as well, replacing an older one
// there, while it stays under its own name: a stop at any step leaves the save
// where it was. The second name is a hard link, or a synced copy where the
// file system has none. 0, or the errno of the step that failed (ENOENT: the
// file has gone).
int KeepBeside(const std::string& path, const std::string& keepAs) {
    const std::string staging = keepAs + ".tmp";
    std::remove(staging.c_str());  // left by an earlier stop
    if (::link(path.c_str(), staging.c_str()) != 0) {
        if (errno == ENOENT) {
            return ENOENT;
        }
        std::error_code error;
        std::filesystem::copy_file(path, staging, error);
        if (error || !SyncPath(staging, 0)) {
            std::remove(staging.c_str());
            return error ? error.value() : EIO;
        }
    }
    if (std::rename(staging.c_str(), keepAs.c_str()) != 0) {
        const int error = errno;
        std::remove(staging.c_str());
        return error;
    }
    return 0;
}

struct Replacement {
    bool keepFailed = false;  // the old file could not be kept: nothing written
    bool kept = false;        // the old file is under the name it was to be kept under
    bool replaced = false;    // the new bytes are under the file's name
};

// With `keepOldAs` not empty, the file being replaced is kept there as well
// (replacing an older one) once the new bytes are on the disk, just before the
// rename. The new file under the name is the save: a failed sync of the folder
// after the rename is logged, and the save stands.
Replacement ReplaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        const std::string& keepOldAs) {
    Replacement result;
    const std::string temporary = path + ".tmp";
    if (!WriteSynced(temporary, bytes)) {
        return result;
    }
    if (!keepOldAs.empty()) {
        const int error = KeepBeside(path, keepOldAs);
        result.kept = error == 0;
        // A file that has gone since it was read leaves nothing to keep.
        result.keepFailed = error != 0 && error != ENOENT;
    }
    if (result.keepFailed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return result;
    }
    result.replaced = true;
    if (!SyncFolderOf(path)) {
        HtmlLog().Write("Red", "Saved %s, but its folder could not be synced", path.c_str());
    }
    return result;
}

}  // namespace

SaveFileRead ReadSaveFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>* bytes, std::uintmax_t* size) {
    return ReadStart(path, maxSize, true, bytes, size);
}

SaveFileRead ReadSaveFileStart(const std::string& path, std::size_t maxSize,
                               std::vector<std::uint8_t>* bytes, std::uintmax_t* size) {
    return ReadStart(path, maxSize, false, bytes, size);
}

bool WriteSaveFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return ReplaceFile(path, bytes, {}).replaced;
}

void CSaveFileGuard::Found(const std::string& path, bool readWhole) {
    if (readWhole) {
        m_unread.clear();
    } else {
        m_unread = path;
    }
}

bool CSaveFileGuard::Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const bool keep = !m_unread.empty() && m_unread == path;
    const std::string keepAs = keep ? path + UNREAD_SAVE_SUFFIX : std::string();
    const Replacement result = ReplaceFile(path, bytes, keepAs);
    if (result.keepFailed) {
        HtmlLog().Write("Red", "Couldn't keep the unreadable file as %s", keepAs.c_str());
    }
    if (result.kept) {
        HtmlLog().Write("Red", "Unreadable file kept as %s", keepAs.c_str());
    }
    // Once the new file is in place, there is nothing left to keep.
    if (result.replaced) {
        m_unread.clear();
    }
    return result.replaced;
}

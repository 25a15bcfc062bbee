#pragma once
// The one way save files are read and written: raw little-endian records of
// fixed layout, each field at its own offset whatever the machine's struct
// padding, and whole files replaced safely so that a failed write never
// leaves a cut-off file behind.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads fields of a record from a byte block. A read past the end answers 0
// and sets the overflow flag instead of touching memory beyond the block.
class CSaveReader {
public:
    CSaveReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t U8(std::size_t offset);
    char16_t U16(std::size_t offset);
    std::uint32_t U32(std::size_t offset);
    std::int32_t I32(std::size_t offset) { return static_cast<std::int32_t>(U32(offset)); }
    float F32(std::size_t offset);
    bool Overflowed() const { return m_overflow; }

private:
    bool Fits(std::size_t offset, std::size_t width);

    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_overflow = false;
};

// Builds a record of fixed size; bytes no field covers (padding, reserved
// room) stay 0. A write past the end is dropped and sets the overflow flag.
class CSaveWriter {
public:
    explicit CSaveWriter(std::size_t size) : m_bytes(size, 0) {}

    void U8(std::size_t offset, std::uint8_t value);
    void U16(std::size_t offset, char16_t value);
    void U32(std::size_t offset, std::uint32_t value);
    void I32(std::size_t offset, std::int32_t value) {
        U32(offset, static_cast<std::uint32_t>(value));
    }
    void F32(std::size_t offset, float value);
    bool Overflowed() const { return m_overflow; }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    bool Fits(std::size_t offset, std::size_t width);

    std::vector<std::uint8_t> m_bytes;
    bool m_overflow = false;
};

enum class SaveFileRead {
    Missing,   // absent, not a regular file, or it cannot be opened
    TooLarge,  // larger than the caller allows: its size is given, nothing read
    Read,
};

// Reads a whole save file when it is no larger than maxSize. `size` receives
// the file's size whenever it exists.
SaveFileRead ReadSaveFile(const std::string& path, std::size_t maxSize,
                          std::vector<std::uint8_t>* bytes, std::uintmax_t* size);

// Reads no more than the first maxSize bytes of a save file, however large it
// is; `size` receives the whole file's size. Never TooLarge.
SaveFileRead ReadSaveFileStart(const std::string& path, std::size_t maxSize,
                               std::vector<std::uint8_t>* bytes, std::uintmax_t* size);

// Replaces the file with the bytes: they go to "<path>.tmp" in the same folder,
// every write, the flush and the sync to the disk are checked, and only then is
// the temporary file renamed over the old one; the folder is synced after the
// rename, so that a power cut leaves either the old file or the whole new one.
// On a failure before the rename the temporary file is removed, the old file is
// left as it was and the result is false. Once renamed, the new file is the
// save and the result is true: a failed sync of the folder after the rename
// only puts a line in "Red" into the log, since a caller told "not saved"
// would go on as if the old file were still there.
bool WriteSaveFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The suffix of the name a save file that could not be read is kept under.
inline constexpr const char* UNREAD_SAVE_SUFFIX = ".bad";

// Remembers a save file that its loader found but could not take whole (a
// wrong size, more than the loader reads), so that the first save over it
// keeps it beside the new file as "<path>.bad", replacing an older one,
// instead of destroying it. The file keeps its own name until the new one
// replaces it: "<path>.bad" is a second name (or a copy) made before that.
class CSaveFileGuard {
public:
    // A load of `path` found it whole, or not.
    void Found(const std::string& path, bool readWhole);
    // A load found no file.
    void FoundNone() { m_unread.clear(); }
    // WriteSaveFile; before the first write over the remembered file, that file
    // is kept as "<path>.bad" once the new bytes are on the disk, and where it
    // went is logged in "Red". When it cannot be kept, nothing is written and
    // the result is false.
    bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes);

private:
    std::string m_unread;
};

#include "engine/platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenRegularFile(const std::string& path) {
    // Non-blocking, so that a pipe is refused instead of waited on; for a
    // regular file the flag changes nothing. The type is asked of the opened
    // file itself, so the file cannot change between the test and the read.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat info {};
    std::FILE* file = nullptr;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        file = ::fdopen(descriptor, "rb");
    }
    if (file == nullptr) {
        ::close(descriptor);
    }
    return file;
}

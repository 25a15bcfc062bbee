#pragma once
// Opening data files for reading.
#include <cstdio>
#include <string>

// Opens `path` for binary reading when it is a regular file, else null. A folder
// opens for reading on Linux, a named pipe without a writer blocks a plain open
// for good, and a device such as /dev/zero never ends: none of them is a file
// of the game's data.
std::FILE* OpenRegularFile(const std::string& path);

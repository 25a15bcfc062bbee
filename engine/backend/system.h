#pragma once
// Operating-system services outside video, input and sound.
#include <string>

namespace backend {

// "$XDG_DATA_HOME/<org>/<app>/" (default ~/.local/share), created when missing.
// The path is returned even when it cannot be created; empty only when there
// is no base folder at all (no valid XDG_DATA_HOME and no home folder).
std::string UserDataFolder(const std::string& organisation, const std::string& application);

// Holds a lock named after `name` in the per-user runtime folder for the rest of
// the process. False when another running process holds it, and for a second
// request of the same name from this process.
bool AcquireSingleInstance(const std::string& name);

// A blocking error box where a display exists; otherwise the text goes to
// standard error.
void ShowErrorBox(const std::string& caption, const std::string& text);

// Requests to open a document or link are recorded, never executed: the game
// does not start other programs.
bool ShellOpen(const std::string& path);

// Lines for the log's system report: operating system, processor and memory.
struct SystemReport {
    std::string osName;     // "Linux"
    std::string osRelease;  // kernel release
    std::string osVersion;  // kernel build text
    std::string machine;    // "x86_64"
    unsigned long long totalMemoryBytes = 0;
    unsigned long long freeMemoryBytes = 0;
    unsigned long long totalSwapBytes = 0;
    unsigned long long freeSwapBytes = 0;
};
SystemReport QuerySystemReport();

// True once SIGINT, SIGTERM or SIGHUP has asked the program to close; the
// window reports them as a close request.
bool CloseRequested();

}  // namespace backend

#pragma once
// Operating-system services outside video, input and sound.
#include <functional>
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

// Opens what the game links to, with the desktop's opener:
// - a link file (*.url, "[InternetShortcut]" with a "URL=" line): its address,
//   when the file exists and is a regular file, of which only the first few
//   kilobytes are read;
// - a web address itself.
// Only http and https addresses are opened. A Windows program (*.exe) cannot
// run here: that is said once on standard error (until ForgetShellNotices).
// Anything else, a missing link file and a refused address are reported on
// standard error and left alone. True when the opener accepted an address.
bool ShellOpen(const std::string& path);

// Where ShellOpen sends an address. The default is the desktop's opener,
// except under a headless video driver, where no one could see a browser and
// the address is only reported. Tests put a recorder in; an empty function
// brings the default back.
using UrlOpener = std::function<bool(const std::string& address)>;
void SetUrlOpener(UrlOpener opener);

// Forgets which programs ShellOpen has already mentioned, so that each is
// mentioned again on its next request: an application started afresh in the
// same process (as tests do) hears what a first start hears.
void ForgetShellNotices();

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

// Hands the memory the allocator keeps free back to the system: after a
// group of pictures has replaced another, their buffers would otherwise stay
// counted against the process.
void ReturnFreeMemory();

}  // namespace backend

// Operating-system services: the per-user folder, the single-instance lock,
// error boxes, shell requests, the system report and the close request.
#include <SDL.h>
#include <errno.h>
#include <fcntl.h>
#include <malloc.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <utility>

#include "engine/backend/sdl_internal.h"
#include "engine/backend/system.h"

namespace backend {

namespace {

std::atomic<bool> g_quitSeen{false};

struct sigaction g_previousHangup {};
bool g_hangupInstalled = false;

// SDL turns SIGTERM into its quit event; sending ourselves one is the only
// thing a signal handler may safely do to reach it.
void OnHangup(int) {
    raise(SIGTERM);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates every missing folder along `path` (which ends with '/').
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return IsDirectory(path);
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
        return entry->pw_dir;
    }
    return {};
}

// A name becomes one path component: no separators, no parent steps.
std::string SafeComponent(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        if (c == '/') {
            c = '_';
        }
    }
    if (safe.empty() || safe == "." || safe == "..") {
        safe = "_" + safe;
    }
    return safe;
}

// Where the single-instance locks live: the session's runtime folder, else a
// per-user name in /tmp.
std::string LockPath(const std::string& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && IsDirectory(runtime)) {
        return std::string(runtime) + "/" + SafeComponent(name) + ".lock";
    }
    return "/tmp/" + SafeComponent(name) + "-" + std::to_string(getuid()) + ".lock";
}

bool IsHeadlessDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        driver = std::getenv("SDL_VIDEODRIVER");
    }
    if (driver == nullptr) {
        return false;
    }
    const std::string name = driver;
    return name == "dummy" || name == "offscreen";
}

}  // namespace

std::string UserDataFolder(const std::string& organisation, const std::string& application) {
    // The XDG rules: a relative XDG_DATA_HOME is invalid and ignored.
    std::string base;
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        base = dataHome;
    } else {
        const std::string home = HomeFolder();
        if (home.empty()) {
            return {};
        }
        base = home + "/.local/share";
    }
    if (base.back() != '/') {
        base += '/';
    }
    const std::string folder =
        base + SafeComponent(organisation) + "/" + SafeComponent(application) + "/";
    // A folder that cannot be made is still the place: the opens inside it
    // then fail and their callers report it, rather than the files going
    // unnoticed into whatever folder the game was started from.
    MakeFolders(folder);
    return folder;
}

bool AcquireSingleInstance(const std::string& name) {
    // The descriptors stay open for the life of the process; the kernel drops
    // the locks when it ends, however it ends. A second request from the same
    // process is refused like one from another process.
    static std::set<std::string> held;
    const std::string path = LockPath(name);
    if (held.count(path) != 0) {
        return false;
    }
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    held.insert(path);
    return true;
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    // A headless driver has no one to click the box away.
    if (!IsHeadlessDriver() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(),
                                                        text.c_str(), nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

namespace {

UrlOpener& CurrentUrlOpener() {
    static UrlOpener opener;
    return opener;
}

// The programs already said to be unable to run here.
std::set<std::string>& ToldPrograms() {
    static std::set<std::string> told;
    return told;
}

bool OpenWithDesktop(const std::string& address) {
    if (IsHeadlessDriver()) {
        std::fprintf(stderr, "no desktop to open \"%s\" on\n", address.c_str());
        return false;
    }
    if (SDL_OpenURL(address.c_str()) != 0) {
        std::fprintf(stderr, "could not open \"%s\": %s\n", address.c_str(), SDL_GetError());
        return false;
    }
    return true;
}

std::string Lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && Lowered(text.substr(text.size() - tail.size())) == tail;
}

bool IsWebAddress(const std::string& text) {
    const std::string lowered = Lowered(text);
    return lowered.rfind("http://", 0) == 0 || lowered.rfind("https://", 0) == 0;
}

// A link file is a handful of short lines; nothing past this is read.
constexpr std::size_t LINK_FILE_LIMIT = 4096;

enum class LinkFileRead { Read, Missing, NotAFile };

// The start of the link file at `path`, whole lines only. It is opened without
// blocking, so that a named pipe is refused instead of waited on (the game
// reads the link while it closes), and its type is asked of the open file, so
// that a device behind a symbolic link (/dev/zero) is refused as well.
LinkFileRead ReadLinkFile(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return LinkFileRead::Missing;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return LinkFileRead::NotAFile;
    }
    text.assign(LINK_FILE_LIMIT, '\0');
    std::size_t length = 0;
    while (length < text.size()) {
        const ssize_t got = ::read(fd, text.data() + length, text.size() - length);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        length += static_cast<std::size_t>(got);
    }
    close(fd);
    text.resize(length);
    // A line cut at the limit could be a cut address.
    if (length == LINK_FILE_LIMIT) {
        const std::size_t lastEnd = text.rfind('\n');
        text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    return LinkFileRead::Read;
}

// The address on the first "URL=" line of a link file's text (the key in any
// case, CR LF or LF line ends); empty when there is none.
std::string LinkFileAddress(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (Lowered(line.substr(0, 4)) == "url=") {
            return line.substr(4);
        }
    }
    return {};
}

}  // namespace

void SetUrlOpener(UrlOpener opener) {
    CurrentUrlOpener() = std::move(opener);
}

void ForgetShellNotices() {
    ToldPrograms().clear();
}

bool ShellOpen(const std::string& path) {
    if (EndsWithNoCase(path, ".exe")) {
        if (ToldPrograms().insert(path).second) {
            std::fprintf(stderr, "\"%s\" is a Windows program and cannot run here\n", path.c_str());
        }
        return false;
    }
    std::string address = path;
    if (EndsWithNoCase(path, ".url")) {
        std::string text;
        switch (ReadLinkFile(path, text)) {
            case LinkFileRead::Missing:
                std::fprintf(stderr, "link file \"%s\" not found, nothing opened\n", path.c_str());
                return false;
            case LinkFileRead::NotAFile:
                std::fprintf(stderr, "link file \"%s\" is not a regular file, nothing opened\n",
                             path.c_str());
                return false;
            case LinkFileRead::Read:
                break;
        }
        address = LinkFileAddress(text);
    }
    if (!IsWebAddress(address)) {
        std::fprintf(stderr, "\"%s\" holds no web address, nothing opened\n", path.c_str());
        return false;
    }
    const UrlOpener& opener = CurrentUrlOpener();
    return opener ? opener(address) : OpenWithDesktop(address);
}

SystemReport QuerySystemReport() {
    SystemReport report;
    utsname names{};
    if (uname(&names) == 0) {
        report.osName = names.sysname;
        report.osRelease = names.release;
        report.osVersion = names.version;
        report.machine = names.machine;
    }
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        const unsigned long long unit = info.mem_unit != 0 ? info.mem_unit : 1;
        report.totalMemoryBytes = info.totalram * unit;
        report.freeMemoryBytes = info.freeram * unit;
        report.totalSwapBytes = info.totalswap * unit;
        report.freeSwapBytes = info.freeswap * unit;
    }
    return report;
}

bool CloseRequested() {
    if (g_quitSeen.load()) {
        return true;
    }
    // SDL turns SIGINT and SIGTERM into SDL_QUIT once its event system runs.
    return SDL_WasInit(SDL_INIT_EVENTS) != 0 && SDL_QuitRequested();
}

namespace sdl {

void NoteQuitEvent() {
    g_quitSeen.store(true);
}

void InstallHangupHandler() {
    if (g_hangupInstalled) {
        return;
    }
    struct sigaction previous {};
    if (sigaction(SIGHUP, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = OnHangup;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGHUP, &action, &g_previousHangup) == 0) {
        g_hangupInstalled = true;
    }
}

void RemoveHangupHandler() {
    if (g_hangupInstalled) {
        sigaction(SIGHUP, &g_previousHangup, nullptr);
        g_hangupInstalled = false;
    }
}

}  // namespace sdl

void ReturnFreeMemory() {
    malloc_trim(0);
}

}  // namespace backend

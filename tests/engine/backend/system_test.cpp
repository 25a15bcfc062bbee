// Operating-system services: the clock, the per-user folder, the
// single-instance lock, picture files and the error and shell requests.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/backend/clock.h"
#include "engine/backend/image.h"
#include "engine/backend/system.h"

namespace {

// A scratch folder of the process, removed with everything in it at exit.
const std::string& ScratchFolder() {
    struct Folder {
        Folder() {
            path = ::testing::TempDir() + "backend-" + std::to_string(getpid());
            std::filesystem::create_directories(path);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
        std::string path;
    };
    static const Folder folder;
    return folder.path;
}

std::string TempPath(const std::string& name) {
    return ScratchFolder() + "/" + name;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(ClockTest, NeverZeroMonotonicAndReplaceable) {
    backend::IClock& clock = backend::Clock();
    double lastSeconds = clock.Seconds();
    std::uint64_t lastMs = clock.Milliseconds();
    EXPECT_GT(lastSeconds, 0.0);
    EXPECT_GT(lastMs, 0u);
    for (int i = 0; i < 1000; ++i) {
        const double seconds = clock.Seconds();
        const std::uint64_t ms = clock.Milliseconds();
        ASSERT_GE(seconds, lastSeconds);
        ASSERT_GE(ms, lastMs);
        lastSeconds = seconds;
        lastMs = ms;
    }
    clock.Sleep(30);
    EXPECT_GE(clock.Milliseconds() - lastMs, 29u);
    EXPECT_NEAR(clock.Seconds() * 1000.0, static_cast<double>(clock.Milliseconds()), 5.0);

    struct FakeClock : backend::IClock {
        double Seconds() override { return 42.0; }
        std::uint64_t Milliseconds() override { return 42000; }
        void Sleep(std::uint32_t) override {}
    } fake;
    backend::SetClock(&fake);
    EXPECT_EQ(backend::Clock().Milliseconds(), 42000u);
    backend::SetClock(nullptr);
    EXPECT_NE(backend::Clock().Milliseconds(), 42000u);
}

TEST(SystemTest, UserDataFolderIsMadeUnderXdgDataHome) {
    const std::string previous = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    const std::string base = TempPath("xdg") + "/nested";
    setenv("XDG_DATA_HOME", base.c_str(), 1);
    const std::string folder = backend::UserDataFolder("Ostrel", "Corvalen");
    EXPECT_EQ(folder, base + "/Ostrel/Corvalen/");
    EXPECT_TRUE(IsDirectory(folder));
    EXPECT_EQ(backend::UserDataFolder("Ostrel", "Corvalen"), folder) << "exists already";

    // A folder that cannot be made is still named, so that the files opened
    // in it fail where they should be rather than land somewhere else.
    const std::string file = TempPath("file");
    std::ofstream(file) << "x";
    setenv("XDG_DATA_HOME", file.c_str(), 1);
    EXPECT_EQ(backend::UserDataFolder("Ostrel", "Corvalen"), file + "/Ostrel/Corvalen/");

    // A relative XDG_DATA_HOME is no base at all: the home folder's default.
    const std::string home = TempPath("home");
    const std::string previousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    ::mkdir(home.c_str(), 0700);
    setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(backend::UserDataFolder("Ostrel", "Corvalen"),
              home + "/.local/share/Ostrel/Corvalen/");
    setenv("HOME", previousHome.c_str(), 1);
    if (previous.empty()) {
        unsetenv("XDG_DATA_HOME");
    } else {
        setenv("XDG_DATA_HOME", previous.c_str(), 1);
    }
}

TEST(SystemTest, SingleInstanceLockRefusesWhileAnotherProcessHoldsIt) {
    // A lock once taken is held until the process ends, so every run of this
    // test in one process takes a name of its own.
    static int run = 0;
    const std::string name =
        "corvalen-test-" + std::to_string(getpid()) + "-" + std::to_string(++run);
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const char held = backend::AcquireSingleInstance(name) ? 'y' : 'n';
        (void)!write(toParent[1], &held, 1);
        char done = 0;
        (void)!read(toChild[0], &done, 1);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(toParent[0], &held, 1), 1);
    EXPECT_EQ(held, 'y');
    EXPECT_FALSE(backend::AcquireSingleInstance(name));

    const char done = 'x';
    ASSERT_EQ(write(toChild[1], &done, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(backend::AcquireSingleInstance(name)) << "released when the holder ended";
    EXPECT_FALSE(backend::AcquireSingleInstance(name)) << "held once per process";
    for (int fd : {toParent[0], toParent[1], toChild[0], toChild[1]}) {
        close(fd);
    }
}

// Link files and addresses go to the opener; programs, missing files and
// addresses that are not on the web never do. A recorder stands in for the
// desktop's opener, so no browser starts.
TEST(SystemTest, ShellOpensLinkFilesAndWebAddressesOnly) {
    struct Case {
        const char* name;
        const char* file;    // the bytes of the link file; nullptr: no file
        const char* opened;  // "" when nothing reaches the opener
        const char* said;    // on standard error
    };
    const Case cases[] = {
        {"play.url", "[InternetShortcut]\r\nURL=https://example.org/play?a=1\r\nIconIndex=0\r\n",
         "https://example.org/play?a=1", ""},
        {"lower.URL", "[InternetShortcut]\nurl=http://example.org/\n", "http://example.org/", ""},
        {"missing.url", nullptr, "", "link file"},
        {"empty.url", "[InternetShortcut]\r\nIconIndex=0\r\n", "", "no web address"},
        {"local.url", "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n", "", "no web address"},
        {"https://www.example.org/help", nullptr, "https://www.example.org/help", ""},
        {"fscommand/tovask.exe", nullptr, "", "Windows program"},
        {"readme.txt", "text", "", "no web address"},
    };
    backend::ForgetShellNotices();  // every program is mentioned once more
    std::vector<std::string> opened;
    backend::SetUrlOpener([&opened](const std::string& address) {
        opened.push_back(address);
        return true;
    });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            c.file != nullptr || std::string(c.name).ends_with(".url") ? TempPath(c.name) : c.name;
        if (c.file != nullptr) {
            std::ofstream(path, std::ios::binary) << c.file;
        }
        opened.clear();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(backend::ShellOpen(path), c.opened[0] != '\0');
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(opened, c.opened[0] != '\0' ? std::vector<std::string>{c.opened}
                                              : std::vector<std::string>{});
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }

    // A program is mentioned once, however often it is asked for.
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(backend::ShellOpen("fscommand/tovask.exe"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    // The desktop's opener is never reached under a headless driver.
    backend::SetUrlOpener({});
    ASSERT_STREQ(std::getenv("SDL_VIDEODRIVER"), "dummy");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(backend::ShellOpen("https://example.org/"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("no desktop"), std::string::npos);
}

// What reaches the opener when `path` is asked for in a child process, so
// that a request that never ends fails the test instead of hanging it: the
// address, "" for none, "hung" past the deadline. `readBytes` is what the
// request read from files, measured by the kernel.
struct ChildOpen {
    std::string opened;
    unsigned long long readBytes = 0;
};

unsigned long long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    unsigned long long value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

ChildOpen OpenInChild(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0) {
        return {"no pipe"};
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::string opened;
        backend::SetUrlOpener([&opened](const std::string& address) {
            opened = address;
            return true;
        });
        const unsigned long long before = BytesReadSoFar();
        backend::ShellOpen(path);
        const std::string report = std::to_string(BytesReadSoFar() - before) + " " + opened;
        (void)!write(channel[1], report.data(), report.size());
        _exit(0);
    }
    close(channel[1]);
    std::string report;
    const std::uint64_t deadline = backend::Clock().Milliseconds() + 3000;
    bool ended = false;
    while (!ended && backend::Clock().Milliseconds() < deadline) {
        pollfd waiting{channel[0], POLLIN, 0};
        if (poll(&waiting, 1, 50) > 0) {
            char buffer[256];
            const ssize_t got = read(channel[0], buffer, sizeof buffer);
            ended = got <= 0;
            report.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
        }
    }
    close(channel[0]);
    if (!ended) {
        kill(child, SIGKILL);
    }
    waitpid(child, nullptr, 0);
    if (!ended) {
        return {"hung"};
    }
    ChildOpen result;
    const std::size_t space = report.find(' ');
    result.readBytes = std::stoull(report.substr(0, space));
    result.opened = space == std::string::npos ? "" : report.substr(space + 1);
    return result;
}

// Only a regular file is a link file, and only its first few kilobytes are
// read: a named pipe would wait for a writer for good, and a device or a
// huge file would fill the memory, and all of that while the game closes.
TEST(SystemTest, LinkFilesAreReadOnlyWhenRegularAndOnlyTheirStart) {
    const std::string text = "[InternetShortcut]\r\nURL=https://example.org/\r\n";
    const off_t huge = off_t{256} << 20;
    for (const char* name : {"pipe.url", "zero.url", "huge.url", "long.url", "link.url"}) {
        std::filesystem::remove(TempPath(name));  // from an earlier run in this process
    }
    const std::string pipePath = TempPath("pipe.url");
    ASSERT_EQ(mkfifo(pipePath.c_str(), 0600), 0);
    const std::string zeroPath = TempPath("zero.url");
    ASSERT_EQ(symlink("/dev/zero", zeroPath.c_str()), 0);
    const std::string hugePath = TempPath("huge.url");
    std::ofstream{hugePath};
    ASSERT_EQ(truncate(hugePath.c_str(), huge), 0);
    const std::string longPath = TempPath("long.url");
    std::ofstream(longPath, std::ios::binary) << text;
    ASSERT_EQ(truncate(longPath.c_str(), huge), 0);
    const std::string linkPath = TempPath("link.url");
    ASSERT_EQ(symlink(longPath.c_str(), linkPath.c_str()), 0);

    struct Case {
        std::string path;
        const char* opened;
    };
    const Case cases[] = {
        {pipePath, ""},
        {zeroPath, ""},
        {hugePath, ""},
        {longPath, "https://example.org/"},
        {linkPath, "https://example.org/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ChildOpen result = OpenInChild(c.path);
        EXPECT_EQ(result.opened, c.opened);
        EXPECT_LT(result.readBytes, 64u * 1024u);
    }
}

TEST(SystemTest, ErrorBoxAndSystemReport) {
    ::testing::internal::CaptureStderr();
    backend::ShowErrorBox("Corvalen", "Game is already started. %s %n");
    const std::string text = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("Corvalen: Game is already started. %s %n"), std::string::npos);

    const backend::SystemReport report = backend::QuerySystemReport();
    EXPECT_EQ(report.osName, "Linux");
    EXPECT_FALSE(report.osRelease.empty());
    EXPECT_GT(report.totalMemoryBytes, 0u);
    EXPECT_LE(report.freeMemoryBytes, report.totalMemoryBytes);
}

TEST(ImageTest, PngKeepsEveryPixelAndItsAlpha) {
    backend::DecodedImage image;
    image.width = 3;
    image.height = 2;
    image.pixels = {0xFFFF0000, 0x8000FF00, 0x00000000, 0xFF0000FF, 0x40FFFFFF, 0xFF123456};
    const std::string path = TempPath("round.png");
    ASSERT_TRUE(backend::SavePng(path, image));

    backend::DecodedImage loaded;
    ASSERT_EQ(backend::DecodeImageFile(path, loaded), backend::DecodeResult::Ok);
    EXPECT_EQ(loaded.width, 3);
    EXPECT_EQ(loaded.height, 2);
    EXPECT_EQ(loaded.pixels, image.pixels);
    EXPECT_TRUE(loaded.hasAlpha);
    EXPECT_EQ(loaded.bitsPerPixel, 32);

    backend::DecodedImage wrongSize = image;
    wrongSize.pixels.pop_back();
    EXPECT_FALSE(backend::SavePng(TempPath("bad.png"), wrongSize));
}

TEST(ImageTest, TgaRowsComeTopFirstWhateverTheFileOrder) {
    // 2 x 2, 32 bits: top row red, green; bottom row blue, half-white. The
    // same picture stored bottom-up (the usual order) and top-down.
    const std::vector<std::uint32_t> expected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF};
    for (const bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32};
        tga.push_back(topDown ? 0x28 : 0x08);
        const int rows[2] = {topDown ? 0 : 1, topDown ? 1 : 0};
        for (const int row : rows) {
            for (int x = 0; x < 2; ++x) {
                const std::uint32_t argb = expected[static_cast<std::size_t>(row * 2 + x)];
                tga.push_back(static_cast<std::uint8_t>(argb));        // blue
                tga.push_back(static_cast<std::uint8_t>(argb >> 8));   // green
                tga.push_back(static_cast<std::uint8_t>(argb >> 16));  // red
                tga.push_back(static_cast<std::uint8_t>(argb >> 24));  // alpha
            }
        }
        const std::string path = TempPath(topDown ? "down.tga" : "up.tga");
        WriteBytes(path, tga);
        backend::DecodedImage loaded;
        ASSERT_EQ(backend::DecodeImageFile(path, loaded), backend::DecodeResult::Ok);
        EXPECT_EQ(loaded.pixels, expected);
    }
}

TEST(ImageTest, MissingAndUndecodableFilesAreToldApart) {
    backend::DecodedImage loaded;
    EXPECT_EQ(backend::DecodeImageFile(TempPath("nothing.png"), loaded),
              backend::DecodeResult::Missing);
    const std::string folder = TempPath("folder.png");
    ::mkdir(folder.c_str(), 0700);
    EXPECT_EQ(backend::DecodeImageFile(folder, loaded), backend::DecodeResult::Missing);

    const std::string junk = TempPath("junk.png");
    WriteBytes(junk, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
    EXPECT_EQ(backend::DecodeImageFile(junk, loaded), backend::DecodeResult::Invalid);
    EXPECT_TRUE(loaded.pixels.empty());
}

}  // namespace

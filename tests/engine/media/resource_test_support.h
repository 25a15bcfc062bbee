#pragma once
// Shared by the resource manager's tests: a scratch folder that becomes the
// working folder (the game opens Resources/Data/ relative to it), writers of
// the small pictures and font files the tests make for themselves, the one
// window and render device of the test program, a device wrapper that keeps
// what was drawn and presented, and a clock that steps by a fixed amount.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/backend/clock.h"
#include "engine/backend/image.h"
#include "engine/backend/video.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/html_log.h"

namespace resource_test {

// Every test process gets a data folder of its own, inside the private one the
// test run provides (or the temporary folder in a direct run), so that tests
// running side by side never share a log. It goes again at exit, after the log
// has written its last line.
struct PrivateDataFolder {
    PrivateDataFolder() {
        const char* given = std::getenv("XDG_DATA_HOME");
        const std::filesystem::path base = given != nullptr
                                               ? std::filesystem::path(given)
                                               : std::filesystem::temp_directory_path();
        folder = base / ("media-" + std::to_string(::getpid()));
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~PrivateDataFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
};
inline PrivateDataFolder g_privateDataFolder;

inline constexpr int SCREEN_WIDTH = 256;
inline constexpr int SCREEN_HEIGHT = 192;

// The one window and device of the program (one window per process).
inline backend::IRenderDevice* Device() {
    static std::unique_ptr<backend::IWindow> window;
    static std::unique_ptr<backend::IRenderDevice> device;
    if (!device) {
        if (!backend::Video().Init()) {
            return nullptr;
        }
        backend::WindowDesc desc;
        desc.title = "media tests";
        desc.clientWidth = SCREEN_WIDTH;
        desc.clientHeight = SCREEN_HEIGHT;
        window = backend::Video().CreateWindow(desc);
        if (window) {
            device = window->CreateDevice();
        }
    }
    return device.get();
}

inline std::vector<std::uint32_t> ReadScreen(backend::IRenderDevice* device) {
    std::vector<std::uint32_t> pixels;
    device->ReadPixels(pixels);
    return pixels;
}

inline std::uint32_t PixelAt(const std::vector<std::uint32_t>& pixels, int x, int y) {
    return pixels.at(static_cast<std::size_t>(y) * SCREEN_WIDTH + static_cast<std::size_t>(x));
}

inline int Red(std::uint32_t argb) {
    return static_cast<int>((argb >> 16) & 0xFF);
}
inline int Green(std::uint32_t argb) {
    return static_cast<int>((argb >> 8) & 0xFF);
}
inline int Blue(std::uint32_t argb) {
    return static_cast<int>(argb & 0xFF);
}

// Colour bytes of a pixel within `tolerance` of the expected RGB.
inline ::testing::AssertionResult RgbNear(std::uint32_t actual, std::uint32_t expected,
                                          int tolerance = 2) {
    if (std::abs(Red(actual) - Red(expected)) <= tolerance &&
        std::abs(Green(actual) - Green(expected)) <= tolerance &&
        std::abs(Blue(actual) - Blue(expected)) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    char text[64];
    std::snprintf(text, sizeof text, "0x%06X, expected 0x%06X", actual & 0xFFFFFF,
                  expected & 0xFFFFFF);
    return ::testing::AssertionFailure() << text;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A 32-bit PNG with an alpha channel.
inline void WritePng(const std::string& path, int width, int height,
                     const std::vector<std::uint32_t>& pixels) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) {
        std::filesystem::create_directories(file.parent_path());
    }
    backend::DecodedImage image;
    image.width = width;
    image.height = height;
    image.pixels = pixels;
    ASSERT_TRUE(backend::SavePng(path, image)) << path;
}

inline void WriteSolidPng(const std::string& path, int width, int height, std::uint32_t argb) {
    WritePng(path, width, height,
             std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), argb));
}

// An uncompressed TGA, top row first, of 24 bits (alpha dropped) or 32 bits.
inline void WriteTga(const std::string& path, int width, int height,
                     const std::vector<std::uint32_t>& pixels, int bits) {
    std::string bytes(18, '\0');
    bytes[2] = 2;  // true colour, uncompressed
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = static_cast<char>(bits);
    bytes[17] = static_cast<char>(0x20 | (bits == 32 ? 8 : 0));  // top-left origin
    for (const std::uint32_t p : pixels) {
        bytes.push_back(static_cast<char>(p & 0xFF));
        bytes.push_back(static_cast<char>((p >> 8) & 0xFF));
        bytes.push_back(static_cast<char>((p >> 16) & 0xFF));
        if (bits == 32) {
            bytes.push_back(static_cast<char>(p >> 24));
        }
    }
    WriteFile(path, bytes);
}

// An uncompressed 8-bit TGA, top row first: grey levels, or palette indices
// into `palette` (0xRRGGBB entries) when it is not empty.
inline void WriteEightBitTga(const std::string& path, int width, int height,
                             const std::vector<std::uint8_t>& pixels,
                             const std::vector<std::uint32_t>& palette = {}) {
    std::string bytes(18, '\0');
    if (!palette.empty()) {
        bytes[1] = 1;  // a colour map
        bytes[2] = 1;  // colour-mapped, uncompressed
        bytes[5] = static_cast<char>(palette.size() & 0xFF);
        bytes[6] = static_cast<char>(palette.size() >> 8);
        bytes[7] = 24;
    } else {
        bytes[2] = 3;  // grey, uncompressed
    }
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 8;
    bytes[17] = 0x20;  // top-left origin
    for (const std::uint32_t rgb : palette) {
        bytes.push_back(static_cast<char>(rgb & 0xFF));
        bytes.push_back(static_cast<char>((rgb >> 8) & 0xFF));
        bytes.push_back(static_cast<char>((rgb >> 16) & 0xFF));
    }
    bytes.append(pixels.begin(), pixels.end());
    WriteFile(path, bytes);
}

// A PNG of 8-bit samples written byte for byte: colour type 0 grey (one byte a
// pixel), 2 colour (red, green, blue), 3 palette (one index, `palette` holding
// 0xRRGGBB entries) or 4 grey and alpha (grey, alpha). `transparency` is the
// body of a tRNS chunk, none when empty. The image data is stored without
// compression.
inline void WriteSamplePng(const std::string& path, int width, int height, int colourType,
                           const std::vector<std::uint8_t>& samples,
                           const std::vector<std::uint32_t>& palette = {},
                           const std::string& transparency = {}) {
    const auto crc32 = [](const std::string& data) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (const char c : data) {
            crc ^= static_cast<std::uint8_t>(c);
            for (int k = 0; k < 8; ++k) {
                crc = (crc & 1u) != 0 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
            }
        }
        return crc ^ 0xFFFFFFFFu;
    };
    const auto bigEndian = [](std::uint32_t value) {
        std::string bytes;
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
        return bytes;
    };
    const auto chunk = [&](const std::string& type, const std::string& data) {
        return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data +
               bigEndian(crc32(type + data));
    };
    const std::size_t rowBytes = samples.size() / static_cast<std::size_t>(height > 0 ? height : 1);
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // no filter
        raw.append(samples.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                   samples.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
    }
    // One stored deflate block, in a zlib wrapper with its Adler-32 sum.
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521u;
        b = (b + a) % 65521u;
    }
    const auto length = static_cast<std::uint16_t>(raw.size());
    std::string zlib = {'\x78', '\x01', '\x01'};
    for (const std::uint16_t half : {length, static_cast<std::uint16_t>(~length)}) {
        zlib.push_back(static_cast<char>(half & 0xFF));
        zlib.push_back(static_cast<char>(half >> 8));
    }
    zlib += raw + bigEndian((b << 16) | a);

    std::string header = bigEndian(static_cast<std::uint32_t>(width)) +
                         bigEndian(static_cast<std::uint32_t>(height));
    header += {'\x08', static_cast<char>(colourType), '\0', '\0', '\0'};
    std::string paletteBytes;
    for (const std::uint32_t rgb : palette) {
        paletteBytes += {static_cast<char>((rgb >> 16) & 0xFF),
                         static_cast<char>((rgb >> 8) & 0xFF), static_cast<char>(rgb & 0xFF)};
    }
    std::string png = "\x89PNG\r\n\x1A\n" + chunk("IHDR", header);
    if (!palette.empty()) {
        png += chunk("PLTE", paletteBytes);
    }
    if (!transparency.empty()) {
        png += chunk("tRNS", transparency);
    }
    WriteFile(path, png + chunk("IDAT", zlib) + chunk("IEND", ""));
}

// The log as written since the last Start().
inline std::string ReadLog() {
    return ReadFile(HtmlLog().GetLogPath());
}

struct LogEntry {
    std::string colour;
    std::string text;
};

// The log's entries in order, without time stamps and tags, each with the
// colour word it was written in. A text may span lines.
inline std::vector<LogEntry> LogEntries() {
    std::vector<LogEntry> entries;
    std::stringstream log(ReadLog());
    std::string line;
    std::string colour;
    std::string pending;
    const std::string tag = "<Font Size = 2 Color = ";
    while (std::getline(log, line)) {
        if (line == "</Font>" || line == "<B>" || line == "</B>") {
            continue;
        }
        if (line.rfind(tag, 0) == 0) {
            colour = line.substr(tag.size(), line.find(" Face") - tag.size());
            continue;
        }
        if (line.rfind("<", 0) == 0 && pending.empty() && line != "<BR>") {
            continue;  // the page header
        }
        pending += pending.empty() ? line : "\n" + line;
        const std::size_t end = pending.rfind("<BR>");
        if (end == std::string::npos || end + 4 != pending.size()) {
            continue;
        }
        std::size_t start = 0;
        if (pending.rfind("[", 0) == 0 && pending.find("] - ") != std::string::npos) {
            start = pending.find("] - ") + 4;
        }
        entries.push_back({colour, pending.substr(start, end - start)});
        pending.clear();
    }
    return entries;
}

inline std::vector<std::string> LogTexts() {
    std::vector<std::string> texts;
    for (const LogEntry& entry : LogEntries()) {
        texts.push_back(entry.text);
    }
    return texts;
}

inline bool LogHas(const std::string& text, const std::string& colour = "") {
    for (const LogEntry& entry : LogEntries()) {
        if (entry.text == text && (colour.empty() || entry.colour == colour)) {
            return true;
        }
    }
    return false;
}

// A scratch folder made the working folder for one test; the previous working
// folder comes back afterwards. The log starts empty.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvalen-media-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        std::filesystem::current_path(m_folder);
        HtmlLog().Start();
    }

    void TearDown() override {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    void WriteIndex(const std::string& body) {
        WriteFile("Resources/Data/resources.xml", "<?xml version=\"1.0\"?>\n" + body);
    }

    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

// Forwards to a real device and keeps every sprite draw and, at each Present,
// the presented back buffer.
class CRecordingDevice : public backend::IRenderDevice {
public:
    struct Drawn {
        backend::SpriteDraw draw;
        bool hasSource = false;
        backend::Rect source;
    };

    explicit CRecordingDevice(backend::IRenderDevice* real) : m_real(real) {}

    std::unique_ptr<backend::ITexture> CreateTexture(int width, int height,
                                                     const std::uint32_t* pixels) override {
        return m_real->CreateTexture(width, height, pixels);
    }
    void Clear(std::uint32_t argb) override { m_real->Clear(argb); }
    bool BeginScene() override { return m_real->BeginScene(); }
    void EndScene() override { m_real->EndScene(); }
    bool Present() override {
        if (m_keepFrames) {
            frames.push_back(ReadScreen(m_real));
        }
        ++presents;
        if (!vsync) {
            ++immediatePresents;
        }
        return m_real->Present();
    }
    void SetVSync(bool on) override {
        vsync = on;
        m_real->SetVSync(on);
    }
    backend::DrawResult Draw(const backend::SpriteDraw& draw) override {
        Drawn drawn;
        drawn.draw = draw;
        if (draw.source != nullptr) {
            drawn.hasSource = true;
            drawn.source = *draw.source;
        }
        drawn.draw.source = nullptr;
        draws.push_back(drawn);
        return m_real->Draw(draw);
    }
    void FillRect(const backend::Rect& rect, std::uint32_t argb) override {
        m_real->FillRect(rect, argb);
    }
    int BackBufferWidth() const override { return m_real->BackBufferWidth(); }
    int BackBufferHeight() const override { return m_real->BackBufferHeight(); }
    backend::DeviceStatus Status() override { return m_real->Status(); }
    bool Reset() override { return m_real->Reset(); }
    bool ReadPixels(std::vector<std::uint32_t>& out) override { return m_real->ReadPixels(out); }
    void SimulateStatus(backend::DeviceStatus status, bool failNextReset) override {
        m_real->SimulateStatus(status, failNextReset);
    }
    std::string RendererName() const override { return m_real->RendererName(); }
    int MaxTextureSize() const override { return m_real->MaxTextureSize(); }

    void KeepFrames(bool keep) { m_keepFrames = keep; }

    std::vector<Drawn> draws;
    std::vector<std::vector<std::uint32_t>> frames;
    int presents = 0;
    // Presents made without waiting for the refresh.
    int immediatePresents = 0;
    bool vsync = true;

private:
    backend::IRenderDevice* m_real;
    bool m_keepFrames = false;
};

// A clock that moves on by `step` seconds at every reading, so that timed
// sequences run at a known pace without waiting.
class CSteppingClock : public backend::IClock {
public:
    CSteppingClock(double start, double step) : m_now(start), m_step(step) {}
    double Seconds() override {
        const double now = m_now;
        m_now += m_step;
        return now;
    }
    std::uint64_t Milliseconds() override { return static_cast<std::uint64_t>(Seconds() * 1000.0); }
    void Sleep(std::uint32_t) override {}

private:
    double m_now;
    double m_step;
};

// Installs a clock for the lifetime of the object.
class ScopedClock {
public:
    explicit ScopedClock(backend::IClock* clock) { backend::SetClock(clock); }
    ~ScopedClock() { backend::SetClock(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace resource_test

#include "engine/platform/html_log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "engine/backend/system.h"

namespace {

constexpr std::size_t MAX_TEXT = 1023;
constexpr std::size_t MAX_COLOUR = 200;

// The local time in the shape "Wed Jan  5 14:03:09 2011", without the
// trailing newline; spelled out so that the locale cannot change it.
std::string LocalTimeText() {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return std::string();
    }
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.3s %.3s%3d %.2d:%.2d:%.2d %d", days[local.tm_wday % 7],
                  months[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, 1900 + local.tm_year);
    return buffer;
}

void EndLine(std::ofstream& out) {
    out << std::endl;
}

}  // namespace

void log_format::FormatDoesNotMatchArguments() {}

bool GetUserDataFolder(std::string* folder) {
    const std::string path = backend::UserDataFolder("Ostrel", "Corvalen");
    if (path.empty()) {
        return false;
    }
    *folder = path;
    return true;
}

CHtmlLog::CHtmlLog() {
    GetUserDataFolder(&m_userFolder);
    m_logPath = m_userFolder + "log.html";
}

CHtmlLog::~CHtmlLog() {
    if (m_started) {
        WriteRaw("</Font> </P> </Body> </Html>");
    }
}

void CHtmlLog::Start() {
    { std::ofstream truncate(m_logPath, std::ios::out | std::ios::trunc); }
    m_started = true;
    m_fontTag.clear();
    m_previousFontTag.clear();
    WriteRaw("<Title>Log File</Title>");
    WriteRaw("<Html> <Body BgColor = FFFFFF>");
    WriteRaw("<Font Size = 3 Color = Blue Face = Verdana>");
    WriteEx("Blue", false, true, "%s", "Corvalen");
    WriteEx("DarkBlue", false, false, "Version %s<BR>", "1.04");
    WriteEx("Black", false, true, "Log is started<BR>");
    LogOsVersion();
    LogMemoryStatus();
}

void CHtmlLog::WriteRaw(const std::string& text) {
    if (!m_started) {
        return;
    }
    std::ofstream out(m_logPath, std::ios::out | std::ios::app);
    out << text;
    EndLine(out);
}

void CHtmlLog::WriteLine(const char* colour, bool timeStamp, bool bold, const char* format, ...) {
    if (!m_started || format == nullptr) {
        return;
    }
    char text[MAX_TEXT + 1];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (length < 0) {
        text[0] = '\0';
    }

    std::ofstream out(m_logPath, std::ios::out | std::ios::app);
    std::string colourWord = colour != nullptr ? colour : "";
    if (colourWord.size() > MAX_COLOUR) {
        colourWord.resize(MAX_COLOUR);
    }
    m_fontTag = "<Font Size = 2 Color = " + colourWord + " Face = Verdana>";
    // A run of lines in one colour shares one font element.
    if (m_fontTag != m_previousFontTag) {
        out << "</Font>";
        EndLine(out);
        out << m_fontTag;
        EndLine(out);
        m_previousFontTag = m_fontTag;
    }
    if (bold) {
        out << "<B>";
        EndLine(out);
    }
    if (timeStamp) {
        out << "[" << LocalTimeText() << "] - ";
    }
    out << text << "<BR>";
    EndLine(out);
    if (bold) {
        out << "</B>";
        EndLine(out);
    }
}

bool CHtmlLog::LogOsVersion() {
    Write("Black", "Operating system:");
    const backend::SystemReport report = backend::QuerySystemReport();
    if (report.osName.empty()) {
        Write("Red", "Could not get OS version!");
        return false;
    }
    Write("Gray", "%s ", report.osName.c_str());
    if (!report.machine.empty()) {
        Write("Gray", "%s ", report.machine.c_str());
    }
    Write("Gray", "%s (Build %s)\n", report.osRelease.c_str(), report.osVersion.c_str());
    return true;
}

void CHtmlLog::LogMemoryStatus() {
    const backend::SystemReport report = backend::QuerySystemReport();
    // Virtual memory is what the system can commit: memory and swap together.
    const unsigned long long totalVirtual = report.totalMemoryBytes + report.totalSwapBytes;
    const unsigned long long freeVirtual = report.freeMemoryBytes + report.freeSwapBytes;
    Write("Black", "Memory status:");
    Write("Gray", "Total physical memory: %.02f MB.\n",
          static_cast<double>(report.totalMemoryBytes) / 1048576.0);
    Write("Gray", "Available physical memory:  %.02f MB.\n",
          static_cast<double>(report.freeMemoryBytes) / 1048576.0);
    Write("Gray", "Total virtual memory: %u MB.\n", static_cast<unsigned>(totalVirtual >> 20));
    Write("Gray", "Available virtual memory:  %u MB.\n", static_cast<unsigned>(freeVirtual >> 20));
}

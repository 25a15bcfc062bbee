#pragma once
// The diagnostic log: log.html in the per-user folder, an HTML page of
// coloured, time-stamped lines, opened and closed around every line so that it
// is complete up to the last line even if the process dies. It also holds the
// per-user folder that every save file lives in.
//
// The log is a singleton created on first use and destroyed last at exit. It
// writes nothing until Start(): the framework calls it once the single-instance
// guard has let this process through, so that a refused second start never
// truncates (or appends to) the running game's log.
//
// Formats are printf formats and must be compile-time constants: a text from
// data or from the player goes through "%s", never as the format itself
// (Write("Red", "Couldn't open %s", path.c_str())). A formatted text is cut to
// 1023 characters and a colour word to 200.
#include <cstddef>
#include <string>
#include <type_traits>

#include <loki/Singleton.h>

namespace log_format {

enum class ArgKind { Int32, Int64, Double, LongDouble, String, Pointer, Unsupported };

template <class T>
consteval ArgKind KindOf() {
    using U = std::remove_cv_t<T>;
    if constexpr (std::is_same_v<U, bool>) {
        return ArgKind::Int32;
    } else if constexpr (std::is_integral_v<U> ||
                         (std::is_enum_v<U> && std::is_convertible_v<U, int>)) {
        return sizeof(U) <= 4 ? ArgKind::Int32 : ArgKind::Int64;
    } else if constexpr (std::is_same_v<U, float> || std::is_same_v<U, double>) {
        return ArgKind::Double;
    } else if constexpr (std::is_same_v<U, long double>) {
        return ArgKind::LongDouble;
    } else if constexpr (std::is_same_v<U, char*> || std::is_same_v<U, const char*>) {
        return ArgKind::String;
    } else if constexpr (std::is_pointer_v<U> || std::is_null_pointer_v<U>) {
        return ArgKind::Pointer;
    } else {
        return ArgKind::Unsupported;
    }
}

// Not constexpr on purpose: reaching it during the compile-time check of a
// format makes the call ill-formed, which reports the faulty log call.
void FormatDoesNotMatchArguments();

consteval bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks a printf format and checks every conversion against the kinds of the
// arguments. Wide strings, "%n" and class types are refused.
consteval void CheckFormat(const char* format, const ArgKind* kinds, std::size_t count) {
    std::size_t next = 0;
    const auto take = [&](ArgKind expected) {
        if (next >= count || kinds[next] != expected) {
            FormatDoesNotMatchArguments();
        }
        ++next;
    };
    for (const char* c = format; *c != '\0'; ++c) {
        if (*c != '%') {
            continue;
        }
        ++c;
        if (*c == '%') {
            continue;
        }
        while (*c == '-' || *c == '+' || *c == ' ' || *c == '#' || *c == '0') {
            ++c;
        }
        if (*c == '*') {
            take(ArgKind::Int32);
            ++c;
        } else {
            while (IsDigit(*c)) {
                ++c;
            }
        }
        if (*c == '.') {
            ++c;
            if (*c == '*') {
                take(ArgKind::Int32);
                ++c;
            } else {
                while (IsDigit(*c)) {
                    ++c;
                }
            }
        }
        // Length: 0 none or hh/h, 1 a 64-bit integer (l, ll, z, j, t), 2 L.
        int length = 0;
        if (*c == 'h') {
            ++c;
            if (*c == 'h') {
                ++c;
            }
        } else if (*c == 'l' || *c == 'z' || *c == 'j' || *c == 't') {
            length = 1;
            if (*c == 'l' && c[1] == 'l') {
                ++c;
            }
            ++c;
        } else if (*c == 'L') {
            length = 2;
            ++c;
        }
        switch (*c) {
            case 'd':
            case 'i':
            case 'u':
            case 'x':
            case 'X':
            case 'o':
                take(length == 1 ? ArgKind::Int64 : ArgKind::Int32);
                break;
            case 'c':
                if (length != 0) {
                    FormatDoesNotMatchArguments();
                }
                take(ArgKind::Int32);
                break;
            case 'f':
            case 'F':
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                take(length == 2 ? ArgKind::LongDouble : ArgKind::Double);
                break;
            case 's':
                if (length != 0) {
                    FormatDoesNotMatchArguments();
                }
                take(ArgKind::String);
                break;
            case 'p':
                if (next < count && kinds[next] == ArgKind::String) {
                    ++next;
                } else {
                    take(ArgKind::Pointer);
                }
                break;
            default:  // "%n", a cut-off conversion or an unknown letter
                FormatDoesNotMatchArguments();
                return;
        }
    }
    if (next != count) {
        FormatDoesNotMatchArguments();
    }
}

}  // namespace log_format

// A printf format known at compile time and checked against the argument
// types; a text computed at run time cannot become one.
template <class... Args>
class LogFormat {
public:
    consteval LogFormat(const char* format) : m_text(format) {
        constexpr log_format::ArgKind kinds[] = {log_format::KindOf<Args>()...,
                                                 log_format::ArgKind::Unsupported};
        log_format::CheckFormat(format, kinds, sizeof...(Args));
    }
    const char* Text() const { return m_text; }

private:
    const char* m_text;
};

class CHtmlLog {
public:
    CHtmlLog();
    ~CHtmlLog();
    CHtmlLog(const CHtmlLog&) = delete;
    CHtmlLog& operator=(const CHtmlLog&) = delete;

    // Truncates log.html and writes the page header, the version lines and the
    // system report. Lines written before it are dropped. Calling it again
    // starts an empty log once more.
    void Start();
    bool IsStarted() const { return m_started; }

    // One time-stamped line.
    template <class... Args>
    void Write(const char* colour, LogFormat<std::type_identity_t<Args>...> format, Args... args) {
        WriteLine(colour, true, false, format.Text(), args...);
    }
    // One line with an optional time stamp and optional bold wrapping.
    template <class... Args>
    void WriteEx(const char* colour, bool timeStamp, bool bold,
                 LogFormat<std::type_identity_t<Args>...> format, Args... args) {
        WriteLine(colour, timeStamp, bold, format.Text(), args...);
    }
    // One line written as it stands, without font tag or time (page header
    // and footer).
    void WriteRaw(const std::string& text);

    // The per-user folder with a trailing '/', or empty when there is none
    // (then files are used relative to the current directory). Callers append
    // a file name.
    std::string GetUserFolder() const { return m_userFolder; }
    const std::string& GetLogPath() const { return m_logPath; }

    // False only when the operating system cannot be described.
    bool LogOsVersion();
    void LogMemoryStatus();

private:
    void WriteLine(const char* colour, bool timeStamp, bool bold, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

    std::string m_userFolder;
    std::string m_logPath;
    std::string m_fontTag;
    std::string m_previousFontTag;
    bool m_started = false;
};

inline unsigned int GetLongevity(CHtmlLog*) {
    return 10;
}

using HtmlLogHolder = Loki::SingletonHolder<CHtmlLog, Loki::CreateStatic,
                                            Loki::SingletonWithLongevity, Loki::SingleThreaded>;

// The log singleton, created on first use.
inline CHtmlLog& HtmlLog() {
    return HtmlLogHolder::Instance();
}

// Builds "<data folder>/Ostrel/Corvalen/", creating the folders when missing;
// a folder that cannot be created is still the answer. False only when there
// is no data folder to build on; `folder` is then left unchanged.
bool GetUserDataFolder(std::string* folder);

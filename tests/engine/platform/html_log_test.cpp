#include "engine/platform/html_log.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The test programs run with a private XDG_DATA_HOME; a direct run without one
// gets its own folder too, so that no real log is touched.
const bool g_privateDataHome = [] {
    if (std::getenv("XDG_DATA_HOME") == nullptr) {
        const std::string folder = (std::filesystem::temp_directory_path() /
                                    ("html_log_test_" + std::to_string(::getpid())))
                                       .string();
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    return true;
}();

// The time stamp of a line: "[Wed Jan  5 14:03:09 2011] - ".
bool IsStamp(const std::string& text, std::size_t at) {
    static const std::string shape = "[aaa aaa _d dd:dd:dd dddd] - ";
    if (text.size() < at + shape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = text[at + i];
        const char s = shape[i];
        const bool ok = s == 'a'   ? std::isalpha(static_cast<unsigned char>(c)) != 0
                        : s == 'd' ? std::isdigit(static_cast<unsigned char>(c)) != 0
                        : s == '_' ? (c == ' ' || (c >= '1' && c <= '3'))
                                   : c == s;
        if (!ok) {
            return false;
        }
    }
    return true;
}

// A line against a pattern in which "{T}" stands for a time stamp, "{N}" for
// one or more digits and "{*}" for any text; the rest is literal.
bool Matches(const std::string& text, std::size_t at, const std::string& pattern, std::size_t p) {
    if (p == pattern.size()) {
        return at == text.size();
    }
    if (pattern.compare(p, 3, "{T}") == 0) {
        return IsStamp(text, at) && Matches(text, at + 29, pattern, p + 3);
    }
    if (pattern.compare(p, 3, "{N}") == 0) {
        std::size_t digits = at;
        while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
            ++digits;
        }
        return digits > at && Matches(text, digits, pattern, p + 3);
    }
    if (pattern.compare(p, 3, "{*}") == 0) {
        for (std::size_t rest = at; rest <= text.size(); ++rest) {
            if (Matches(text, rest, pattern, p + 3)) {
                return true;
            }
        }
        return false;
    }
    return at < text.size() && text[at] == pattern[p] && Matches(text, at + 1, pattern, p + 1);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void ExpectLines(const std::vector<std::string>& lines, std::size_t first,
                 const std::vector<std::string>& patterns) {
    ASSERT_GE(lines.size(), first + patterns.size());
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        EXPECT_TRUE(Matches(lines[first + i], 0, patterns[i], 0))
            << "line " << first + i << ": '" << lines[first + i] << "' against '" << patterns[i]
            << "'";
    }
}

class HtmlLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        HtmlLog().Start();
        path = HtmlLog().GetLogPath();
    }
    std::string path;
};

TEST_F(HtmlLogTest, LivesInTheUserFolder) {
    const std::string expected = std::string(std::getenv("XDG_DATA_HOME")) + "/Ostrel/Corvalen/";
    EXPECT_EQ(HtmlLog().GetUserFolder(), expected);
    EXPECT_EQ(path, expected + "log.html");
    EXPECT_TRUE(std::filesystem::is_directory(expected));
}

TEST_F(HtmlLogTest, StartWritesTheHeaderAndTheSystemReport) {
    const std::vector<std::string> lines = ReadLines(path);
    ExpectLines(lines, 0,
                {
                    "<Title>Log File</Title>",
                    "<Html> <Body BgColor = FFFFFF>",
                    "<Font Size = 3 Color = Blue Face = Verdana>",
                    "</Font>",
                    "<Font Size = 2 Color = Blue Face = Verdana>",
                    "<B>",
                    "Corvalen<BR>",
                    "</B>",
                    "</Font>",
                    "<Font Size = 2 Color = DarkBlue Face = Verdana>",
                    "Version 1.04<BR><BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Black Face = Verdana>",
                    "<B>",
                    "Log is started<BR><BR>",
                    "</B>",
                    "{T}Operating system:<BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Gray Face = Verdana>",
                });
    // The system report: platform, machine and build, then memory; a "\n"
    // at the end of a text ends the line before its "<BR>".
    ExpectLines(lines, 19,
                {
                    "{T}Linux <BR>",
                    "{T}{*} <BR>",
                    "{T}{*} (Build {*})",
                    "<BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Black Face = Verdana>",
                    "{T}Memory status:<BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Gray Face = Verdana>",
                    "{T}Total physical memory: {N}.{N} MB.",
                    "<BR>",
                    "{T}Available physical memory:  {N}.{N} MB.",
                    "<BR>",
                    "{T}Total virtual memory: {N} MB.",
                    "<BR>",
                    "{T}Available virtual memory:  {N} MB.",
                    "<BR>",
                });
    EXPECT_EQ(lines.size(), 36u);
}

TEST_F(HtmlLogTest, ARunOfOneColourSharesOneFontTag) {
    const std::size_t before = ReadLines(path).size();
    HtmlLog().Write("Blue", "Loading %s", "images");
    HtmlLog().Write("Gray", "%s", "a.png");
    HtmlLog().Write("Gray", "%s", "b.png");
    HtmlLog().Write("Gray", "%i x %i", 64, 32);
    HtmlLog().Write("Green", "Load is completed (%i)", 3);
    ExpectLines(ReadLines(path), before,
                {
                    "</Font>",
                    "<Font Size = 2 Color = Blue Face = Verdana>",
                    "{T}Loading images<BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Gray Face = Verdana>",
                    "{T}a.png<BR>",
                    "{T}b.png<BR>",
                    "{T}64 x 32<BR>",
                    "</Font>",
                    "<Font Size = 2 Color = Green Face = Verdana>",
                    "{T}Load is completed (3)<BR>",
                });
}

TEST_F(HtmlLogTest, WriteExMakesTimeStampAndBoldOptional) {
    const std::size_t before = ReadLines(path).size();
    HtmlLog().WriteEx("884400", false, false, "Windowed mode");
    HtmlLog().WriteEx("884400", true, true, "<BR>APPLY %s", "VIDEO OPTIONS");
    HtmlLog().WriteEx("Black", false, false, "");
    ExpectLines(ReadLines(path), before,
                {
                    "</Font>",
                    "<Font Size = 2 Color = 884400 Face = Verdana>",
                    "Windowed mode<BR>",
                    "<B>",
                    "{T}<BR>APPLY VIDEO OPTIONS<BR>",
                    "</B>",
                    "</Font>",
                    "<Font Size = 2 Color = Black Face = Verdana>",
                    "<BR>",
                });
}

TEST_F(HtmlLogTest, LongTextsAndColourWordsAreCut) {
    const std::string longText(2000, 'x');
    HtmlLog().WriteEx("Gray", false, false, "%s", longText.c_str());
    std::vector<std::string> lines = ReadLines(path);
    EXPECT_EQ(lines.back(), std::string(1023, 'x') + "<BR>");

    const std::string longColour(300, 'c');
    HtmlLog().WriteEx(longColour.c_str(), false, false, "short");
    lines = ReadLines(path);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2],
              "<Font Size = 2 Color = " + std::string(200, 'c') + " Face = Verdana>");
}

TEST_F(HtmlLogTest, TextsFromDataAreNeverFormats) {
    const std::string fromData = "100% %s %n %x";
    HtmlLog().WriteEx("Red", false, false, "Couldn't open %s", fromData.c_str());
    EXPECT_EQ(ReadLines(path).back(), "Couldn't open 100% %s %n %x<BR>");
}

TEST_F(HtmlLogTest, AnUnstartedLogWritesNothing) {
    HtmlLog().Write("Gray", "running game");
    const std::string before = ReadAll(path);
    {
        // A second start of the game: the instance guard refuses it, so it
        // never starts its log and must leave the running game's file alone.
        CHtmlLog refused;
        EXPECT_FALSE(refused.IsStarted());
        refused.Write("Red", "Application already exists");
        refused.WriteRaw("raw");
    }
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(HtmlLogTest, StartTruncatesAndDestructionClosesThePage) {
    {
        CHtmlLog log;
        log.Start();
        log.Write("Gray", "only line");
    }
    const std::vector<std::string> lines = ReadLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "<Title>Log File</Title>");
    ExpectLines(lines, lines.size() - 2, {"{T}only line<BR>", "</Font> </P> </Body> </Html>"});
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "<Title>Log File</Title>"), 1);
}

// Each case runs in a process of its own: the log is created once per process.
class HtmlLogFolderTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    // A scratch folder that becomes the working folder.
    static std::filesystem::path WorkFolder(const std::string& name) {
        const std::filesystem::path work =
            std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(work);
        std::filesystem::current_path(work);
        return work;
    }

    static void Finish(const std::filesystem::path& work, bool ok, const char* complaint) {
        std::filesystem::current_path("/");
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
        if (!ok) {
            std::fputs(complaint, stderr);
        }
        std::_Exit(ok ? 0 : 1);
    }
};

TEST_F(HtmlLogFolderTest, AFolderThatCannotBeMadeIsKeptAndItsWritesAreLost) {
    EXPECT_EXIT(
        {
            // A data home under a regular file cannot hold the folder; the
            // log stays there (and writes nothing) rather than moving into
            // the working folder.
            const std::filesystem::path work = WorkFolder("html_log_unmade");
            std::ofstream(work / "file") << "x";
            ::setenv("XDG_DATA_HOME", (work / "file").c_str(), 1);
            HtmlLog().Start();
            HtmlLog().Write("Gray", "here");
            const std::string expected = (work / "file" / "Ostrel" / "Corvalen").string() + "/";
            const bool ok = HtmlLog().GetUserFolder() == expected &&
                            HtmlLog().GetLogPath() == expected + "log.html" &&
                            !std::filesystem::exists(work / "log.html");
            Finish(work, ok, "the log left its folder\n");
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(HtmlLogFolderTest, WithoutABaseFolderTheLogIsInTheWorkingFolder) {
    // Only a user without a home folder has no base folder: a user id with
    // no account, which only root can take on.
    constexpr uid_t NO_ACCOUNT = 54321;
    if (::geteuid() != 0 || ::getpwuid(NO_ACCOUNT) != nullptr) {
        GTEST_SKIP() << "needs root and a user id without an account";
    }
    EXPECT_EXIT(
        {
            const std::filesystem::path work = WorkFolder("html_log_nobase");
            ::unsetenv("XDG_DATA_HOME");
            ::unsetenv("HOME");
            // Only the real user changes: the files stay reachable and root
            // comes back afterwards.
            bool ok = ::setresuid(NO_ACCOUNT, 0, 0) == 0;
            HtmlLog().Start();
            HtmlLog().Write("Gray", "here");
            ok = ok && HtmlLog().GetUserFolder().empty() && HtmlLog().GetLogPath() == "log.html" &&
                 ReadAll((work / "log.html").string()).find("here<BR>") != std::string::npos;
            ok = ::setresuid(0, 0, 0) == 0 && ok;
            Finish(work, ok, "log not in the working folder\n");
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

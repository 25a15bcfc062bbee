#pragma once
// Shared by the tests of the game's data file readers: a working folder of
// their own with a fresh log, the log's lines with their colours, and the
// shipped data folder of the source tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/framework/app_test_support.h"
#include "engine/platform/html_log.h"

namespace data_test {

struct LogLine {
    std::string colour;
    std::string text;
};

// The time-stamped lines of the log in order, each with the colour of the font
// element around it.
inline std::vector<LogLine> LogLines() {
    const std::string colourTag = "<Font Size = 2 Color = ";
    const std::string stampEnd = "] - ";
    std::vector<LogLine> lines;
    std::istringstream log(app_test::ReadFile(HtmlLog().GetLogPath()));
    std::string colour;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind(colourTag, 0) == 0) {
            colour =
                line.substr(colourTag.size(), line.find(' ', colourTag.size()) - colourTag.size());
        } else if (line.rfind("[", 0) == 0 && line.find(stampEnd) != std::string::npos) {
            const std::size_t start = line.find(stampEnd) + stampEnd.size();
            const std::size_t end = line.rfind("<BR>");
            lines.push_back({colour, line.substr(start, end - start)});
        }
    }
    return lines;
}

inline std::vector<std::string> LogTextsIn(const std::string& colour) {
    std::vector<std::string> texts;
    for (const LogLine& line : LogLines()) {
        if (line.colour == colour) {
            texts.push_back(line.text);
        }
    }
    return texts;
}

// Resources/Data of the source tree, where the shipped data files live.
inline std::filesystem::path ShippedDataFolder() {
    return std::filesystem::path(CORVALEN_SOURCE_DIR) / "Resources" / "Data";
}

// Each test reads from a working folder of its own and starts with an empty log.
class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        m_folder = std::make_unique<app_test::CScopedWorkingFolder>();
        HtmlLog().Start();
    }
    void TearDown() override { m_folder.reset(); }

    void WriteData(const std::string& name, const std::string& text) const {
        m_folder->WriteData(name, text);
    }

private:
    std::unique_ptr<app_test::CScopedWorkingFolder> m_folder;
};

}  // namespace data_test

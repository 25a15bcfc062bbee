#pragma once
// Log checks of the sound, animation and GUI tests, over the log reading of
// the resource tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource_test_support.h"

namespace media_test {

// Whether the log holds these (colour, text) entries in this order; other
// entries may come between them.
inline ::testing::AssertionResult LogHasInOrder(
    const std::vector<resource_test::LogEntry>& expected) {
    const std::vector<resource_test::LogEntry> entries = resource_test::LogEntries();
    std::size_t next = 0;
    for (const resource_test::LogEntry& entry : entries) {
        if (next < expected.size() && entry.colour == expected[next].colour &&
            entry.text == expected[next].text) {
            ++next;
        }
    }
    if (next == expected.size()) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure();
    failure << "missing " << expected[next].colour << " \"" << expected[next].text
            << "\"; the log holds:";
    for (const resource_test::LogEntry& entry : entries) {
        failure << "\n  " << entry.colour << ": " << entry.text;
    }
    return failure;
}

inline bool LogContainsText(const std::string& part) {
    for (const std::string& text : resource_test::LogTexts()) {
        if (text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace media_test

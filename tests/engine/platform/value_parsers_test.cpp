#include "engine/platform/value_parsers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kPreset = 7;

struct IntCase {
    const char* text;
    bool ok;
    std::int32_t value;
};

TEST(ValueParsersTest, ParseInt) {
    const IntCase cases[] = {
        {"", false, kPreset},  // empty: the preset default survives
        {"abc", false, 0},
        {"42", true, 42},
        {"-12", true, -12},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"x1F", false, 0},
        {"1F", false, 0},
        {"0x", true, 0},
        {"-", true, 0},
        {"-x1F", true, -31},
        {"-0x1F", false, 0},
        {"+5", false, 0},
        {" 5", false, 0},
        {"5 ", false, 0},
        {"4294967295", true, -1},  // wraps modulo 2^32
        {"4294967296", true, 0},
        {"2147483648", true, INT32_MIN},
        {"-2147483648", true, INT32_MIN},
        {"0xFFFFFFFFF", true, -1},  // a ninth digit shifts the top out
    };
    for (const IntCase& c : cases) {
        std::int32_t value = kPreset;
        EXPECT_EQ(ParseInt(c.text, &value), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    }
}

TEST(ValueParsersTest, ParseUnsigned) {
    struct Case {
        const char* text;
        bool ok;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"", false, kPreset},
        {"0xFF00FF00", true, 4278255360u},
        {"4294967295", true, 4294967295u},
        {"4294967296", true, 0u},
        {"-1", false, 0u},
        {"12a", false, 0u},
        {"0xfF", true, 255u},
    };
    for (const Case& c : cases) {
        std::uint32_t value = kPreset;
        EXPECT_EQ(ParseUnsigned(c.text, &value), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    }
}

TEST(ValueParsersTest, ParseBool) {
    struct Case {
        const char* text;
        bool ok;
        bool value;
    };
    const Case cases[] = {
        {"0", true, false},     {"false", true, false}, {"FALSE", true, false},
        {"1", true, true},      {"true", true, true},   {"TRUE", true, true},
        {"True", false, false}, {" 1", false, false},   {"yes", false, false},
    };
    for (const Case& c : cases) {
        bool value = !c.value;
        EXPECT_EQ(ParseBool(c.text, &value), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    }
    bool untouched = true;
    EXPECT_FALSE(ParseBool("", &untouched));
    EXPECT_TRUE(untouched);
}

TEST(ValueParsersTest, ParseFloatAndDouble) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"", false, 7.0},       {"1.5", true, 1.5},    {"1,5", true, 1.5},     {"3,25", true, 3.25},
        {"-0.25", true, -0.25}, {"2.", true, 2.0},     {".", true, 0.0},       {".5", true, 0.5},
        {"12", true, 12.0},     {"1.2.3", false, 0.0}, {"1e5", false, 0.0},    {"1e3", false, 0.0},
        {"1.5 ", false, 0.0},   {"+1", false, 0.0},    {"0.125", true, 0.125},
    };
    for (const Case& c : cases) {
        float single = 7.0f;
        EXPECT_EQ(ParseFloat(c.text, &single), c.ok) << "'" << c.text << "'";
        EXPECT_NEAR(single, c.value, 1e-6) << "'" << c.text << "'";
        double twin = 7.0;
        EXPECT_EQ(ParseDouble(c.text, &twin), c.ok) << "'" << c.text << "'";
        EXPECT_NEAR(twin, c.value, 1e-12) << "'" << c.text << "'";
    }
    float negativeZero = 7.0f;
    EXPECT_TRUE(ParseFloat("-", &negativeZero));
    EXPECT_EQ(negativeZero, 0.0f);
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(ValueParsersTest, SplitToInts) {
    struct Case {
        const char* text;
        const char* delimiters;
        std::vector<std::int32_t> appended;
    };
    const Case cases[] = {
        {"1,,2,", ",", {1, 2}},    {"", ",", {}},
        {"1,a,3", ",", {1, 0, 3}},  // a piece that does not parse counts as 0
        {"1, 2", ",", {1, 0}},      // pieces are not trimmed
        {"1, 2", ", ", {1, 2}},    {"-4 0x10", " ", {-4, 16}},
        {",,,", ",", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::int32_t> list = {99};  // not cleared first
        EXPECT_EQ(SplitToInts(c.text, c.delimiters, &list), static_cast<int>(c.appended.size()))
            << "'" << c.text << "'";
        std::vector<std::int32_t> expected = {99};
        expected.insert(expected.end(), c.appended.begin(), c.appended.end());
        EXPECT_EQ(list, expected) << "'" << c.text << "'";
    }
}

TEST(ValueParsersTest, SplitToOtherTypes) {
    std::vector<std::string> strings;
    EXPECT_EQ(SplitToStrings("a, b,c", ", ", &strings), 3);
    EXPECT_EQ(strings, (std::vector<std::string>{"a", "b", "c"}));

    std::vector<std::uint32_t> order;
    EXPECT_EQ(SplitToUnsigned("3, 1, -2", ", ", &order), 3);
    EXPECT_EQ(order, (std::vector<std::uint32_t>{3, 1, 0}));

    std::vector<float> frame;
    EXPECT_EQ(SplitToFloats("0;0;64;64;1,5;-2;0.25;x", ";", &frame), 8);
    EXPECT_EQ(frame, (std::vector<float>{0, 0, 64, 64, 1.5f, -2, 0.25f, 0}));

    float three[3] = {9, 9, 9};
    EXPECT_EQ(SplitToFloat3("1 2 3 4", " ", &three), 3);
    EXPECT_EQ(three[0], 1.0f);
    EXPECT_EQ(three[1], 2.0f);
    EXPECT_EQ(three[2], 3.0f);

    float two[3] = {9, 9, 9};
    EXPECT_EQ(SplitToFloat3("5  6", " ", &two), 2);
    EXPECT_EQ(two[1], 6.0f);
    EXPECT_EQ(two[2], 9.0f) << "a missing third piece leaves the float alone";
}

TEST(ValueParsersTest, WidenStringZeroExtendsEveryByte) {
    const std::string text = "v1.04 \xE9\x80\xFF";
    EXPECT_EQ(WidenString(text), (std::u16string{u'v', u'1', u'.', u'0', u'4', u' ', u'\u00E9',
                                                 u'\u0080', u'\u00FF'}));
    EXPECT_EQ(WidenString(""), std::u16string());
}

}  // namespace

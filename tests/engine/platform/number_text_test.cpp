// Texts with a number: the number is printed on its own and joined to the
// text, whatever the text holds.
#include "engine/platform/number_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(NumberTextTest, NumbersPrintAsTheCFormatsWould) {
    EXPECT_EQ(NumberText(0), u"0");
    EXPECT_EQ(NumberText(350), u"350");
    EXPECT_EQ(NumberText(-42), u"-42");
    EXPECT_EQ(NumberText(INT_MIN), u"-2147483648");
    EXPECT_EQ(NumberText(INT_MAX), u"2147483647");

    struct Case {
        float value;
        const char16_t* text;
    };
    // "%0.0f" rounds halves to the even neighbour and keeps the sign of a
    // negative value that rounds to zero.
    const Case cases[] = {{0.0f, u"0"},
                          {12.4f, u"12"},
                          {12.6f, u"13"},
                          {0.5f, u"0"},
                          {1.5f, u"2"},
                          {2.5f, u"2"},
                          {-0.4f, u"-0"},
                          {-7.5f, u"-8"},
                          {1e10f, u"10000000000"},
                          {3.4e38f, u"339999995214436424907732413799364296704"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundedNumberText(c.value), c.text);
    }
}

TEST(NumberTextTest, TheTextIsJoinedAndNeverReadAsAFormat) {
    EXPECT_EQ(WithNumber(u"GOAL", u" ", 500), u"GOAL 500");
    EXPECT_EQ(WithNumber(u"", u"$", 350), u"$350");
    EXPECT_EQ(WithNumber(u"", u"x", 3), u"x3");
    EXPECT_EQ(WithNumber(u"COMBO", u" +", 60), u"COMBO +60");
    EXPECT_EQ(WithNumber(u"", u"", -5), u"-5");
    EXPECT_EQ(WithRoundedNumber(u"SELL", u" +", 84.5f), u"SELL +84");
    // Conversions and non-ASCII in the text come out as they stand.
    EXPECT_EQ(WithNumber(u"%s %n %i\u00E4\U0001D11E", u" ", 7), u"%s %n %i\u00E4\U0001D11E 7");
    EXPECT_EQ(WithRoundedNumber(u"%0.0f", u" -", 1.0f), u"%0.0f -1");
}

}  // namespace

// The language table: which text file language.xml selects, and the UTF-8
// texts kept as UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "engine/framework/app_test_support.h"
#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"

namespace {

class TextStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_test::PrivateFolder();
        HtmlLog().Start();
        TextStorage().Clear();
    }
    void TearDown() override { TextStorage().Clear(); }

    static std::string Log() { return app_test::ReadFile(HtmlLog().GetLogPath()); }
};

TEST_F(TextStorageTest, LanguageXmlSelectsTheTextFile) {
    struct Case {
        const char* what;
        const char* languageXml;
        bool loaded;
        const char* language;
        const char* text;  // of "WHO" when loaded
        const char* logLine;
    };
    const Case cases[] = {
        {"the current language's element",
         "<Languages><Language current=\"German\"/>"
         "<English text_data=\"en.xml\"/><German text_data=\"de.xml\"/></Languages>",
         true, "German", "Deutsch", "Current language: German (de.xml)"},
        {"no Language element: English",
         "<Languages><German text_data=\"de.xml\"/><English text_data=\"en.xml\"/></Languages>",
         true, "English", "English", "Current language: English (en.xml)"},
        {"an English element before the Language element keeps its file",
         "<English text_data=\"en.xml\"/><Language current=\"German\"/>", true, "German", "English",
         "Current language: German (en.xml)"},
        {"a Language element without current", "<Language/><English text_data=\"en.xml\"/>", false,
         "", nullptr, "Couldn't open text storage (Resources/Data/)"},
        {"a language without a file", "<Language current=\"French\"/>", false, "French", nullptr,
         "Couldn't open text storage (Resources/Data/)"},
    };
    for (const Case& c : cases) {
        app_test::CScopedWorkingFolder folder;
        folder.WriteData("language.xml", c.languageXml);
        folder.WriteData("en.xml", "<texts><text id=\"WHO\" data=\"English\"/></texts>");
        folder.WriteData("de.xml", "<texts><text id=\"WHO\" data=\"Deutsch\"/></texts>");
        CTextStorage storage;
        EXPECT_EQ(storage.Initialize(), c.loaded) << c.what;
        EXPECT_EQ(storage.GetLanguage(), c.language) << c.what;
        if (c.text != nullptr) {
            const std::string text(c.text);
            EXPECT_EQ(storage.GetText("WHO"), std::u16string(text.begin(), text.end())) << c.what;
        } else {
            EXPECT_EQ(storage.GetCount(), 0u) << c.what;
        }
        EXPECT_NE(Log().find(c.logLine), std::string::npos) << c.what;
    }
}

TEST_F(TextStorageTest, FailedLoadsKeepTheTable) {
    app_test::CScopedWorkingFolder folder;
    folder.WriteData("language.xml", "<English text_data=\"en.xml\"/>");
    folder.WriteData("en.xml", "<text id=\"A\" data=\"a\"/>");
    CTextStorage storage;
    ASSERT_TRUE(storage.Initialize());

    std::filesystem::remove(folder.Path() / "Resources" / "Data" / "en.xml");
    EXPECT_FALSE(storage.Initialize());
    EXPECT_EQ(storage.GetText("A"), u"a");

    std::filesystem::remove(folder.Path() / "Resources" / "Data" / "language.xml");
    EXPECT_FALSE(storage.Initialize());
    EXPECT_EQ(storage.GetText("A"), u"a");
    EXPECT_NE(Log().find("Couldn't select language (Resources/Data/language.xml)"),
              std::string::npos);
}

TEST_F(TextStorageTest, TextsAreUtf16WithPairsOutsideTheBasicPlane) {
    app_test::CScopedWorkingFolder folder;
    folder.WriteData("language.xml", "<English text_data=\"en.xml\"/>");
    folder.WriteData("en.xml",
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<texts>\n"
                     "  <text id=\"ACCENTS\" data=\"Grüße, café\"/>\n"
                     "  <text id=\"KANA\" data=\"ゲーム\"/>\n"
                     "  <text id=\"FISH\" data=\"\xF0\x9F\x90\x9F fish \xF0\x9F\x90\xA0\"/>\n"
                     "  <text id=\"LINES\" data=\"one&cr;two&nbsp;three\"/>\n"
                     "  <text id=\"ACCENTS\" data=\"second\"/>\n"
                     "  <text id=\"\" data=\"no id\"/>\n"
                     "  <text id=\"EMPTY\" data=\"\"/>\n"
                     "  <other id=\"OTHER\" data=\"ignored\"/>\n"
                     "</texts>\n");
    CTextStorage storage;
    ASSERT_TRUE(storage.Initialize());
    EXPECT_EQ(storage.GetCount(), 6u);
    EXPECT_NE(Log().find("Initialization is completed (6)"), std::string::npos);

    EXPECT_EQ(storage.GetText("ACCENTS"), u"Grüße, café");
    EXPECT_EQ(storage.GetText("ACCENTS").size(), 11u);
    EXPECT_EQ(storage.GetText("KANA"), u"ゲーム");
    const std::u16string fish = storage.GetText("FISH");
    EXPECT_EQ(fish, u"\U0001F41F fish \U0001F420");
    ASSERT_EQ(fish.size(), 10u);
    EXPECT_EQ(fish[0], 0xD83D);
    EXPECT_EQ(fish[1], 0xDC1F);
    EXPECT_EQ(storage.GetText("LINES"), u"one\ntwo three");
    EXPECT_EQ(storage.GetText("EMPTY"), u"");

    EXPECT_EQ(storage.FindIndex("ACCENTS"), 0);
    EXPECT_EQ(storage.FindIndex("accents"), -1);
    EXPECT_EQ(storage.FindIndex("OTHER"), -1);
    EXPECT_EQ(storage.GetText("MISSING"), u"");
    EXPECT_EQ(storage.GetTextAt(-1), u"");
    EXPECT_EQ(storage.GetTextAt(6), u"");
    EXPECT_EQ(storage.GetTextAt(2), storage.GetText("FISH"));
}

TEST_F(TextStorageTest, OverlongTextIsCutWithoutSplittingAPair) {
    struct Case {
        const char* what;
        std::string data;
        std::u16string expected;
    };
    const std::string a2046(2046, 'a');
    const std::u16string u2046(2046, u'a');
    const Case cases[] = {
        {"ASCII", std::string(3000, 'b'), std::u16string(2047, u'b')},
        {"a pair across the limit", a2046 + "\xF0\x9F\x90\x9F" + "zz", u2046},
        {"a pair just inside", std::string(2045, 'a') + "\xF0\x9F\x90\x9F" + "zz",
         std::u16string(2045, u'a') + u"\U0001F41F"},
        {"a basic-plane letter at the limit", a2046 + "é" + "zz", u2046 + u"é"},
    };
    for (const Case& c : cases) {
        app_test::CScopedWorkingFolder folder;
        folder.WriteData("language.xml", "<English text_data=\"en.xml\"/>");
        folder.WriteData("en.xml", "<text id=\"LONG\" data=\"" + c.data + "\"/>");
        CTextStorage storage;
        ASSERT_TRUE(storage.Initialize()) << c.what;
        const std::u16string text = storage.GetText("LONG");
        EXPECT_EQ(text, c.expected) << c.what;
        EXPECT_LE(text.size(), CTextStorage::MAX_TEXT_UNITS) << c.what;
        EXPECT_FALSE(text.back() >= 0xD800 && text.back() <= 0xDBFF) << c.what;
    }
    const std::string log = Log();
    EXPECT_EQ(app_test::CountOf(log, "Text LONG is too long"), 4u);
    EXPECT_NE(log.find("<Font Size = 2 Color = Red Face = Verdana>"), std::string::npos);
}

TEST_F(TextStorageTest, MalformedUtf8BecomesReplacementCharacters) {
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a stray continuation byte", "a\x80z", u"a\uFFFDz"},
        {"a sequence broken off", "a\xE3\x81z", u"a\uFFFDz"},
        {"a sequence at the end", "a\xF0\x9F\x90", u"a\uFFFD"},
        {"an overlong form", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"past the last code point", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"a zero ends the text", std::string("ab\0cd", 5), u"ab"},
    };
    for (const Case& c : cases) {
        bool cut = true;
        EXPECT_EQ(Utf8ToUtf16(c.utf8, CTextStorage::MAX_TEXT_UNITS, &cut), c.expected) << c.what;
        EXPECT_FALSE(cut) << c.what;
    }
}

}  // namespace

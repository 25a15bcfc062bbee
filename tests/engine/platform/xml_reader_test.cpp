#include "engine/platform/xml_reader.h"

#include <gtest/gtest.h>

#include "engine/media/resource_test_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// One node in a compact form: "<name a=1@path" for a start element,
// "</name@path" for an end, "'text'@path" for a text, "?name'body'" for a
// declaration and "!'body'@path" for a comment.
std::string Describe(const XmlNode& node) {
    switch (node.type) {
        case XML_START_ELEMENT: {
            std::string out = "<" + node.name;
            for (const auto& [name, value] : node.attributes) {
                out += " " + name + "=" + value;
            }
            return out + "@" + node.path;
        }
        case XML_END_ELEMENT:
            return "</" + node.name + "@" + node.path;
        case XML_TEXT:
            return "'" + node.name + "'@" + node.path;
        case XML_DECLARATION:
            return "?" + node.name + "'" + node.text + "'";
        case XML_COMMENT:
            return "!'" + node.text + "'@" + node.path;
        default:
            return "none";
    }
}

std::vector<std::string> ReadAll(CXmlReader& reader) {
    std::vector<std::string> nodes;
    XmlNode node;
    while (reader.Read(node)) {
        nodes.push_back(Describe(node));
    }
    return nodes;
}

struct ParseCase {
    const char* input;
    std::vector<std::string> nodes;
    const char* error;  // "" for a clean end
};

void CheckCases(const std::vector<ParseCase>& cases) {
    for (const ParseCase& c : cases) {
        CXmlReader reader;
        reader.OpenString(c.input);
        EXPECT_EQ(ReadAll(reader), c.nodes) << c.input;
        EXPECT_EQ(reader.HasError(), c.error[0] != '\0') << c.input;
        EXPECT_EQ(reader.GetErrorText(), c.error) << c.input;
    }
}

TEST(XmlReaderTest, ElementsPathsAndSelfClosing) {
    CheckCases({
        {"<a><b x=1/><c></c></a>", {"<a@", "<b x=1@a", "</b@a/b", "<c@a", "</c@a/c", "</a@a"}, ""},
        {"<e/>", {"<e@", "</e@e"}, ""},
        {"<e />", {"<e@", "</e@e"}, ""},
        {"<e a=1 />", {"<e a=1@", "</e@e"}, ""},
        {"<e a=1/>", {"<e a=1@", "</e@e"}, ""},
        {"<e a=dir//>", {"<e a=dir/@", "</e@e"}, ""},
        {"<e a=\"x/\">", {"<e a=x@", "</e@e"}, ""},
        {"  <a>\n</a>\n\n", {"<a@", "</a@a"}, ""},
    });
}

TEST(XmlReaderTest, AttributeGrammar) {
    CheckCases({
        {"<e a b=2></e>", {"<e a= b=2@", "</e@e"}, ""},
        {"<e a = 1></e>", {"<e a=1@", "</e@e"}, ""},
        {"<e a=\"1\"b=2></e>", {"<e a=1b2@", "</e@e"}, ""},
        {"<e a=x a=y></e>", {"<e a=y@", "</e@e"}, ""},
        {"<e a=\"<>/= x  y\"></e>", {"<e a=<>/= x  y@", "</e@e"}, ""},
        {"<e a='1'></e>", {"<e a='1'@", "</e@e"}, ""},
        {"<e a=\"\" b=\"\"></e>", {"<e a= b=@", "</e@e"}, ""},
        {"<e a=\"x\"  b=\"y z\"></e>", {"<e a=x b=y z@", "</e@e"}, ""},
        {"<e t=\"a&amp;b&lt;\"></e>", {"<e t=a&b<@", "</e@e"}, ""},
    });
}

TEST(XmlReaderTest, TextCommentsAndDeclarations) {
    CheckCases({
        {"<a>  Hello   big  world  </a>", {"<a@", "'Hello big world'@a", "</a@a"}, ""},
        {"<a>say \"x  y\" now</a>", {"<a@", "'say \"x  y\" now'@a", "</a@a"}, ""},
        // An odd quote runs the text on through the tags up to the next quote.
        {"<a>say \"x</a><b>\" y</b>",
         {"<a@", "'say \"x</a><b>\" y'@a"},
         "End 'b' Doesn't Match Start 'a'"},
        {"<a>&lt;b&gt; &#65;</a>", {"<a@", "'<b> &'@a", "</a@a"}, ""},
        {"<a><!-- note <b> \"x --><b/></a>", {"<a@", "<b@a", "</b@a/b", "</a@a"}, ""},
        {"<a><!--note--></a>", {"<a@", "<!--note--@a"}, "End 'a' Doesn't Match Start '!--note--'"},
        {"<?xml version=1.0?><a/>", {"?xml' version=1.0'", "<a@", "</a@a"}, ""},
    });
}

TEST(XmlReaderTest, SyntaxErrors) {
    CheckCases({
        {"<a>x>y</a>", {"<a@"}, "Unexpected '>'"},
        {"<a>\x01</a>", {"<a@"}, "Illegal Character"},
        {"</a>", {}, "Unexpected End"},
        {"<a></b>", {"<a@"}, "End 'b' Doesn't Match Start 'a'"},
        {"<a", {}, "Unexpected End of File"},
        {"<a>text", {"<a@"}, "Unexpected End of File"},
        {"<a <b>", {}, "Unexpected '<'"},
        {"<a><!-- open", {"<a@"}, "Unexpected End of File"},
        {">", {}, "Unexpected '>'"},
        // An empty or cut input is an error, not a quiet end.
        {"", {}, "No Element"},
        {" \n\t\n", {}, "No Element"},
        {"<?xml version=1.0?>\n", {"?xml' version=1.0'"}, "No Element"},
        {"<a>", {"<a@"}, "Unexpected End of File"},
        {"<a><b/>\n", {"<a@", "<b@a", "</b@a/b"}, "Unexpected End of File"},
    });
}

TEST(XmlReaderTest, CommentsAreNodesOnlyWhenAskedFor) {
    CXmlReader reader;
    reader.SetReportComments(true);
    reader.OpenString("<a><!-- note --></a>");
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"<a@", "!'note '@a", "</a@a"}));
}

TEST(XmlReaderTest, DecodeEntities) {
    const std::pair<const char*, const char*> cases[] = {
        {"&lt;b&gt;", "<b>"},
        {"a&nbsp;b", "a b"},
        {"line1&cr;line2", "line1\nline2"},
        {"&quot;&apos;&amp;", "\"'&"},
        {"&unknown;", "&"},
        {"&#65;", "&"},
        {"&;", "&"},
        {"&LT;", "&"},
        {"AT&T", "AT&T"},
        {"a & b; c", "a & c"},
    };
    for (const auto& [text, decoded] : cases) {
        EXPECT_EQ(CXmlReader::DecodeEntities(text), decoded) << text;
    }
}

TEST(XmlReaderTest, EncodeEntitiesIsTheInverse) {
    const std::string text = "a  \"b\" & <c>\n'd'   e";
    EXPECT_EQ(EncodeXmlEntities(text),
              "a &nbsp;&quot;b&quot; &amp; &lt;c&gt;&cr;&apos;d&apos; &nbsp;&nbsp;e");
    EXPECT_EQ(CXmlReader::DecodeEntities(EncodeXmlEntities(text)), text);
}

TEST(XmlReaderTest, OpenStringForgetsWhatAnEarlierInputLeftBehind) {
    CXmlReader reader;
    XmlNode node;
    reader.OpenString("<a/>");
    ASSERT_TRUE(reader.Read(node));  // leaves the matching end element pending
    reader.OpenString("<b></b>");
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"<b@", "</b@b"}));
}

std::vector<std::string> RedLines() {
    std::vector<std::string> lines;
    for (const resource_test::LogEntry& entry : resource_test::LogEntries()) {
        if (entry.colour == "Red") {
            lines.push_back(entry.text);
        }
    }
    return lines;
}

class XmlReaderFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("xml_reader_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path folder;
};

TEST_F(XmlReaderFileTest, CarriageReturnLineFeedReadsAsLineFeed) {
    const std::string path =
        WriteFile("crlf.xml", "<a v=\"x\r\ny\">\r\n<b w=\"1\r2\"/>\r\n</a>\r\n");
    CXmlReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(reader.GetFileName(), path);
    EXPECT_EQ(reader.GetLine(), 1);
    XmlNode node;
    ASSERT_TRUE(reader.Read(node));
    EXPECT_EQ(node.attributes["v"], "x\ny");
    ASSERT_TRUE(reader.Read(node));
    EXPECT_EQ(node.attributes["w"], "1\r2") << "a lone carriage return stays";
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"</b@a/b", "</a@a"}));
    EXPECT_FALSE(reader.HasError());
    EXPECT_EQ(reader.GetLine(), 5);
}

TEST_F(XmlReaderFileTest, LineCounterPointsAtTheError) {
    const std::string path = WriteFile("error.xml", "<a>\n\n  <b></c>\n</a>\n");
    CXmlReader reader;
    ASSERT_TRUE(reader.Open(path));
    ReadAll(reader);
    EXPECT_EQ(reader.GetErrorText(), "End 'c' Doesn't Match Start 'b'");
    EXPECT_EQ(reader.GetLine(), 3);
}

TEST_F(XmlReaderFileTest, OnlyRegularFilesOpen) {
    const std::string missing = (folder / "missing.xml").string();
    const std::string directory = (folder / "sub.xml").string();
    std::filesystem::create_directories(directory);
    // A named pipe nobody writes to: a blocking open would wait for good, so
    // the alarm ends the test program rather than letting it hang.
    const std::string pipe = (folder / "pipe.xml").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ::alarm(10);
    for (const std::string& path : {missing, directory, pipe}) {
        CXmlReader reader;
        EXPECT_FALSE(reader.Open(path)) << path;
        EXPECT_TRUE(reader.HasError());
        EXPECT_EQ(reader.GetErrorText(), "Unable to open file " + path);
        EXPECT_EQ(reader.GetLine(), 0);
        XmlNode node;
        EXPECT_FALSE(reader.Read(node));
    }
    ::alarm(0);
}

// A data file damaged on disk stops its load at the damage: the nodes before it
// are still handed out, and the log gets one "Red" line naming the file and
// the line of the damage.
TEST_F(XmlReaderFileTest, DamagedFilesAreReportedOnceWithFileAndLine) {
    const std::string good =
        "<?xml version=\"1.0\"?>\n"
        "<Menu>\n"
        "  <color active=\"0xFFFFFFFF\"/>\n"
        "  <item id=\"main\" type=\"_SIMPLE\">\n"
        "    <item id=\"play\" type=\"_SIMPLE\"/>\n"
        "  </item>\n"
        "</Menu>\n";
    const auto flipped = [&good](const std::string& at, std::size_t offset, unsigned char bit) {
        std::string bytes = good;
        bytes[good.find(at) + offset] = static_cast<char>(bytes[good.find(at) + offset] ^ bit);
        return bytes;
    };
    struct Damage {
        const char* what;
        std::string bytes;
        int startElements;  // read before the damage
        int line;
        const char* error;
    };
    const Damage cases[] = {
        {"empty", "", 0, 1, "No Element"},
        {"cut inside a tag", good.substr(0, good.find("type=\"_SIMPLE\"/>")), 3, 5,
         "Unexpected End of File"},
        {"cut between elements", good.substr(0, good.find("</Menu>")), 4, 7,
         "Unexpected End of File"},
        {"cut inside a value", good.substr(0, good.find("0xFF") + 2), 1, 3,
         "Unexpected End of File"},
        {"lines out of order", "<Menu>\n  </item>\n  <item id=\"main\">\n</Menu>\n", 1, 2,
         "End 'item' Doesn't Match Start 'Menu'"},
        {"another kind of file", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), 0, 2,
         "Illegal Character"},
        {"bit flip turns '<' into '|'", flipped("<color", 0, 0x40), 1, 3, "Unexpected '>'"},
        {"bit flip in an end tag", flipped("</item>", 4, 0x10), 4, 6,
         "End 'itum' Doesn't Match Start 'item'"},
        {"bit flip turns '=' into a control byte", flipped("id=\"play", 2, 0x20), 3, 5,
         "Illegal Character"},
    };
    for (const Damage& damage : cases) {
        const std::string path = WriteFile("menu.xml", damage.bytes);
        HtmlLog().Start();
        CXmlReader reader;
        ASSERT_TRUE(reader.Open(path));
        int startElements = 0;
        XmlNode node;
        while (reader.Read(node)) {
            startElements += node.type == XML_START_ELEMENT ? 1 : 0;
        }
        EXPECT_EQ(startElements, damage.startElements) << damage.what;
        EXPECT_EQ(reader.GetErrorText(), damage.error) << damage.what;
        EXPECT_EQ(RedLines(),
                  std::vector<std::string>{"Syntax error in " + path + ", line " +
                                           std::to_string(damage.line) + ": " + damage.error})
            << damage.what;
    }

    // The intact file ends quietly.
    const std::string path = WriteFile("menu.xml", good);
    HtmlLog().Start();
    CXmlReader reader;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_EQ(ReadAll(reader).size(), 9u);
    EXPECT_FALSE(reader.HasError());
    EXPECT_TRUE(RedLines().empty());
}

TEST_F(XmlReaderFileTest, ReopeningStartsAFreshDocument) {
    const std::string first = WriteFile("first.xml", "<a><b/>");
    const std::string second = WriteFile("second.xml", "<c/>");
    CXmlReader reader;
    ASSERT_TRUE(reader.Open(first));
    XmlNode node;
    ASSERT_TRUE(reader.Read(node));
    ASSERT_TRUE(reader.Read(node));  // <b>, its end element still pending
    ASSERT_TRUE(reader.Open(second));
    EXPECT_EQ(ReadAll(reader), (std::vector<std::string>{"<c@", "</c@c"}));
    EXPECT_FALSE(reader.HasError());
}

}  // namespace

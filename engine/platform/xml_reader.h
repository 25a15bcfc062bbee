#pragma once
// The pull reader of the game's data files. It accepts a small XML subset with
// some leniency of its own: unquoted attribute values, its own entity set,
// whitespace runs in text collapsed to one space. No validation, namespaces,
// document types, CDATA or character references. Bytes above ASCII pass through
// unchanged, so UTF-8 text survives.
//
// Usage: Open(path), then Read(node) until it returns false; a false result
// ends the load whether the file ended or a syntax error stopped it. The first
// syntax error of an input writes one "Red" log line naming the file and the
// line, so no loader has to tell the two ends apart. An input without any
// element, or one that ends with elements still open, is an error too: it is
// an empty or cut file.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

enum XmlNodeType : std::int32_t {
    XML_NONE = 0,
    XML_START_ELEMENT = 1,
    XML_END_ELEMENT = 2,
    XML_TEXT = 3,
    XML_DECLARATION = 4,
    XML_COMMENT = 5,
};

struct XmlNode {
    XmlNodeType type = XML_NONE;
    // Enclosing open elements joined by "/", outermost first. A start element
    // carries its parent's path, an end element the path ending with itself.
    std::string path;
    // Element name; the whole text of a text node; a declaration's target
    // ("xml"); "!--" for a comment.
    std::string name;
    // Body of a declaration or comment; empty otherwise.
    std::string text;
    // Start elements only. Read with the subscript so that a missing attribute
    // reads as an empty text.
    std::map<std::string, std::string> attributes;
};

class CXmlReader {
public:
    CXmlReader() = default;
    virtual ~CXmlReader();
    CXmlReader(const CXmlReader&) = delete;
    CXmlReader& operator=(const CXmlReader&) = delete;

    // Only regular files open. A failure logs nothing: the caller reports it.
    bool Open(const std::string& path);
    // Parses `text` itself instead of a file.
    void OpenString(const std::string& text);
    // The next node; false at the end of the input or at a syntax error (which
    // is logged).
    bool Read(XmlNode& node);

    static std::string DecodeEntities(const std::string& text);
    static void AddAttribute(XmlNode& node, const std::string& name, const std::string& value);

    bool HasError() const { return m_error; }
    const std::string& GetErrorText() const { return m_errorText; }
    int GetLine() const { return m_line; }
    const std::string& GetFileName() const { return m_fileName; }
    void SetError(const std::string& text);
    // Forgets the element path and the error; line 1.
    void Reset();
    // Comments are skipped unless asked for as nodes.
    void SetReportComments(bool report) { m_reportComments = report; }

private:
    bool FetchByte(char* byte);
    void PushBack(const std::string& text);
    void CloseFile();

    std::string m_fileName;
    std::string m_errorText;
    bool m_error = false;
    int m_line = 0;
    std::FILE* m_file = nullptr;
    bool m_reportComments = false;
    bool m_sawElement = false;     // a start element has been read from this input
    std::vector<char> m_pushBack;  // the last byte is read first
    std::string m_path;
};

// The inverse of DecodeEntities, for writing XML.
std::string EncodeXmlEntities(const std::string& text);

#include "engine/platform/xml_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/platform/html_log.h"

namespace {

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool EndsWith(const std::string& text, const char* tail, std::size_t tailLength) {
    return text.size() >= tailLength &&
           text.compare(text.size() - tailLength, tailLength, tail) == 0;
}

}  // namespace

CXmlReader::~CXmlReader() {
    CloseFile();
}

void CXmlReader::CloseFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool CXmlReader::Open(const std::string& path) {
    CloseFile();
    // Bytes left over from an earlier input must not leak into this one.
    m_pushBack.clear();
    // Only a regular file is a data file: a folder would open for reading, and
    // a named pipe without a writer would block a plain open for good, hence
    // the non-blocking open (it changes nothing for a regular file).
    std::FILE* file = nullptr;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0) {
        struct stat info {};
        if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
            file = fdopen(descriptor, "rb");
        }
        if (file == nullptr) {
            ::close(descriptor);
        }
    }
    if (file == nullptr) {
        m_line = 0;
        m_errorText = "Unable to open file " + path;
        m_error = true;
        return false;
    }
    m_file = file;
    m_fileName = path;
    m_path.clear();
    m_errorText.clear();
    m_line = 1;
    m_error = false;
    m_sawElement = false;
    return true;
}

void CXmlReader::OpenString(const std::string& text) {
    CloseFile();
    m_pushBack.clear();
    m_fileName.clear();
    Reset();
    PushBack(text);
}

void CXmlReader::Reset() {
    m_path.clear();
    m_errorText.clear();
    m_line = 1;
    m_error = false;
    m_sawElement = false;
}

void CXmlReader::SetError(const std::string& text) {
    m_errorText = text;
    m_error = true;
}

void CXmlReader::PushBack(const std::string& text) {
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        m_pushBack.push_back(*it);
    }
}

bool CXmlReader::FetchByte(char* byte) {
    if (!m_pushBack.empty()) {
        *byte = m_pushBack.back();
        m_pushBack.pop_back();
        return true;
    }
    if (m_file == nullptr) {
        return false;
    }
    int c = std::getc(m_file);
    if (c == EOF) {
        return false;
    }
    // Data files may come with CR LF line ends; the pair reads as one LF.
    if (c == '\r') {
        const int following = std::getc(m_file);
        if (following == '\n') {
            c = '\n';
        } else if (following != EOF) {
            std::ungetc(following, m_file);
        }
    }
    *byte = static_cast<char>(c);
    return true;
}

void CXmlReader::AddAttribute(XmlNode& node, const std::string& name, const std::string& value) {
    node.attributes[name] = value;
}

std::string CXmlReader::DecodeEntities(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            result += text[i++];
            continue;
        }
        const std::size_t semicolon = text.find(';', i);
        if (semicolon == std::string::npos) {
            result += text[i++];
            continue;
        }
        const std::string entity = text.substr(i + 1, semicolon - i - 1);
        char decoded = '&';
        if (entity == "lt") {
            decoded = '<';
        } else if (entity == "amp") {
            decoded = '&';
        } else if (entity == "gt") {
            decoded = '>';
        } else if (entity == "quot") {
            decoded = '"';
        } else if (entity == "apos") {
            decoded = '\'';
        } else if (entity == "nbsp") {
            decoded = ' ';
        } else if (entity == "cr") {
            decoded = '\n';
        }
        result += decoded;
        i = semicolon + 1;
    }
    return result;
}

bool CXmlReader::Read(XmlNode& node) {
    for (;;) {
        node.type = XML_NONE;
        node.path = m_path;
        node.name.clear();
        node.text.clear();
        node.attributes.clear();

        bool inQuotes = false;
        bool spacePending = false;
        bool inAttributes = false;
        bool afterEquals = false;
        bool quotedValue = false;
        std::string attributeName;
        std::string attributeValue;
        std::string lastAttributeName;

        const auto storeAttribute = [&]() {
            AddAttribute(node, DecodeEntities(attributeName), DecodeEntities(attributeValue));
            attributeName.clear();
            attributeValue.clear();
            afterEquals = false;
            lastAttributeName.clear();
        };
        const auto fail = [&](const std::string& text) {
            // Only the first error of an input is reported: the load that
            // stops at it keeps what was read before.
            if (!m_error) {
                HtmlLog().Write("Red", "Syntax error in %s, line %i: %s",
                                m_fileName.empty() ? "(text)" : m_fileName.c_str(), m_line,
                                text.c_str());
            }
            SetError(text);
            return false;
        };

        bool complete = false;
        while (!complete) {
            char c;
            if (!FetchByte(&c)) {
                if (node.type != XML_NONE || !m_path.empty()) {
                    // Cut short: inside a node, or with elements still open.
                    return fail("Unexpected End of File");
                }
                if (!m_sawElement) {
                    return fail("No Element");
                }
                return false;
            }
            if (c == '\n') {
                ++m_line;
            }

            if (node.type == XML_COMMENT) {
                node.text += c;
                if (c == '>' && EndsWith(node.text, "-->", 3)) {
                    node.text.resize(node.text.size() - 3);
                    complete = true;
                }
                continue;
            }
            if (node.type == XML_DECLARATION) {
                std::string& target =
                    (!node.text.empty() || IsWhitespace(c)) ? node.text : node.name;
                target += c;
                if (c == '>' && EndsWith(target, "?>", 2)) {
                    target.resize(target.size() - 2);
                    complete = true;
                }
                continue;
            }

            const bool inTag = node.type == XML_START_ELEMENT || node.type == XML_END_ELEMENT;
            bool ordinary = false;
            if (c == '"') {
                inQuotes = !inQuotes;
                if (!inQuotes) {
                    quotedValue = true;
                }
                if (inTag) {
                    continue;
                }
                ordinary = true;
            } else if (inQuotes) {
                ordinary = true;
            } else if (c == '<') {
                if (node.type == XML_TEXT) {
                    m_pushBack.push_back(c);
                    complete = true;
                    continue;
                }
                if (node.type == XML_NONE) {
                    node.type = XML_START_ELEMENT;
                    continue;
                }
                return fail("Unexpected '<'");
            } else if (c == '>') {
                if (node.type == XML_START_ELEMENT) {
                    bool selfClosing = false;
                    if (attributeName == "/") {
                        // The marker of "<e />", not an attribute.
                        attributeName.clear();
                        selfClosing = true;
                    } else {
                        if (!attributeName.empty()) {
                            const std::string name = DecodeEntities(attributeName);
                            storeAttribute();
                            lastAttributeName = name;
                        }
                        if (!lastAttributeName.empty()) {
                            std::string& value = node.attributes[lastAttributeName];
                            if (!value.empty() && value.back() == '/') {
                                value.pop_back();
                                selfClosing = true;
                            }
                        } else if (!node.name.empty() && node.name.back() == '/') {
                            node.name.pop_back();
                            selfClosing = true;
                        }
                    }
                    if (selfClosing) {
                        PushBack("</" + node.name + ">");
                    }
                    if (!m_path.empty()) {
                        m_path += '/';
                    }
                    m_path += node.name;
                    m_sawElement = true;
                    complete = true;
                    continue;
                }
                if (node.type == XML_END_ELEMENT) {
                    if (m_path.empty()) {
                        return fail("Unexpected End");
                    }
                    const std::size_t slash = m_path.rfind('/');
                    const std::string innermost =
                        slash == std::string::npos ? m_path : m_path.substr(slash + 1);
                    if (innermost != node.name) {
                        return fail("End '" + node.name + "' Doesn't Match Start '" + innermost +
                                    "'");
                    }
                    m_path.resize(slash == std::string::npos ? 0 : slash);
                    complete = true;
                    continue;
                }
                return fail("Unexpected '>'");
            } else if ((c == '/' || c == '?') && node.type == XML_START_ELEMENT &&
                       node.name.empty()) {
                node.type = c == '/' ? XML_END_ELEMENT : XML_DECLARATION;
                continue;
            } else if (IsWhitespace(c)) {
                if (!node.name.empty()) {
                    spacePending = true;
                    if (node.type == XML_START_ELEMENT && node.name == "!--") {
                        node.type = XML_COMMENT;
                    }
                }
                continue;
            } else if (static_cast<unsigned char>(c) < 0x21) {
                return fail("Illegal Character");
            } else {
                ordinary = true;
            }

            if (!ordinary) {
                continue;
            }
            if (node.type == XML_NONE) {
                node.type = XML_TEXT;
            }
            if (node.type == XML_TEXT || node.type == XML_END_ELEMENT) {
                if (spacePending) {
                    node.name += ' ';
                    spacePending = false;
                }
                node.name += c;
                continue;
            }
            // A start element: its name, then the attributes.
            const bool isEquals = c == '=' && !inQuotes;
            if (spacePending) {
                if (!inAttributes) {
                    inAttributes = true;
                    afterEquals = false;
                } else if (!afterEquals) {
                    if (!isEquals) {
                        storeAttribute();
                    }
                } else if (!attributeValue.empty() || quotedValue) {
                    storeAttribute();
                }
                spacePending = false;
            }
            if (!inAttributes) {
                node.name += c;
            } else if (isEquals) {
                afterEquals = true;
                quotedValue = false;
            } else if (afterEquals) {
                attributeValue += c;
            } else {
                attributeName += c;
            }
        }

        if (!attributeName.empty()) {
            storeAttribute();
        }
        node.name = DecodeEntities(node.name);
        if (node.type == XML_COMMENT && !m_reportComments) {
            continue;
        }
        return true;
    }
}

std::string EncodeXmlEntities(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    bool afterSpace = false;
    for (char c : text) {
        if (c == ' ') {
            result += afterSpace ? "&nbsp;" : " ";
            afterSpace = true;
            continue;
        }
        afterSpace = false;
        switch (c) {
            case '\n':
                result += "&cr;";
                break;
            case '"':
                result += "&quot;";
                break;
            case '&':
                result += "&amp;";
                break;
            case '\'':
                result += "&apos;";
                break;
            case '<':
                result += "&lt;";
                break;
            case '>':
                result += "&gt;";
                break;
            default:
                result += c;
        }
    }
    return result;
}

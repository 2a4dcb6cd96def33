#pragma once

#include <cstddef>
#include <string_view>

// Splits document text into nodes: character data and the kinds of markup. The
// element index is built from these nodes and element text is read from them,
// so both see the same document.
enum class XmlNodeKind {
    Text,
    StartTag,
    EmptyElementTag,
    EndTag,
    Comment,
    CDataSection,
    ProcessingInstruction,
    DocumentType,
};

struct XmlNode {
    XmlNodeKind kind = XmlNodeKind::Text;
    size_t begin = 0;
    size_t end = 0; // one past the node; the text's end when unterminated
    // Tags: the name, and for start tags where the attributes end.
    size_t nameEnd = 0;
    size_t attributesEnd = 0;
    // CDATA sections: where the data begins (it ends before the "]]>").
    size_t bodyBegin = 0;
    // A syntax problem met at `problemOffset` (a result item name), or nullptr.
    // A '<' that begins no markup becomes a one-character text node.
    const char* problem = nullptr;
    size_t problemOffset = 0;
    bool unterminated = false;
};

// The node that begins at `pos` (< text.size()).
XmlNode ScanXmlNode(std::string_view text, size_t pos);

// The item's "type" attribute of an unterminated node.
const char* XmlNodeTypeName(XmlNodeKind kind);

// Iterates the attributes between a tag's name and its end. A value may be in
// double or single quotes, or unquoted up to white space.
class CXmlAttributeScanner {
  public:
    explicit CXmlAttributeScanner(std::string_view region) : m_region(region) {}
    bool Next(std::string_view& name, std::string_view& value);

  private:
    std::string_view m_region;
    size_t m_pos = 0;
};

#include "XmlNodeScanner.h"

#include "XmlAscii.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

size_t SkipSpace(std::string_view text, size_t pos)
{
    while (pos < text.size() && IsXmlSpace(text[pos]))
        ++pos;
    return pos;
}

bool StartsWith(std::string_view text, size_t pos, std::string_view prefix)
{
    return text.substr(pos, prefix.size()) == prefix;
}

XmlNode Unterminated(XmlNode node, std::string_view text)
{
    node.unterminated = true;
    node.end = text.size();
    return node;
}

// A '<' that begins no markup: it stays a character of the text.
XmlNode SyntaxProblem(size_t pos, const char* problem)
{
    XmlNode node;
    node.begin = pos;
    node.end = pos + 1;
    node.problem = problem;
    node.problemOffset = pos;
    return node;
}

// Markup closed by a fixed terminator, such as a comment's "-->".
XmlNode Delimited(std::string_view text, size_t pos, XmlNodeKind kind, size_t bodyFrom,
                  std::string_view terminator)
{
    XmlNode node;
    node.kind = kind;
    node.begin = pos;
    const size_t close = text.find(terminator, bodyFrom);
    if (close == npos)
        return Unterminated(node, text);
    node.end = close + terminator.size();
    return node;
}

// Position of the '>' that ends a tag whose attributes start at `pos`; quoted
// values may hold '>'. npos when the tag is not closed.
size_t FindTagEnd(std::string_view text, size_t pos)
{
    while (true) {
        pos = SkipSpace(text, pos);
        if (pos >= text.size() || text[pos] == '>')
            return pos < text.size() ? pos : npos;
        while (pos < text.size() && !IsXmlSpace(text[pos]) && text[pos] != '=' && text[pos] != '>')
            ++pos;
        pos = SkipSpace(text, pos);
        if (pos >= text.size() || text[pos] != '=')
            continue;
        pos = SkipSpace(text, pos + 1);
        if (pos < text.size() && IsQuote(text[pos])) {
            const size_t close = text.find(text[pos], pos + 1);
            if (close == npos)
                return npos;
            pos = close + 1;
        } else {
            while (pos < text.size() && !IsXmlSpace(text[pos]) && text[pos] != '>')
                ++pos;
        }
    }
}

XmlNode ScanStartTag(std::string_view text, size_t pos)
{
    XmlNode node;
    node.kind = XmlNodeKind::StartTag;
    node.begin = pos;
    size_t i = pos + 1;
    while (i < text.size() && !IsXmlSpace(text[i]) && text[i] != '/' && text[i] != '>')
        ++i;
    node.nameEnd = i;
    // A '/' right after the name is the empty-element mark, not an attribute.
    const size_t close = FindTagEnd(text, i < text.size() && text[i] == '/' ? i + 1 : i);
    if (close == npos)
        return Unterminated(node, text);
    node.end = close + 1;
    node.attributesEnd = close;
    if (text[close - 1] == '/' && close - 1 >= node.nameEnd) {
        node.kind = XmlNodeKind::EmptyElementTag;
        node.attributesEnd = close - 1;
    }
    return node;
}

XmlNode ScanEndTag(std::string_view text, size_t pos)
{
    XmlNode node;
    node.kind = XmlNodeKind::EndTag;
    node.begin = pos;
    size_t i = pos + 2;
    while (i < text.size() && !IsXmlSpace(text[i]) && text[i] != '>')
        ++i;
    node.nameEnd = i;
    const size_t close = text.find('>', i);
    if (close == npos)
        return Unterminated(node, text);
    node.end = close + 1;
    return node;
}

// Skips a quoted literal starting at `pos`; npos when it is not closed.
size_t SkipQuoted(std::string_view text, size_t pos)
{
    const size_t close = text.find(text[pos], pos + 1);
    return close == npos ? npos : close + 1;
}

// A '<' inside the internal subset: a comment, a processing instruction or a
// markup declaration such as <!ELEMENT ...>. Returns the position after it.
size_t SkipSubsetMarkup(std::string_view text, size_t pos, XmlNode& node)
{
    if (StartsWith(text, pos, "<!--")) {
        const size_t close = text.find("-->", pos + 4);
        return close == npos ? npos : close + 3;
    }
    if (StartsWith(text, pos, "<?")) {
        const size_t close = text.find("?>", pos + 2);
        return close == npos ? npos : close + 2;
    }
    if (pos + 2 < text.size() && text[pos + 1] == '!' && text[pos + 2] >= 'A' && text[pos + 2] <= 'Z') {
        for (size_t i = pos + 2; i < text.size();) {
            if (text[i] == '>')
                return i + 1;
            i = IsQuote(text[i]) ? SkipQuoted(text, i) : i + 1;
            if (i == npos)
                return npos;
        }
        return npos;
    }
    if (!node.problem) {
        node.problem = "doctype_tag_syntax";
        node.problemOffset = pos;
    }
    return pos + 1;
}

XmlNode ScanDocumentType(std::string_view text, size_t pos)
{
    XmlNode node;
    node.kind = XmlNodeKind::DocumentType;
    node.begin = pos;
    bool inSubset = false;
    for (size_t i = pos + 2; i < text.size();) {
        const char c = text[i];
        if (c == '>' && !inSubset) {
            node.end = i + 1;
            return node;
        }
        if (IsQuote(c)) {
            i = SkipQuoted(text, i);
        } else if (c == '<' && inSubset) {
            i = SkipSubsetMarkup(text, i, node);
        } else {
            if (c == '[')
                inSubset = true;
            else if (c == ']')
                inSubset = false;
            ++i;
        }
        if (i == npos)
            break;
    }
    return Unterminated(node, text);
}

XmlNode ScanExclamation(std::string_view text, size_t pos)
{
    const char next = pos + 2 < text.size() ? text[pos + 2] : '\0';
    if (next == '-') {
        if (!StartsWith(text, pos, "<!--"))
            return SyntaxProblem(pos, "comment_tag_syntax");
        return Delimited(text, pos, XmlNodeKind::Comment, pos + 4, "-->");
    }
    if (next == '[') {
        if (!StartsWith(text, pos, "<![C"))
            return SyntaxProblem(pos, "cdata_section_syntax");
        // The 'C' alone opens the section: one written "<![CD x]]>" still
        // runs to its "]]>", its data right after the 'C'.
        const size_t body = StartsWith(text, pos, "<![CDATA[") ? pos + 9 : pos + 4;
        XmlNode node = Delimited(text, pos, XmlNodeKind::CDataSection, body, "]]>");
        node.bodyBegin = body;
        return node;
    }
    if (next == 'D')
        return ScanDocumentType(text, pos);
    return SyntaxProblem(pos, "exclamation_tag_syntax");
}

} // namespace

XmlNode ScanXmlNode(std::string_view text, size_t pos)
{
    if (text[pos] != '<') {
        XmlNode node;
        node.begin = pos;
        const size_t next = text.find('<', pos);
        node.end = next == npos ? text.size() : next;
        return node;
    }
    const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
    if (IsAsciiLetter(next) || next == '_' || next == ':')
        return ScanStartTag(text, pos);
    if (next == '/')
        return ScanEndTag(text, pos);
    if (next == '!')
        return ScanExclamation(text, pos);
    if (next == '?')
        return Delimited(text, pos, XmlNodeKind::ProcessingInstruction, pos + 2, "?>");
    return SyntaxProblem(pos, "first_tag_syntax");
}

const char* XmlNodeTypeName(XmlNodeKind kind)
{
    switch (kind) {
    case XmlNodeKind::StartTag:
    case XmlNodeKind::EmptyElementTag:
        return "start_tag";
    case XmlNodeKind::EndTag:
        return "end_tag";
    case XmlNodeKind::Comment:
        return "comment";
    case XmlNodeKind::CDataSection:
        return "cdata_section";
    case XmlNodeKind::ProcessingInstruction:
        return "processing_instruction";
    case XmlNodeKind::DocumentType:
        return "document_type";
    case XmlNodeKind::Text:
        break;
    }
    return "";
}

bool CXmlAttributeScanner::Next(std::string_view& name, std::string_view& value)
{
    const std::string_view r = m_region;
    m_pos = SkipSpace(r, m_pos);
    if (m_pos >= r.size())
        return false;
    const size_t nameBegin = m_pos;
    while (m_pos < r.size() && !IsXmlSpace(r[m_pos]) && r[m_pos] != '=')
        ++m_pos;
    name = r.substr(nameBegin, m_pos - nameBegin);
    value = {};
    const size_t equals = SkipSpace(r, m_pos);
    if (equals >= r.size() || r[equals] != '=')
        return true;
    m_pos = SkipSpace(r, equals + 1);
    if (m_pos < r.size() && IsQuote(r[m_pos])) {
        const size_t close = r.find(r[m_pos], m_pos + 1);
        const size_t valueEnd = close == npos ? r.size() : close;
        value = r.substr(m_pos + 1, valueEnd - m_pos - 1);
        m_pos = close == npos ? r.size() : close + 1;
    } else {
        const size_t valueBegin = m_pos;
        while (m_pos < r.size() && !IsXmlSpace(r[m_pos]))
            ++m_pos;
        value = r.substr(valueBegin, m_pos - valueBegin);
    }
    return true;
}

#include "XmlResults.h"

namespace {

bool IsParseProblem(const std::string& name)
{
    static const char* const kProblems[] = {
        "root_has_sibling",     "no_root_element",         "lone_end_tag",       "unended_start_tag",
        "first_tag_syntax",     "exclamation_tag_syntax",  "doctype_tag_syntax", "comment_tag_syntax",
        "cdata_section_syntax", "unterminated_tag_syntax",
    };
    for (const char* problem : kProblems) {
        if (name == problem)
            return true;
    }
    return false;
}

void AppendEscaped(std::string& out, const std::string& value)
{
    for (char c : value) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
}

std::string SyntaxText(const CXmlResults::Item& item, const char* expecting)
{
    return "tag syntax error at offset " + item.Attribute("offset") + " expecting " + expecting;
}

// The piece one item contributes; empty for items that tell nothing.
std::string PieceOf(const CXmlResults::Item& item)
{
    const std::string& n = item.name;
    if (n == "root_has_sibling")
        return "root element has sibling";
    if (n == "no_root_element")
        return "no root element";
    if (n == "lone_end_tag")
        return "lone end tag '" + item.Attribute("tagname") + "' at offset " + item.Attribute("offset");
    if (n == "unended_start_tag")
        return "start tag '" + item.Attribute("tagname") + "' at offset " + item.Attribute("offset") +
               " expecting end tag at offset " + item.Attribute("offset2");
    if (n == "first_tag_syntax")
        return SyntaxText(item, "tag name / ! or ?");
    if (n == "exclamation_tag_syntax")
        return SyntaxText(item, "'DOCTYPE' [ or -");
    if (n == "doctype_tag_syntax")
        return SyntaxText(item, "markup declaration");
    if (n == "comment_tag_syntax")
        return SyntaxText(item, "- to begin comment");
    if (n == "cdata_section_syntax")
        return SyntaxText(item, "'CDATA'");
    if (n == "unterminated_tag_syntax")
        return "unterminated tag at offset " + item.Attribute("offset");
    if (n == "file_error")
        return item.Attribute("msg");
    if (n == "bom")
        return "BOM +";
    if (n == "read" || n == "converted_to") {
        const std::string encoding = item.Attribute("encoding");
        std::string piece = n == "read" ? "" : "to ";
        if (!encoding.empty())
            piece += encoding + " ";
        return piece + "length " + item.Attribute("length");
    }
    if (n == "nulls_removed")
        return "removed " + item.Attribute("count") + " nulls";
    if (n == "conversion_loss")
        return "(chars lost in conversion!)";
    if (n == "utf8_detection")
        return "(used UTF-8 detection)";
    if (n == "endian_swap")
        return "endian swap";
    if (n == "truncation_error")
        return "encoding " + item.Attribute("encoding") + " adjustment error";
    return {};
}

} // namespace

std::string CXmlResults::Item::Attribute(const std::string& attributeName) const
{
    for (const auto& [key, value] : attributes) {
        if (key == attributeName)
            return value;
    }
    return {};
}

void CXmlResults::Clear()
{
    m_items.clear();
    m_text.clear();
}

void CXmlResults::Add(std::string name, Attributes attributes)
{
    if (m_text.size() >= kTextLimit)
        return;
    m_text += "<" + name;
    for (const auto& [key, value] : attributes) {
        m_text += " " + key + "=\"";
        AppendEscaped(m_text, value);
        m_text += "\"";
    }
    m_text += "/>";
    m_items.push_back({std::move(name), std::move(attributes)});
}

bool CXmlResults::Has(const std::string& name) const
{
    for (const Item& item : m_items) {
        if (item.name == name)
            return true;
    }
    return false;
}

std::string CXmlResults::ErrorText() const
{
    std::string text;
    bool problemTold = false;
    for (const Item& item : m_items) {
        if (IsParseProblem(item.name)) {
            if (problemTold)
                continue;
            problemTold = true;
        }
        const std::string piece = PieceOf(item);
        if (piece.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += piece;
    }
    return text;
}

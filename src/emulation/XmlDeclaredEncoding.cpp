#include "XmlDeclaredEncoding.h"

#include "XmlAscii.h"
#include "XmlNodeScanner.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// The value of the attribute `wanted` (matched without regard to case) in
// the attribute region of a tag.
bool FindAttribute(std::string_view region, std::string_view wanted, std::string_view& value)
{
    CXmlAttributeScanner scanner(region);
    std::string_view name;
    while (scanner.Next(name, value)) {
        if (EqualsNoCase(name, wanted))
            return true;
    }
    return false;
}

std::string FromXmlDeclaration(std::string_view head)
{
    if (head.substr(0, 5) != "<?xml" || head.size() < 6 || !IsXmlSpace(head[5]))
        return {};
    const size_t close = head.find("?>");
    std::string_view value;
    if (close == npos || !FindAttribute(head.substr(5, close - 5), "encoding", value))
        return {};
    return std::string(value);
}

// "text/html; charset=windows-1252" -> "windows-1252".
std::string CharsetOfContentType(std::string_view content)
{
    const size_t at = FindNoCase(content, "charset=");
    if (at == npos)
        return {};
    size_t begin = at + 8;
    if (begin < content.size() && (content[begin] == '"' || content[begin] == '\''))
        ++begin;
    size_t end = begin;
    while (end < content.size() && !IsXmlSpace(content[end]) && content[end] != ';' && content[end] != '"' &&
           content[end] != '\'')
        ++end;
    return std::string(content.substr(begin, end - begin));
}

std::string FromMetaElement(std::string_view head)
{
    for (size_t at = FindNoCase(head, "<meta"); at != npos; at = FindNoCase(head, "<meta", at + 5)) {
        if (at + 5 >= head.size() || !IsXmlSpace(head[at + 5]))
            continue;
        const size_t close = head.find('>', at);
        if (close == npos)
            return {};
        std::string_view region = head.substr(at + 5, close - at - 5);
        if (!region.empty() && region.back() == '/')
            region.remove_suffix(1);
        std::string_view httpEquiv;
        std::string_view content;
        if (FindAttribute(region, "http-equiv", httpEquiv) && EqualsNoCase(httpEquiv, "Content-Type") &&
            FindAttribute(region, "content", content))
            return CharsetOfContentType(content);
    }
    return {};
}

} // namespace

std::string FindDeclaredEncoding(std::string_view head)
{
    std::string encoding = FromXmlDeclaration(head);
    return encoding.empty() ? FromMetaElement(head) : encoding;
}

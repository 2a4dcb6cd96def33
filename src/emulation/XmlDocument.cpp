#include "XmlDocument.h"

#include <cerrno>

#include "XmlFile.h"
#include "XmlNodeScanner.h"
#include "XmlReferences.h"
#include "XmlTextDecoder.h"

bool CXmlDocument::LoadFile(const std::string& path)
{
    m_results.Clear();
    std::string bytes;
    if (!ReadXmlFile(path, bytes, m_results)) {
        m_text.clear();
        Parse(); // an empty index, so that navigation finds nothing
        return false;
    }
    m_text = DecodeXmlText(bytes, m_results);
    return Parse();
}

bool CXmlDocument::LoadBytes(std::string_view bytes)
{
    m_results.Clear();
    if (bytes.size() > CXmlElementIndex::kMaxTextLength) {
        RecordFileError(EFBIG, m_results);
        m_text.clear();
        Parse();
        return false;
    }
    m_text = DecodeXmlText(bytes, m_results);
    return Parse();
}

bool CXmlDocument::Parse()
{
    m_index.Build(m_text, m_results);
    m_parent = 0;
    m_current = 0;
    return m_index.WellFormed();
}

std::string_view CXmlDocument::NameOf(int32_t element) const
{
    const XmlElement& e = m_index.Element(element);
    return std::string_view(m_text).substr(e.start + 1, e.nameLength);
}

bool CXmlDocument::FindElement(std::string_view name)
{
    int32_t candidate =
        m_current == 0 ? m_index.Element(m_parent).firstChild : m_index.Element(m_current).nextSibling;
    while (candidate != 0 && !name.empty() && NameOf(candidate) != name)
        candidate = m_index.Element(candidate).nextSibling;
    if (candidate == 0)
        return false;
    m_current = candidate;
    return true;
}

bool CXmlDocument::EnterElement()
{
    if (m_current == 0)
        return false;
    m_parent = m_current;
    m_current = 0;
    return true;
}

bool CXmlDocument::LeaveElement()
{
    if (m_parent == 0)
        return false;
    m_current = m_parent;
    m_parent = m_index.Element(m_parent).parent;
    return true;
}

void CXmlDocument::RestartChildren()
{
    m_current = 0;
}

std::string CXmlDocument::GetElementName() const
{
    return m_current == 0 ? std::string() : std::string(NameOf(m_current));
}

std::string CXmlDocument::GetAttribute(std::string_view name) const
{
    if (m_current == 0)
        return {};
    const XmlElement& e = m_index.Element(m_current);
    const size_t begin = e.start + 1 + e.nameLength;
    CXmlAttributeScanner scanner(std::string_view(m_text).substr(begin, e.attributesEnd - begin));
    std::string_view attribute;
    std::string_view value;
    while (scanner.Next(attribute, value)) {
        if (attribute == name)
            return DecodeXmlReferences(value);
    }
    return {};
}

std::string CXmlDocument::GetText() const
{
    if (m_current == 0)
        return {};
    const XmlElement& e = m_index.Element(m_current);
    if (e.firstChild != 0)
        return {};
    const std::string_view content = std::string_view(m_text).substr(0, e.contentEnd);
    std::string text;
    for (size_t pos = e.contentBegin; pos < content.size();) {
        const XmlNode node = ScanXmlNode(content, pos);
        if (node.kind == XmlNodeKind::Text)
            text += DecodeXmlReferences(content.substr(node.begin, node.end - node.begin));
        else if (node.kind == XmlNodeKind::CDataSection && !node.unterminated)
            text.append(content.substr(node.bodyBegin, node.end - 3 - node.bodyBegin));
        pos = node.end;
    }
    return text;
}

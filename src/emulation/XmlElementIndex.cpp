#include "XmlElementIndex.h"

#include <string>
#include <unordered_map>

#include "XmlNodeScanner.h"

// The pass itself: the open elements on a stack, with a count per tag name so
// that an end tag matching no open element is known at once (a deep stack of
// open elements then costs no search per stray end tag).
class CXmlElementIndex::Builder {
  public:
    Builder(std::string_view text, CXmlResults& results, std::vector<XmlElement>& elements)
        : m_text(text), m_results(results), m_elements(elements)
    {
    }

    // Returns whether no problem was recorded.
    bool Run()
    {
        for (size_t pos = 0; pos < m_text.size();) {
            const XmlNode node = ScanXmlNode(m_text, pos);
            Take(node);
            pos = node.end;
        }
        while (!m_open.empty())
            CloseUnended(m_text.size());
        CheckRoot();
        return m_clean;
    }

  private:
    void Record(const char* item, CXmlResults::Attributes attributes)
    {
        m_results.Add(item, std::move(attributes));
        m_clean = false;
    }

    void Take(const XmlNode& node)
    {
        if (node.problem)
            Record(node.problem, {{"offset", std::to_string(node.problemOffset)}});
        if (node.unterminated) {
            Record("unterminated_tag_syntax",
                   {{"type", XmlNodeTypeName(node.kind)}, {"offset", std::to_string(node.begin)}});
            return;
        }
        if (node.kind == XmlNodeKind::StartTag || node.kind == XmlNodeKind::EmptyElementTag)
            AddElement(node);
        else if (node.kind == XmlNodeKind::EndTag)
            CloseByEndTag(node);
    }

    std::string_view NameOf(const XmlElement& element) const
    {
        return m_text.substr(element.start + 1, element.nameLength);
    }

    void AddElement(const XmlNode& node)
    {
        const int32_t parent = m_open.empty() ? 0 : m_open.back();
        XmlElement element;
        element.start = static_cast<uint32_t>(node.begin);
        element.nameLength = static_cast<uint32_t>(node.nameEnd - node.begin - 1);
        element.attributesEnd = static_cast<uint32_t>(node.attributesEnd);
        element.contentBegin = element.contentEnd = static_cast<uint32_t>(node.end);
        element.parent = parent;
        const auto index = static_cast<int32_t>(m_elements.size());
        m_elements.push_back(element);
        XmlElement& parentElement = m_elements[parent];
        if (parentElement.lastChild != 0)
            m_elements[parentElement.lastChild].nextSibling = index;
        else
            parentElement.firstChild = index;
        parentElement.lastChild = index;
        if (node.kind == XmlNodeKind::StartTag) {
            m_open.push_back(index);
            ++m_openNames[NameOf(element)];
        }
    }

    void Pop(size_t contentEnd)
    {
        XmlElement& element = m_elements[m_open.back()];
        element.contentEnd = static_cast<uint32_t>(contentEnd);
        --m_openNames[NameOf(element)];
        m_open.pop_back();
    }

    // Closes the top element where it stands, without an end tag.
    void CloseUnended(size_t where)
    {
        const XmlElement& element = m_elements[m_open.back()];
        Record("unended_start_tag", {{"tagname", std::string(NameOf(element))},
                                     {"offset", std::to_string(element.start)},
                                     {"offset2", std::to_string(where)}});
        Pop(where);
    }

    void CloseByEndTag(const XmlNode& node)
    {
        const std::string_view name = m_text.substr(node.begin + 2, node.nameEnd - node.begin - 2);
        const auto open = m_openNames.find(name);
        if (open == m_openNames.end() || open->second == 0) {
            Record("lone_end_tag", {{"tagname", std::string(name)}, {"offset", std::to_string(node.begin)}});
            return;
        }
        while (NameOf(m_elements[m_open.back()]) != name)
            CloseUnended(node.begin);
        Pop(node.begin);
    }

    void CheckRoot()
    {
        if (m_text.empty())
            return;
        const int32_t root = m_elements[0].firstChild;
        if (root == 0)
            Record("no_root_element", {});
        else if (m_elements[root].nextSibling != 0)
            Record("root_has_sibling", {});
    }

    std::string_view m_text;
    CXmlResults& m_results;
    std::vector<XmlElement>& m_elements;
    std::vector<int32_t> m_open;
    std::unordered_map<std::string_view, int> m_openNames;
    bool m_clean = true;
};

void CXmlElementIndex::Build(std::string_view text, CXmlResults& results)
{
    m_elements.clear();
    m_elements.reserve(text.size() / 64 + 8);
    m_elements.emplace_back(); // the document
    const bool clean = Builder(text, results, m_elements).Run();
    m_wellFormed = clean && Root() != 0;
}

#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "XmlResults.h"

// One element of the document text. Offsets index the text; element indices
// index the element index, 0 being the document itself and meaning "none"
// for the links.
struct XmlElement {
    uint32_t start = 0;         // the '<' of the start tag
    uint32_t nameLength = 0;    // the tag name follows the '<'
    uint32_t attributesEnd = 0; // before the start tag's '>' or "/>"
    uint32_t contentBegin = 0;  // after the start tag
    uint32_t contentEnd = 0;    // at the end tag, or where the element was closed without one
    int32_t parent = 0;
    int32_t firstChild = 0;
    int32_t lastChild = 0;
    int32_t nextSibling = 0;
};

// The element tree of a document text, built in one pass. Problems are
// recorded in the results and mark the index ill-formed, but the pass goes on
// so that a best-effort tree exists.
class CXmlElementIndex {
  public:
    // The largest text the 32-bit offsets can index.
    static constexpr size_t kMaxTextLength = INT32_MAX;

    CXmlElementIndex() : m_elements(1) {} // the document alone

    void Build(std::string_view text, CXmlResults& results);

    const XmlElement& Element(int32_t index) const { return m_elements[index]; }
    int32_t Root() const { return m_elements[0].firstChild; }
    // No problem was met, a root element exists and it has no sibling.
    bool WellFormed() const { return m_wellFormed; }

  private:
    class Builder;

    std::vector<XmlElement> m_elements;
    bool m_wellFormed = false;
};

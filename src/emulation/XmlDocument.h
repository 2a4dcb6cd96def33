#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "XmlElementIndex.h"
#include "XmlResults.h"

// A small XML reader: loads a whole file as single-byte Windows-1252 text,
// indexes its elements in one pass and lets one caller walk the element tree
// from a current position. Names compare case-sensitively. Failures are false
// results and empty strings; what went wrong on loading is in GetErrorText.
class CXmlDocument {
  public:
    // True when the file was read and the document is well-formed. The result
    // list is replaced by this load's items.
    bool LoadFile(const std::string& path);
    // The same steps on bytes already in memory (no file step).
    bool LoadBytes(std::string_view bytes);

    // The next element among the children of the current parent after the
    // current element; an empty name matches any element. On failure the
    // position does not change.
    bool FindElement(std::string_view name = {});
    // Into the current element, before its first child.
    bool EnterElement();
    // Back to the parent, which becomes the current element again.
    bool LeaveElement();
    // Before the first child of the current parent.
    void RestartChildren();

    std::string GetElementName() const;
    // Quotes removed and references decoded; empty when absent.
    std::string GetAttribute(std::string_view name) const;
    // Character data with references decoded and CDATA sections taken
    // literally; empty when the element has child elements.
    std::string GetText() const;

    std::string GetErrorText() const { return m_results.ErrorText(); }
    const CXmlResults& GetResults() const { return m_results; }
    bool IsWellFormed() const { return m_index.WellFormed(); }
    const std::string& GetDocumentText() const { return m_text; }

  private:
    bool Parse();
    std::string_view NameOf(int32_t element) const;

    std::string m_text;
    CXmlElementIndex m_index;
    CXmlResults m_results;
    int32_t m_parent = 0;  // 0: the document
    int32_t m_current = 0; // 0: before the first child of m_parent
};

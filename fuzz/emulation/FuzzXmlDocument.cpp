// Loads arbitrary bytes as a document, then walks every element depth-first
// (iteratively, as the reader itself never recurses), reading names,
// attributes and text at each.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "XmlDocument.h"

namespace {

void Visit(const CXmlDocument& document)
{
    static const char* const kAttributes[] = {"name", "id", "a", "encoding", ""};
    document.GetElementName();
    for (const char* name : kAttributes)
        document.GetAttribute(name);
    document.GetText();
}

// Moves to the next element in document order that is not inside the
// current one; false at the end of the document.
bool NextOutside(CXmlDocument& document)
{
    while (!document.FindElement()) {
        if (!document.LeaveElement())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CXmlDocument document;
    document.LoadBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    document.GetErrorText();
    if (!document.FindElement())
        return 0;
    do {
        Visit(document);
        document.EnterElement();
        if (document.FindElement())
            continue;
        document.LeaveElement();
        if (!NextOutside(document))
            break;
    } while (true);
    return 0;
}

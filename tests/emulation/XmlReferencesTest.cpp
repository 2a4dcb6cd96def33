// Character references in attribute values and element text.
#include <gtest/gtest.h>

#include <string>

#include "XmlDocument.h"

namespace {

struct ReferenceCase {
    const char* written;
    const char* decoded;
};

TEST(XmlReferences, DecodedInTextAndAttributesAlike)
{
    const ReferenceCase cases[] = {
        {"&amp;", "&"},
        {"&#65;", "A"},
        {"&#x41;", "A"},
        {"&#X41;", "&#X41;"},           // only a small x marks hexadecimal
        {"&#0000065;", "A"},            // the ';' nine characters after the '&'
        {"&#00000065;", "&#00000065;"}, // ten: no reference
        {"&bogus;", "&bogus;"},
        {"&#x1F600;", "&#x1F600;"}, // above 0xFFFF: Windows-1252 has no such character
        {"&#0;", "&#0;"},
        {"&#xD800;", "&#xD800;"},
        {"&#99999999;", "&#99999999;"},
        {"&#;", "&#;"},
        {"&;", "&;"},
        {"a & b", "a & b"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&AMP;&Lt;", "&<"}, // names without a second case form match in any case
        {"&Eacute;&eacute;", "\xC9\xE9"},
        {"&EACUTE;", "\xC9"},
        {"&euro;&nbsp;&trade;&hellip;", "\x80\xA0\x99\x85"},
        {"&alpha;", "&alpha;"}, // Greek is not in Windows-1252
        {"&&amp;", "&&"},
        {"&amp", "&amp"},
    };
    for (const ReferenceCase& c : cases) {
        CXmlDocument document;
        const std::string quote = std::string(c.written).find('"') == std::string::npos ? "\"" : "'";
        ASSERT_TRUE(document.LoadBytes("<r v=" + quote + c.written + quote + ">" + c.written + "</r>"))
            << c.written;
        ASSERT_TRUE(document.FindElement("r"));
        EXPECT_EQ(document.GetText(), c.decoded) << c.written;
        EXPECT_EQ(document.GetAttribute("v"), c.decoded) << c.written;
    }
}

} // namespace

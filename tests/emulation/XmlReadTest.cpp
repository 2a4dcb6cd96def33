// Walking the element tree, and reading names, attributes and text
// (references decoded) where it stands.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "XmlDocument.h"

namespace {

TEST(XmlRead, FindEnterLeaveAndRestartWalkTheTree)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<root><item id='1'/><Item id='2'/>"
                                   "<item id='3'><sub>t</sub><sub>u</sub></item><other/></root>"));
    EXPECT_FALSE(document.EnterElement());      // no current element yet
    EXPECT_FALSE(document.FindElement("ROOT")); // names compare case-sensitively
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_FALSE(document.EnterElement());
    std::string ids;
    while (document.FindElement("item"))
        ids += document.GetAttribute("id");
    EXPECT_EQ(ids, "13");
    EXPECT_EQ(document.GetAttribute("id"), "3"); // a failed find moves nothing
    EXPECT_EQ(document.GetAttribute("ID"), "");

    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.GetElementName(), ""); // before the first child
    ASSERT_TRUE(document.FindElement("sub"));
    ASSERT_TRUE(document.FindElement("sub"));
    EXPECT_EQ(document.GetText(), "u");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.GetAttribute("id"), "3");
    EXPECT_TRUE(document.FindElement()); // any element: the one after item 3
    EXPECT_EQ(document.GetElementName(), "other");
    EXPECT_FALSE(document.FindElement());

    document.RestartChildren();
    EXPECT_EQ(document.GetElementName(), "");
    ASSERT_TRUE(document.FindElement("Item"));
    EXPECT_EQ(document.GetAttribute("id"), "2");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.GetElementName(), "root");
    EXPECT_FALSE(document.LeaveElement()); // the document has no parent
    EXPECT_EQ(document.GetElementName(), "root");
}

TEST(XmlRead, QuotedAndUnquotedAttributeValuesAndCharacterData)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<r a=\"x y\" b='q\"z' c=plain d = \"1>2\" e f=g/>"));
    ASSERT_TRUE(document.FindElement("r"));
    EXPECT_EQ(document.GetAttribute("a"), "x y");
    EXPECT_EQ(document.GetAttribute("b"), "q\"z");
    EXPECT_EQ(document.GetAttribute("c"), "plain");
    EXPECT_EQ(document.GetAttribute("d"), "1>2");
    EXPECT_EQ(document.GetAttribute("e"), "");
    EXPECT_EQ(document.GetAttribute("f"), "g"); // the empty-element '/' is not part of the value
    EXPECT_EQ(document.GetAttribute("missing"), "");
    EXPECT_EQ(document.GetText(), "");

    // Character data: CDATA literal, comments skipped.
    ASSERT_TRUE(document.LoadBytes(
        "<r><t> a<!-- <x> -->b<?pi c?><![CDATA[<&amp;>]]>&amp; <![C]]><![CD]]]></t><p><c/>x</p><e></e></r>"));
    ASSERT_TRUE(document.FindElement("r"));
    EXPECT_EQ(document.GetText(), ""); // has child elements
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("t"));
    EXPECT_EQ(document.GetText(), " ab<&amp;>& D]"); // a section opened by the 'C' alone
    ASSERT_TRUE(document.FindElement("p"));
    EXPECT_EQ(document.GetText(), "");
    ASSERT_TRUE(document.FindElement("e"));
    EXPECT_EQ(document.GetText(), "");
}

TEST(XmlRead, ReferencesDecodedInTextAndAttributesAlike)
{
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [written, decoded] : cases) {
        CXmlDocument document;
        const std::string quote = std::string(written).find('"') == std::string::npos ? "\"" : "'";
        ASSERT_TRUE(document.LoadBytes("<r v=" + quote + written + quote + ">" + written + "</r>"))
            << written;
        ASSERT_TRUE(document.FindElement("r"));
        EXPECT_EQ(document.GetText(), decoded) << written;
        EXPECT_EQ(document.GetAttribute("v"), decoded) << written;
    }
}

} // namespace

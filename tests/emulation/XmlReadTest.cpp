// Walking the element tree; names, attributes and text (references decoded) where it stands.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "XmlDocument.h"

namespace {

TEST(XmlRead, FindEnterLeaveAndRestartWalkTheTree)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<root id='0'><item id='1'/><Item id='2'/>"
                                   "<item id='3'><sub>t</sub><sub>u</sub></item><other id='4'/></root>"));
    EXPECT_FALSE(document.EnterElement());      // no current element yet
    EXPECT_FALSE(document.FindElement("ROOT")); // names compare case-sensitively
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_FALSE(document.EnterElement()); // before the first child
    std::string ids;
    while (document.FindElement("item"))
        ids += document.GetAttribute("id");
    EXPECT_EQ(ids, "13");
    EXPECT_EQ(document.GetAttribute("id"), "3"); // a failed find moves nothing
    EXPECT_EQ(document.GetAttribute("ID"), "");

    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("sub"));
    ASSERT_TRUE(document.FindElement("sub"));
    EXPECT_EQ(document.GetText(), "u");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.GetAttribute("id"), "3");
    ASSERT_TRUE(document.FindElement("other")); // searched on from item 3
    EXPECT_EQ(document.GetAttribute("id"), "4");

    document.RestartChildren();
    ASSERT_TRUE(document.FindElement("Item"));
    EXPECT_EQ(document.GetAttribute("id"), "2");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_FALSE(document.LeaveElement()); // the document has no parent
    EXPECT_EQ(document.GetAttribute("id"), "0");
}

TEST(XmlRead, QuotedAndUnquotedAttributeValuesAndCharacterData)
{
    CXmlDocument document;
    ASSERT_TRUE(document.LoadBytes("<r a=\"x y\" b='q\"z' c=plain d = \"1>2\" e f=g/>"));
    ASSERT_TRUE(document.FindElement("r"));
    std::string values;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "missing"})
        values += document.GetAttribute(name) + "|";
    EXPECT_EQ(values, "x y|q\"z|plain|1>2||g||"); // the empty-element '/' is not part of f's value
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
        {"&amp;&#65;&#x41;&#0000065;", "&AAA"}, // the last with its ';' nine characters after the '&'
        {"&#X41;", "&#X41;"},                   // only a small x marks hexadecimal
        {"&#00000065;", "&#00000065;"},         // ten: no reference
        // Not a character Windows-1252 has, or no reference at all: left as written.
        {"&bogus;&#x1F600;&#0;&#xD800;&#99999999;&#;&;&alpha;",
         "&bogus;&#x1F600;&#0;&#xD800;&#99999999;&#;&;&alpha;"},
        {"a & b&&amp;&amp", "a & b&&&amp"},
        {"&lt;&gt;&quot;&apos;", "<>\"'"},
        {"&AMP;&Lt;&EACUTE;", "&<\xC9"}, // names without a second case form match in any case
        {"&Eacute;&eacute;&euro;&nbsp;&trade;&hellip;", "\xC9\xE9\x80\xA0\x99\x85"},
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

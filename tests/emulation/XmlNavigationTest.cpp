// Walking the element tree: finding, entering, leaving and restarting, and
// reading names, attributes and text at the current position.
#include <gtest/gtest.h>

#include <string>

#include "XmlDocument.h"

namespace {

const char* const kTree = "<root>"
                          "<item id='1'/>"
                          "<Item id='2'/>"
                          "<item id='3'><sub>t</sub><sub>u</sub></item>"
                          "<other/>"
                          "</root>";

class XmlNavigation : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(document.LoadBytes(kTree)) << document.GetErrorText(); }
    CXmlDocument document;
};

TEST_F(XmlNavigation, FindEnterLeaveAndRestartWalkTheTree)
{
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

    CXmlDocument empty;
    EXPECT_FALSE(empty.FindElement());
    EXPECT_FALSE(empty.LeaveElement());
    EXPECT_EQ(empty.GetText(), "");
}

TEST(XmlAttributes, QuotedAndUnquotedValues)
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
}

TEST(XmlText, CharacterDataWithCDataLiteralAndCommentsSkipped)
{
    CXmlDocument document;
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

} // namespace

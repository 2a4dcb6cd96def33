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

TEST_F(XmlNavigation, NamesCompareCaseSensitively)
{
    EXPECT_FALSE(document.FindElement("ROOT"));
    EXPECT_EQ(document.GetElementName(), "");
    ASSERT_TRUE(document.FindElement("root"));
    EXPECT_EQ(document.GetElementName(), "root");
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("Item"));
    EXPECT_EQ(document.GetAttribute("id"), "2");
    EXPECT_EQ(document.GetAttribute("ID"), "");
}

TEST_F(XmlNavigation, RepeatedFindVisitsEachMatchOnceThenKeepsThePosition)
{
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    std::string ids;
    while (document.FindElement("item"))
        ids += document.GetAttribute("id");
    EXPECT_EQ(ids, "13");
    EXPECT_EQ(document.GetAttribute("id"), "3"); // a failed find moves nothing
    EXPECT_TRUE(document.FindElement());         // any element: the one after item 3
    EXPECT_EQ(document.GetElementName(), "other");
    EXPECT_FALSE(document.FindElement());
}

TEST_F(XmlNavigation, LeaveElementReturnsToTheElementLeft)
{
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("item"));
    ASSERT_TRUE(document.FindElement("item"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.GetElementName(), ""); // before the first child
    ASSERT_TRUE(document.FindElement("sub"));
    ASSERT_TRUE(document.FindElement("sub"));
    EXPECT_EQ(document.GetText(), "u");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.GetAttribute("id"), "3");
    ASSERT_TRUE(document.FindElement());
    EXPECT_EQ(document.GetElementName(), "other");
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.GetElementName(), "root");
    EXPECT_FALSE(document.LeaveElement()); // the document has no parent
    EXPECT_EQ(document.GetElementName(), "root");
}

TEST_F(XmlNavigation, RestartChildrenGoesBeforeTheFirstChild)
{
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("other"));
    document.RestartChildren();
    EXPECT_EQ(document.GetElementName(), "");
    ASSERT_TRUE(document.FindElement("item"));
    EXPECT_EQ(document.GetAttribute("id"), "1");
    ASSERT_TRUE(document.LeaveElement()); // the parent stayed
    EXPECT_EQ(document.GetElementName(), "root");
}

TEST_F(XmlNavigation, EnterNeedsACurrentElement)
{
    EXPECT_FALSE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("root"));
    ASSERT_TRUE(document.EnterElement());
    EXPECT_FALSE(document.EnterElement());
}

TEST(XmlNavigationEmpty, EmptyDocumentFindsNothing)
{
    CXmlDocument document;
    EXPECT_FALSE(document.FindElement());
    EXPECT_FALSE(document.EnterElement());
    EXPECT_FALSE(document.LeaveElement());
    EXPECT_EQ(document.GetElementName(), "");
    EXPECT_EQ(document.GetAttribute("a"), "");
    EXPECT_EQ(document.GetText(), "");
    EXPECT_EQ(document.GetErrorText(), "");
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

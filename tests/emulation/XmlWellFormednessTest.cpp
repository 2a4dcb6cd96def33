// Each well-formedness problem, the description it gives, and files that
// cannot be read.
#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "XmlDocument.h"

namespace {

struct ProblemCase {
    const char* label;
    std::string text;  // ASCII starting with '<', so the description begins with the UTF-8 steps
    std::string item;  // the first item the parse records
    std::string piece; // the parse-problem piece of the description
};

// Test listings name a case by its label, not by a dump of its bytes.
void PrintTo(const ProblemCase& c, std::ostream* os)
{
    *os << c.label;
}

class XmlProblem : public testing::TestWithParam<ProblemCase> {};

TEST_P(XmlProblem, FailsTheLoadAndTellsTheFirstProblem)
{
    const ProblemCase& c = GetParam();
    CXmlDocument document;
    EXPECT_FALSE(document.LoadBytes(c.text));
    EXPECT_FALSE(document.IsWellFormed());
    const std::string length = std::to_string(c.text.size());
    EXPECT_EQ(document.GetErrorText(),
              "UTF-8 length " + length + " to windows-1252 length " + length + " " + c.piece);
    const auto& items = document.GetResults().Items();
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items[2].name, c.item);
}

INSTANTIATE_TEST_SUITE_P(
    Problems, XmlProblem,
    testing::Values(
        ProblemCase{"lone_end_tag", "<r></x></r>", "lone_end_tag", "lone end tag 'x' at offset 3"},
        ProblemCase{"unended_inside", "<r><a></r>", "unended_start_tag",
                    "start tag 'a' at offset 3 expecting end tag at offset 6"},
        ProblemCase{"unended_at_end", "<r><a/>", "unended_start_tag",
                    "start tag 'r' at offset 0 expecting end tag at offset 7"},
        ProblemCase{"first_tag_syntax", "<r>< 1</r>", "first_tag_syntax",
                    "tag syntax error at offset 3 expecting tag name / ! or ?"},
        ProblemCase{"exclamation_tag_syntax", "<r><!x></r>", "exclamation_tag_syntax",
                    "tag syntax error at offset 3 expecting 'DOCTYPE' [ or -"},
        ProblemCase{"doctype_tag_syntax", "<!DOCTYPE r [<!x>]><r/>", "doctype_tag_syntax",
                    "tag syntax error at offset 13 expecting markup declaration"},
        ProblemCase{"comment_tag_syntax", "<r><!-x--></r>", "comment_tag_syntax",
                    "tag syntax error at offset 3 expecting - to begin comment"},
        ProblemCase{"cdata_section_syntax", "<r><![cdata[ x]]></r>", "cdata_section_syntax",
                    "tag syntax error at offset 3 expecting 'CDATA'"},
        ProblemCase{"unterminated_start_tag", "<r><a b='>'", "unterminated_tag_syntax",
                    "unterminated tag at offset 3"},
        ProblemCase{"two_roots", "<a/><b/>", "root_has_sibling", "root element has sibling"},
        ProblemCase{"no_root", "<?pi x?><!-- only a comment -->", "no_root_element", "no root element"},
        ProblemCase{"only_first_problem_told", "<r></x></y>< </r>", "lone_end_tag",
                    "lone end tag 'x' at offset 3"}),
    [](const testing::TestParamInfo<ProblemCase>& info) { return std::string(info.param.label); });

TEST(XmlWellFormedness, UnterminatedItemsNameTheKindOfNode)
{
    const struct {
        const char* text;
        const char* type;
    } cases[] = {
        {"<r><a", "start_tag"},
        {"<r></r", "end_tag"},
        {"<r><!--", "comment"},
        {"<r><![CDATA[", "cdata_section"},
        {"<r><![CD x", "cdata_section"}, // the 'C' alone opens the section
        {"<r><?x", "processing_instruction"},
        {"<!DOCTYPE r", "document_type"},
    };
    for (const auto& c : cases) {
        CXmlDocument document;
        document.LoadBytes(c.text);
        bool found = false;
        for (const auto& item : document.GetResults().Items()) {
            if (item.name == "unterminated_tag_syntax") {
                EXPECT_EQ(item.Attribute("type"), c.type) << c.text;
                found = true;
            }
        }
        EXPECT_TRUE(found) << c.text;
    }
}

TEST(XmlWellFormedness, WellFormedDocumentsWithEveryKindOfNodeLoad)
{
    const char* documents[] = {
        "<r/>",
        "<?xml version=\"1.0\"?>\n<!-- c --><r a='1' b=\"2\">t<![CDATA[<x>]]><?p?><e/></r>\n<!-- after -->",
        ("<!DOCTYPE r [\n<!ELEMENT r (#PCDATA)>\n<!ATTLIST r a CDATA \"x>y\">\n"
         "<!-- ] > -->\n%pe;\n]>\n<r>x</r>"),
        "<r><a><b><c/></b></a></r>",
    };
    for (const char* text : documents) {
        CXmlDocument document;
        EXPECT_TRUE(document.LoadBytes(text)) << text << ": " << document.GetErrorText();
    }
}

TEST(XmlWellFormedness, EmptyMissingAndUnreadableFilesLoadNothing)
{
    CTempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "empty.xml", ""));
    CXmlDocument document;
    EXPECT_FALSE(document.LoadFile((folder / "empty.xml").string()));
    EXPECT_EQ(document.GetErrorText(), "length 0 (used UTF-8 detection)");
    EXPECT_FALSE(document.FindElement());

    // The system's message.
    EXPECT_FALSE(document.LoadFile((folder / "missing.xml").string()));
    EXPECT_EQ(document.GetErrorText(), "No such file or directory");
    ASSERT_EQ(document.GetResults().Items().size(), 1u);
    EXPECT_EQ(document.GetResults().Items()[0].Attribute("n"), "2");
    EXPECT_FALSE(document.FindElement());
    EXPECT_FALSE(document.LoadFile(folder.Path().string()));
    EXPECT_EQ(document.GetErrorText(), "Is a directory");
}

TEST(XmlWellFormedness, SecondLoadReplacesEverything)
{
    CXmlDocument document;
    ASSERT_FALSE(document.LoadBytes("<r></x></r>"));
    ASSERT_TRUE(document.LoadBytes("<s/>"));
    EXPECT_EQ(document.GetErrorText(), "UTF-8 length 4 to windows-1252 length 4");
    EXPECT_FALSE(document.FindElement("r"));
    EXPECT_TRUE(document.FindElement("s"));
}

TEST(XmlWellFormedness, ResultListStaysBounded)
{
    std::string text = "<r>";
    for (int i = 0; i < 5000; ++i)
        text += "</x>";
    text += "</r>";
    CXmlDocument document;
    EXPECT_FALSE(document.LoadBytes(text));
    EXPECT_LT(document.GetResults().Items().size(), 40u);
    EXPECT_LT(document.GetResults().Text().size(), 1100u);
}

TEST(XmlWellFormedness, BestEffortTreeSurvivesProblems)
{
    CXmlDocument document;
    ASSERT_FALSE(document.LoadBytes("<r><a>one<b>two</a><c>three</c></r>"));
    ASSERT_TRUE(document.FindElement("r"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("a"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("b"));
    EXPECT_EQ(document.GetText(), "two"); // closed where the </a> stands
    ASSERT_TRUE(document.LeaveElement());
    ASSERT_TRUE(document.FindElement("c"));
    EXPECT_EQ(document.GetText(), "three");
}

TEST(XmlWellFormedness, DeepNestingAndStrayEndTagsNeitherRecurseNorCrawl)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "<a>";
    for (int i = 0; i < 200000; ++i)
        text += "</b>";
    for (int i = 0; i < 200000; ++i)
        text += "</a>";
    CXmlDocument document;
    EXPECT_FALSE(document.LoadBytes(text)); // the stray end tags
    int depth = 0;
    while (document.FindElement("a") && document.EnterElement())
        ++depth;
    EXPECT_EQ(depth, 200000);
}

} // namespace

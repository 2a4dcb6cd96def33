// Loading a document: file bytes to Windows-1252 text, the problems that fail it, the load description.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "TempFolder.h"
#include "XmlDocument.h"

namespace {

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

const std::string kDecl1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";
const std::string kDeclLatin1 = "<?xml version='1.0' encoding='ISO-8859-1'?>";
const std::string kDeclAscii = "<?xml version=\"1.0\" encoding=\"us-ascii\"?>";
const std::string kDoctype = "<!DOCTYPE r [\n<!ELEMENT r (#PCDATA)>\n<!ATTLIST r a CDATA \"x>y\">\n"
                             "<!-- ] > -->\n%pe;\n]>\n<r>x</r>";
const std::string kHtml = "<html><head><meta http-equiv=\"Content-Type\" "
                          "content=\"text/html; charset=iso-8859-1\"/></head><body>\xE9</body></html>";

TEST(XmlLoad, DecodesToWindows1252AndDescribesTheSteps)
{
    const struct {
        std::string bytes;
        std::string text; // the document text, Windows-1252; empty: the bytes as they are
        std::string description;
    } cases[] = {
        {"<r>caf\xC3\xA9</r>", "<r>caf\xE9</r>", "UTF-8 length 12 to windows-1252 length 11"},
        {"\xEF\xBB\xBF<r>\xE2\x82\xAC</r>", "<r>\x80</r>", "BOM + UTF-8 length 10 to windows-1252 length 8"},
        {Utf16(u"<r>\u00E9\u20AC</r>", false), "<r>\xE9\x80</r>",
         "BOM + UTF-16LE length 9 to windows-1252 length 9"},
        {Utf16(u"<r>\u00E9\u20AC</r>", true), "<r>\xE9\x80</r>",
         "BOM + UTF-16BE length 9 endian swap to windows-1252 length 9"},
        {Utf16(u"<r>\U0001F600</r>", false), "<r>?</r>",
         "BOM + UTF-16LE length 9 to windows-1252 length 8 (chars lost in conversion!)"},
        {Utf16(std::u16string(u"<r>a\u0000b</r>", 10), false), "<r>ab</r>",
         "BOM + UTF-16LE length 10 removed 1 nulls to windows-1252 length 9"},
        {Utf16(u"<r/>", false) + "x", "<r/>",
         "BOM + UTF-16LE length 4 encoding UTF-16LE adjustment error to windows-1252 length 4"},
        {kDecl1252 + "<r>\x80\xE9</r>", "", "windows-1252 length 54"},
        {kDeclLatin1 + "<r>\xE9\xFF</r>", "", "ISO-8859-1 length 52 to windows-1252 length 52"},
        {kDeclAscii + "<r>\xE9</r>", kDeclAscii + "<r>?</r>",
         "us-ascii length 49 to windows-1252 length 49 (chars lost in conversion!)"},
        {"\n<r>\xC3\xA9</r>", "\n<r>\xE9</r>", "length 10 (used UTF-8 detection) to windows-1252 length 9"},
        {"\n<r>\xE9</r>", "", "length 9 (used UTF-8 detection)"},
        // Ill-formed UTF-8 (overlong, a surrogate) is left as Windows-1252.
        {"\n<r>\xE0\x80\x80 \xC3\xA9</r>", "", "length 14 (used UTF-8 detection)"},
        {"\n<r>\xED\xA0\x80</r>", "", "length 11 (used UTF-8 detection)"},
        {"\n<r>\xF0\x9F\x98\x80\xED\x9F\xBF</r>", "\n<r>?\?</r>",
         "length 15 (used UTF-8 detection) to windows-1252 length 10 (chars lost in conversion!)"},
        {"<r/>\xC3", "<r/>", "UTF-8 length 5 encoding UTF-8 adjustment error to windows-1252 length 4"},
        {std::string("<r>a\0b</r>", 10), "<r>ab</r>",
         "UTF-8 length 10 removed 1 nulls to windows-1252 length 9"},
        // A UTF-16 declaration in 8-bit text is disregarded.
        {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\xC3\xA9</r>",
         "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\xE9</r>",
         "UTF-8 length 48 to windows-1252 length 47"},
        // Charset names match in any case; an HTML meta element names one too.
        {"<?xml version=\"1.0\" encoding=\"Latin1\"?><r>\xE9</r>", "",
         "Latin1 length 47 to windows-1252 length 47"},
        {kHtml, "", "iso-8859-1 length 113 to windows-1252 length 113"},
        {"<?xml version='1.0' encoding='x-none'?><r>\xC3\xA9</r>", "", "x-none length 48"},
        // Markup inside a document type's subset does not end it.
        {kDoctype, "", "UTF-8 length 93 to windows-1252 length 93"},
    };
    for (const auto& c : cases) {
        CXmlDocument document;
        EXPECT_TRUE(document.LoadBytes(c.bytes)) << c.description;
        EXPECT_EQ(document.GetDocumentText(), c.text.empty() ? c.bytes : c.text);
        EXPECT_EQ(document.GetErrorText(), c.description);
    }
}

TEST(XmlLoad, AProblemFailsTheLoadAndOnlyTheFirstIsTold)
{
    // ASCII starting with '<', so the description begins with the UTF-8 steps.
    const std::pair<std::string, std::string> cases[] = {
        {"<r></x></r>", "lone end tag 'x' at offset 3"},
        {"<r><a></r>", "start tag 'a' at offset 3 expecting end tag at offset 6"},
        {"<r><a/>", "start tag 'r' at offset 0 expecting end tag at offset 7"},
        {"<r>< 1</r>", "tag syntax error at offset 3 expecting tag name / ! or ?"},
        {"<r><!x></r>", "tag syntax error at offset 3 expecting 'DOCTYPE' [ or -"},
        {"<!DOCTYPE r [<!x>]><r/>", "tag syntax error at offset 13 expecting markup declaration"},
        {"<r><!-x--></r>", "tag syntax error at offset 3 expecting - to begin comment"},
        {"<r><![cdata[ x]]></r>", "tag syntax error at offset 3 expecting 'CDATA'"},
        {"<r><a b='>'", "unterminated tag at offset 3"},
        {"<r><!--", "unterminated tag at offset 3"},
        {"<r><![CD x", "unterminated tag at offset 3"}, // the 'C' alone opens the section
        {"<!DOCTYPE r", "unterminated tag at offset 0"},
        {"<a/><b/>", "root element has sibling"},
        {"<?pi x?><!-- only a comment -->", "no root element"},
        {"<r></x></y>< </r>", "lone end tag 'x' at offset 3"},
    };
    for (const auto& [text, problem] : cases) {
        CXmlDocument document;
        EXPECT_FALSE(document.LoadBytes(text)) << text;
        const std::string length = std::to_string(text.size());
        EXPECT_EQ(document.GetErrorText(),
                  "UTF-8 length " + length + " to windows-1252 length " + length + " " + problem);
    }
}

TEST(XmlLoad, FilesLoadAsTheirBytesAndEachLoadReplacesTheLast)
{
    CTempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "test.xml", Utf16(u"<r a='\u00E9'/>", true)));
    ASSERT_TRUE(WriteFileBytes(folder / "empty.xml", ""));
    CXmlDocument document;
    ASSERT_FALSE(document.LoadBytes("<q></x></q>")); // nothing of it stays
    EXPECT_TRUE(document.LoadFile((folder / "test.xml").string()));
    EXPECT_EQ(document.GetErrorText(), "BOM + UTF-16BE length 10 endian swap to windows-1252 length 10");
    ASSERT_TRUE(document.FindElement("r"));
    EXPECT_EQ(document.GetAttribute("a"), "\xE9");

    EXPECT_FALSE(document.LoadFile((folder / "empty.xml").string()));
    EXPECT_EQ(document.GetErrorText(), "length 0 (used UTF-8 detection)");
    EXPECT_FALSE(document.FindElement());
    EXPECT_FALSE(document.LoadFile(folder.Path().string()));
    EXPECT_EQ(document.GetErrorText(), "Is a directory");
}

TEST(XmlLoad, DeepNestingAndThousandsOfProblemsNeitherRecurseNorGrowTheResults)
{
    std::string text;
    for (const char* tag : {"<a>", "</b>", "</a>"})
        for (int i = 0; i < 200000; ++i)
            text += tag;
    CXmlDocument document;
    EXPECT_FALSE(document.LoadBytes(text)); // the stray end tags
    EXPECT_LT(document.GetResults().Items().size(), 40u);
    EXPECT_LT(document.GetResults().Text().size(), 1100u);
    int depth = 0;
    while (document.FindElement("a") && document.EnterElement())
        ++depth;
    EXPECT_EQ(depth, 200000);
}

} // namespace

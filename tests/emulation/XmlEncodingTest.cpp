// How file bytes become the document's Windows-1252 text, and how each step
// shows in the load description.
#include <gtest/gtest.h>

#include <string>

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

struct EncodingCase {
    const char* label;
    std::string bytes;
    bool loads;
    std::string text;        // the document text, Windows-1252
    std::string description; // GetErrorText after loading
};

// Test listings name a case by its label, not by a dump of its bytes.
void PrintTo(const EncodingCase& c, std::ostream* os)
{
    *os << c.label;
}

class XmlEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(XmlEncoding, DecodesToWindows1252AndDescribesTheSteps)
{
    const EncodingCase& c = GetParam();
    CXmlDocument document;
    EXPECT_EQ(document.LoadBytes(c.bytes), c.loads);
    EXPECT_EQ(document.GetDocumentText(), c.text);
    EXPECT_EQ(document.GetErrorText(), c.description);
}

const std::string kDecl1252 = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";
const std::string kDeclLatin1 = "<?xml version='1.0' encoding='ISO-8859-1'?>";
const std::string kDeclAscii = "<?xml version=\"1.0\" encoding=\"us-ascii\"?>";

std::string Length(const std::string& declaration, size_t rest)
{
    return "length " + std::to_string(declaration.size() + rest);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, XmlEncoding,
    testing::Values(
        EncodingCase{"utf8_no_bom", "<r>caf\xC3\xA9</r>", true, "<r>caf\xE9</r>",
                     "UTF-8 length 12 to windows-1252 length 11"},
        EncodingCase{"utf8_bom", "\xEF\xBB\xBF<r>\xE2\x82\xAC</r>", true, "<r>\x80</r>",
                     "BOM + UTF-8 length 10 to windows-1252 length 8"},
        EncodingCase{"utf16le_bom", Utf16(u"<r>\u00E9\u20AC</r>", false), true, "<r>\xE9\x80</r>",
                     "BOM + UTF-16LE length 9 to windows-1252 length 9"},
        EncodingCase{"utf16be_bom", Utf16(u"<r>\u00E9\u20AC</r>", true), true, "<r>\xE9\x80</r>",
                     "BOM + UTF-16BE length 9 endian swap to windows-1252 length 9"},
        EncodingCase{"utf16_surrogate_pair_lost", Utf16(u"<r>\U0001F600</r>", false), true, "<r>?</r>",
                     "BOM + UTF-16LE length 9 to windows-1252 length 8 (chars lost in conversion!)"},
        EncodingCase{"utf16_nulls", Utf16(std::u16string(u"<r>a\u0000b</r>", 10), false), true, "<r>ab</r>",
                     "BOM + UTF-16LE length 10 removed 1 nulls to windows-1252 length 9"},
        EncodingCase{"utf16_odd_byte", Utf16(u"<r/>", false) + "x", true, "<r/>",
                     "BOM + UTF-16LE length 4 encoding UTF-16LE adjustment error to windows-1252 length 4"},
        EncodingCase{"declared_windows1252_kept", kDecl1252 + "<r>\x80\xE9</r>", true,
                     kDecl1252 + "<r>\x80\xE9</r>", "windows-1252 " + Length(kDecl1252, 9)},
        EncodingCase{"declared_latin1_converted", kDeclLatin1 + "<r>\xE9\xFF</r>", true,
                     kDeclLatin1 + "<r>\xE9\xFF</r>",
                     "ISO-8859-1 " + Length(kDeclLatin1, 9) + " to windows-1252 " + Length(kDeclLatin1, 9)},
        EncodingCase{"declared_ascii_high_byte_lost", kDeclAscii + "<r>\xE9</r>", true,
                     kDeclAscii + "<r>?</r>",
                     "us-ascii " + Length(kDeclAscii, 8) + " to windows-1252 " + Length(kDeclAscii, 8) +
                         " (chars lost in conversion!)"},
        EncodingCase{"undeclared_valid_utf8", "\n<r>\xC3\xA9</r>", true, "\n<r>\xE9</r>",
                     "length 10 (used UTF-8 detection) to windows-1252 length 9"},
        EncodingCase{"undeclared_not_utf8", "\n<r>\xE9</r>", true, "\n<r>\xE9</r>",
                     "length 9 (used UTF-8 detection)"},
        // Lead and continuation bytes, but ill-formed as UTF-8: an overlong form, a
        // surrogate, a value beyond U+10FFFF. The Windows-1252 text stays as it is.
        EncodingCase{"undeclared_overlong_not_utf8", "\n<r>\xE0\x80\x80 \xC3\xA9</r>", true,
                     "\n<r>\xE0\x80\x80 \xC3\xA9</r>", "length 14 (used UTF-8 detection)"},
        EncodingCase{"undeclared_surrogate_not_utf8", "\n<r>\xED\xA0\x80</r>", true, "\n<r>\xED\xA0\x80</r>",
                     "length 11 (used UTF-8 detection)"},
        EncodingCase{"undeclared_four_byte_utf8_detected", "\n<r>\xF0\x9F\x98\x80\xED\x9F\xBF</r>", true,
                     "\n<r>?\?</r>",
                     "length 15 (used UTF-8 detection) to windows-1252 length 10 (chars lost in "
                     "conversion!)"},
        EncodingCase{"invalid_utf8_byte_lost", "<r>\xFF</r>", true, "<r>?</r>",
                     "UTF-8 length 8 to windows-1252 length 8 (chars lost in conversion!)"},
        EncodingCase{"utf8_cut_at_end", std::string("<r/>\xC3"), true, "<r/>",
                     "UTF-8 length 5 encoding UTF-8 adjustment error to windows-1252 length 4"},
        EncodingCase{"nul_bytes_removed", std::string("<r>a\0b</r>", 10), true, "<r>ab</r>",
                     "UTF-8 length 10 removed 1 nulls to windows-1252 length 9"},
        EncodingCase{"declared_utf16_in_8bit_text_disregarded",
                     "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\xC3\xA9</r>", true,
                     "<?xml version=\"1.0\" encoding=\"UTF-16\"?><r>\xE9</r>",
                     "UTF-8 length 48 to windows-1252 length 47"},
        EncodingCase{"unknown_charset_not_converted",
                     "<?xml version='1.0' encoding='x-none'?><r>\xC3\xA9</r>", true,
                     "<?xml version='1.0' encoding='x-none'?><r>\xC3\xA9</r>", "x-none length 48"}),
    [](const testing::TestParamInfo<EncodingCase>& info) { return std::string(info.param.label); });

TEST(XmlEncodingDetection, HtmlMetaCharsetNamesTheEncoding)
{
    const std::string html = "<html><head><meta http-equiv=\"Content-Type\" "
                             "content=\"text/html; charset=iso-8859-1\"/></head><body>\xE9</body></html>";
    CXmlDocument document;
    EXPECT_TRUE(document.LoadBytes(html));
    ASSERT_FALSE(document.GetResults().Items().empty());
    EXPECT_EQ(document.GetResults().Items()[0].Attribute("encoding"), "iso-8859-1");
    ASSERT_TRUE(document.FindElement("html"));
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement("body"));
    EXPECT_EQ(document.GetText(), "\xE9");
}

TEST(XmlEncodingDetection, CharsetNamesMatchWithoutRegardToCase)
{
    CXmlDocument document;
    EXPECT_TRUE(document.LoadBytes("<?xml version=\"1.0\" encoding=\"Latin1\"?><r>\xE9</r>"));
    EXPECT_TRUE(document.FindElement("r"));
    EXPECT_EQ(document.GetText(), "\xE9");
    EXPECT_TRUE(document.GetResults().Has("converted_to"));
}

TEST(XmlEncodingDetection, LoadFileReadsTheSameAsLoadBytes)
{
    const std::string bytes = Utf16(u"<r a='\u00E9'/>", true);
    CTempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "test.xml", bytes));
    CXmlDocument fromFile;
    CXmlDocument fromBytes;
    EXPECT_TRUE(fromFile.LoadFile((folder / "test.xml").string()));
    EXPECT_TRUE(fromBytes.LoadBytes(bytes));
    EXPECT_EQ(fromFile.GetDocumentText(), fromBytes.GetDocumentText());
    EXPECT_EQ(fromFile.GetErrorText(), fromBytes.GetErrorText());
    ASSERT_TRUE(fromFile.FindElement("r"));
    EXPECT_EQ(fromFile.GetAttribute("a"), "\xE9");
}

} // namespace

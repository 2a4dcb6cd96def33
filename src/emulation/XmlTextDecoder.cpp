#include "XmlTextDecoder.h"

#include <algorithm>

#include "XmlCharsetConverter.h"
#include "XmlCharsets.h"
#include "XmlDeclaredEncoding.h"

namespace {

// Only the head of a file is searched for a byte order mark or a declaration.
constexpr size_t kHeadLength = 1024;

struct ByteOrderMark {
    std::string_view bytes;
    const char* encoding;
    size_t characterSize;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8", 1},
    {"\xFF\xFE", "UTF-16LE", 2},
    {"\xFE\xFF", "UTF-16BE", 2},
};

std::string Number(size_t n)
{
    return std::to_string(n);
}

// The encoding of a file without a byte order mark. A declared 16-bit set is
// disregarded: a declaration readable as 8-bit text proves the file is not.
std::string EncodingOfUnmarked(std::string_view bytes)
{
    std::string encoding = FindDeclaredEncoding(bytes.substr(0, kHeadLength));
    const XmlCharset* charset = FindXmlCharset(encoding);
    if (charset && (charset->codePage == kCodePageUtf16LE || charset->codePage == kCodePageUtf16BE))
        encoding.clear();
    if (encoding.empty() && !bytes.empty() && bytes[0] == '<')
        encoding = "UTF-8";
    return encoding;
}

// What a UTF-8 lead byte needs after it: the number of continuation bytes
// and the range of the first one, which is narrower than 80..BF where a wider
// one would allow an overlong form, a surrogate or a value beyond U+10FFFF.
struct Utf8Lead {
    size_t continuations = 0; // 0: the byte leads no sequence
    unsigned char firstLow = 0x80;
    unsigned char firstHigh = 0xBF;
};

Utf8Lead LeadOf(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return {1, 0x80, 0xBF};
    if (lead == 0xE0)
        return {2, 0xA0, 0xBF};
    if (lead == 0xED)
        return {2, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF)
        return {2, 0x80, 0xBF};
    if (lead == 0xF0)
        return {3, 0x90, 0xBF};
    if (lead == 0xF4)
        return {3, 0x80, 0x8F};
    if (lead >= 0xF1 && lead <= 0xF3)
        return {3, 0x80, 0xBF};
    return {};
}

// Whether the well-formed sequence of `lead` follows at `at`.
bool ContinuationsFollow(std::string_view text, size_t at, const Utf8Lead& lead)
{
    if (at + lead.continuations > text.size())
        return false;
    for (size_t k = 0; k < lead.continuations; ++k) {
        const auto byte = static_cast<unsigned char>(text[at + k]);
        const unsigned char low = k == 0 ? lead.firstLow : 0x80;
        const unsigned char high = k == 0 ? lead.firstHigh : 0xBF;
        if (byte < low || byte > high)
            return false;
    }
    return true;
}

// True when there is a byte from 0x80 up and every such byte is part of a
// well-formed UTF-8 sequence of 2 to 4 bytes. Windows-1252 text that merely
// resembles UTF-8 (an overlong form, a surrogate) stays Windows-1252.
bool LooksLikeUtf8(std::string_view text)
{
    bool sawHighByte = false;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            ++i;
            continue;
        }
        sawHighByte = true;
        const Utf8Lead lead = LeadOf(byte);
        if (lead.continuations == 0 || !ContinuationsFollow(text, i + 1, lead))
            return false;
        i += lead.continuations + 1;
    }
    return sawHighByte;
}

void Convert(std::string& text, const char* iconvName, size_t unitSize, CXmlResults& results)
{
    XmlConversion conversion = ConvertToWindows1252(text, iconvName, unitSize);
    if (!conversion.converted)
        return;
    text = std::move(conversion.text);
    if (conversion.truncated)
        results.Add("truncation_error", {{"encoding", iconvName}});
    results.Add("converted_to", {{"encoding", "windows-1252"}, {"length", Number(text.size())}});
    if (conversion.losses > 0)
        results.Add("conversion_loss");
}

void RecordNullsRemoved(size_t count, CXmlResults& results)
{
    if (count > 0)
        results.Add("nulls_removed", {{"count", Number(count)}});
}

std::string DecodeSixteenBit(std::string_view bytes, bool bigEndian, const char* encoding,
                             CXmlResults& results)
{
    results.Add("read", {{"encoding", encoding}, {"length", Number(bytes.size() / 2)}});
    if (bytes.size() % 2 != 0)
        results.Add("truncation_error", {{"encoding", encoding}});
    std::string text;
    text.reserve(bytes.size());
    size_t nulls = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == '\0' && bytes[i + 1] == '\0') {
            ++nulls;
            continue;
        }
        text += bigEndian ? bytes[i + 1] : bytes[i];
        text += bigEndian ? bytes[i] : bytes[i + 1];
    }
    RecordNullsRemoved(nulls, results);
    if (bigEndian)
        results.Add("endian_swap");
    Convert(text, "UTF-16LE", 2, results);
    return text;
}

std::string DecodeEightBit(std::string_view bytes, const std::string& encoding, CXmlResults& results)
{
    results.Add("read", {{"encoding", encoding}, {"length", Number(bytes.size())}});
    std::string text(bytes);
    const size_t nulls = std::count(text.begin(), text.end(), '\0');
    if (nulls > 0) {
        text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
        RecordNullsRemoved(nulls, results);
    }
    if (encoding.empty()) {
        const bool utf8 = LooksLikeUtf8(text);
        results.Add("utf8_detection");
        if (utf8)
            Convert(text, "UTF-8", 1, results);
        return text;
    }
    const XmlCharset* charset = FindXmlCharset(encoding);
    if (charset && charset->codePage != kCodePageWindows1252)
        Convert(text, charset->iconvName, 1, results);
    return text;
}

} // namespace

std::string DecodeXmlText(std::string_view bytes, CXmlResults& results)
{
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.substr(0, mark.bytes.size()) != mark.bytes)
            continue;
        results.Add("bom");
        const std::string_view rest = bytes.substr(mark.bytes.size());
        if (mark.characterSize == 2)
            return DecodeSixteenBit(rest, mark.bytes[0] == '\xFE', mark.encoding, results);
        return DecodeEightBit(rest, mark.encoding, results);
    }
    return DecodeEightBit(bytes, EncodingOfUnmarked(bytes), results);
}

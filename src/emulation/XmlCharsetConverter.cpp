#include "XmlCharsetConverter.h"

#include <cerrno>
#include <iconv.h>

#include "Windows1252.h"

namespace {

constexpr size_t kChunkCodePoints = 4096;

// Owns an iconv descriptor from the set into UTF-32LE.
class IconvHandle {
  public:
    explicit IconvHandle(const char* from) : m_cd(iconv_open("UTF-32LE", from)) {}
    ~IconvHandle()
    {
        if (IsOpen())
            iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

  private:
    iconv_t m_cd;
};

void AppendCodePoints(const char* utf32, size_t bytes, XmlConversion& result)
{
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
        const auto* p = reinterpret_cast<const unsigned char*>(utf32 + i);
        const char32_t codePoint = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<char32_t>(p[3]) << 24);
        unsigned char byte = '?';
        if (!UnicodeToWindows1252(codePoint, byte)) {
            byte = '?';
            ++result.losses;
        }
        result.text += static_cast<char>(byte);
    }
}

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

XmlConversion ConvertToWindows1252(std::string_view bytes, const char* iconvName, size_t unitSize)
{
    XmlConversion result;
    // ASCII reads the same in UTF-8 and Windows-1252, and most files are ASCII.
    if (std::string_view(iconvName) == "UTF-8" && IsAscii(bytes)) {
        result.converted = true;
        result.text = bytes;
        return result;
    }
    IconvHandle cd(iconvName);
    if (!cd.IsOpen())
        return result;
    result.converted = true;
    result.text.reserve(bytes.size() / unitSize);

    char out[kChunkCodePoints * 4];
    char* in = const_cast<char*>(bytes.data()); // iconv's interface is not const-correct
    size_t inLeft = bytes.size();
    bool flushing = false;
    while (true) {
        char* outPos = out;
        size_t outLeft = sizeof(out);
        const size_t rc = flushing ? iconv(cd.Get(), nullptr, nullptr, &outPos, &outLeft)
                                   : iconv(cd.Get(), &in, &inLeft, &outPos, &outLeft);
        const int error = rc == static_cast<size_t>(-1) ? errno : 0;
        AppendCodePoints(out, outPos - out, result);
        if (error == E2BIG)
            continue;
        if (error == EILSEQ) {
            // Not a character of the set: one replacement, then go on after it.
            const size_t skip = inLeft < unitSize ? inLeft : unitSize;
            in += skip;
            inLeft -= skip;
            result.text += '?';
            ++result.losses;
            continue;
        }
        if (error == EINVAL) {
            result.truncated = true;
            inLeft = 0;
        }
        if (flushing)
            break;
        flushing = true; // stateful sets (UTF-7, ISO-2022-JP) may hold a last character
    }
    return result;
}

#include "RecordingFormat.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<const char*, 6> kKindNames = {"plug", "unplug", "tx", "rx", "timeout", "close"};
constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

char SimpleEscape(uint8_t byte)
{
    switch (byte) {
    case '\\':
        return '\\';
    case '\r':
        return 'r';
    case '\n':
        return 'n';
    case '\t':
        return 't';
    default:
        return 0;
    }
}

} // namespace

const char* RecordingKindName(RecordingKind kind)
{
    return kKindNames[static_cast<size_t>(kind)];
}

bool RecordingKindFromName(std::string_view name, RecordingKind& kind)
{
    for (size_t i = 0; i < kKindNames.size(); ++i) {
        if (name == kKindNames[i]) {
            kind = static_cast<RecordingKind>(i);
            return true;
        }
    }
    return false;
}

bool RecordingKindHasBytes(RecordingKind kind)
{
    return kind == RecordingKind::kTx || kind == RecordingKind::kRx;
}

size_t EscapeRecordedBytes(const uint8_t* bytes, size_t count, char* out)
{
    size_t written = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = bytes[i];
        const char simple = SimpleEscape(byte);
        const bool lastBlank = byte == ' ' && i + 1 == count;
        if (simple != 0) {
            out[written++] = '\\';
            out[written++] = simple;
        } else if (byte < 0x20 || byte > 0x7E || lastBlank) {
            out[written++] = '\\';
            out[written++] = 'x';
            out[written++] = kHexDigits[byte >> 4];
            out[written++] = kHexDigits[byte & 0x0F];
        } else {
            out[written++] = static_cast<char>(byte);
        }
    }
    return written;
}

bool UnescapeRecordedBytes(std::string_view text, std::string& bytes, std::string& error)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes.push_back(text[i]);
            continue;
        }
        const char code = i + 1 < text.size() ? text[i + 1] : '\0';
        if (code == '\\' || code == 'r' || code == 'n' || code == 't') {
            bytes.push_back(code == '\\' ? '\\' : code == 'r' ? '\r' : code == 'n' ? '\n' : '\t');
            ++i;
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        const int low = i + 3 < text.size() ? HexValue(text[i + 3]) : -1;
        if (code != 'x' || high < 0 || low < 0) {
            error = "unknown escape at character " + std::to_string(i + 1) + " of the bytes";
            return false;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 3;
    }
    return true;
}

std::string EscapedText(std::string_view bytes)
{
    std::string text(bytes.size() * kMaxEscapedByteSize, '\0');
    text.resize(
        EscapeRecordedBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), text.data()));
    return text;
}

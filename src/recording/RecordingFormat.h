#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The text form of a Tester recording (docs/field-recordings.md): a header
// line, then one event a line, "<microseconds> <kind>[ <bytes>]". Bytes are
// written as text where they are printable and escaped where they are not, so
// a recording reads with less and grep and survives being mailed.

inline constexpr char kRecordingMagic[] = "q9tester-recording";
inline constexpr unsigned kRecordingFormatVersion = 1;

enum class RecordingKind {
    kPlug,    // the program opened the Tester
    kUnplug,  // the first failed read or write since: the Tester went away
    kTx,      // bytes the program wrote to the Tester
    kRx,      // bytes the program read from the Tester
    kTimeout, // a read waited out its time-out without a byte
    kClose,   // the program closed the Tester
};

struct recordingevent_t {
    uint64_t micros = 0; // since the recording began
    RecordingKind kind = RecordingKind::kPlug;
    std::string bytes; // tx and rx only
};

const char* RecordingKindName(RecordingKind kind);
// False when `name` is no kind.
bool RecordingKindFromName(std::string_view name, RecordingKind& kind);
// True for the kinds that carry bytes.
bool RecordingKindHasBytes(RecordingKind kind);

// The most text one byte can take when escaped ("\xHH").
inline constexpr size_t kMaxEscapedByteSize = 4;

// Writes `count` bytes escaped to `out`, which has room for
// count * kMaxEscapedByteSize characters; returns the characters written.
// "\\", "\r", "\n", "\t" and "\xHH" stand for what is not printable ASCII, and
// a blank at the end is "\x20" so that no editor can trim it away.
size_t EscapeRecordedBytes(const uint8_t* bytes, size_t count, char* out);

// The reverse; false with `error` set when `text` is not escaped bytes.
bool UnescapeRecordedBytes(std::string_view text, std::string& bytes, std::string& error);

// Escaped bytes as one string, for messages.
std::string EscapedText(std::string_view bytes);

#pragma once

#include <cstdint>
#include <string>

// One command as the Tester receives it: a single letter or digit, or a
// line-fed command ("l..." or "m...") with its text (letter included, line
// feed excluded).
struct SimCommand {
    char letter = 0;
    std::string text;
};

// Splits the host's byte stream into commands. Single-byte commands are
// complete at once; "l" and "m" collect bytes up to their line feed. A line
// longer than the Tester's buffer is given back when the buffer is full (the
// scenario refuses it) and the rest up to its line feed is skipped, so the
// reader never grows without bound and never takes the tail for commands.
class CCommandReader {
  public:
    static constexpr size_t kMaxLine = 127;

    // Feeds one byte; true when `command` holds a complete command.
    bool Feed(uint8_t byte, SimCommand& command);

  private:
    enum class State { kIdle, kInLine, kSkipToLineFeed };
    State m_state = State::kIdle;
    std::string m_line;
};

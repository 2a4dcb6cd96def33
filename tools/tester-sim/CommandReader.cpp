#include "CommandReader.h"

namespace {

bool IsLineCommand(uint8_t byte)
{
    return byte == 'l' || byte == 'm';
}

bool IsSingleByteCommand(uint8_t byte)
{
    switch (byte) {
    case 'v':
    case 't':
    case 'c':
    case 'b':
    case 'n':
    case 'x':
    case 'a':
    case 'd':
        return true;
    default:
        return byte >= '0' && byte <= '9';
    }
}

} // namespace

bool CCommandReader::Feed(uint8_t byte, SimCommand& command)
{
    switch (m_state) {
    case State::kSkipToLineFeed:
        if (byte == '\n') {
            m_state = State::kIdle;
        }
        return false;
    case State::kInLine:
        if (byte != '\n' && m_line.size() < kMaxLine) {
            m_line.push_back(static_cast<char>(byte));
            return false;
        }
        command = {m_line[0], m_line};
        m_line.clear();
        m_state = byte == '\n' ? State::kIdle : State::kSkipToLineFeed;
        return true;
    case State::kIdle:
        break;
    }
    if (IsLineCommand(byte)) {
        m_state = State::kInLine;
        m_line.assign(1, static_cast<char>(byte));
        return false;
    }
    if (IsSingleByteCommand(byte)) {
        command = {static_cast<char>(byte), std::string(1, static_cast<char>(byte))};
        return true;
    }
    return false; // anything else, stray line feeds included, is ignored
}

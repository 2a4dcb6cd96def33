#include "RecordingReader.h"

#include <charconv>
#include <cstdio>
#include <fstream>

namespace {

std::string ByteText(unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

} // namespace

CRecordingReader::CRecordingReader(std::istream& in) : m_in(in)
{
    ReadHeader();
}

bool CRecordingReader::Fail(const std::string& reason)
{
    if (m_error.empty())
        m_error = "line " + std::to_string(m_lineNumber) + ": " + reason;
    return false;
}

bool CRecordingReader::ReadLine()
{
    m_line.clear();
    if (m_in.peek() == std::char_traits<char>::eof())
        return false;
    ++m_lineNumber;
    for (;;) {
        const int next = m_in.get();
        if (next == std::char_traits<char>::eof())
            return Fail("the file ends inside this line (cut off?)");
        if (next == '\n')
            return true;
        const unsigned char byte = static_cast<unsigned char>(next);
        if (byte < 0x20 || byte > 0x7E)
            return Fail("byte " + ByteText(byte) + " is not text; this is no recording or it is damaged");
        if (m_line.size() == kMaxLineLength)
            return Fail("longer than " + std::to_string(kMaxLineLength) + " characters");
        m_line.push_back(static_cast<char>(byte));
    }
}

bool CRecordingReader::ReadHeader()
{
    const std::string magic = std::string(kRecordingMagic) + " ";
    if (!ReadLine()) {
        ++m_lineNumber;
        return Fail("not a Q9 Tester recording (it is empty or unreadable)");
    }
    if (m_line.compare(0, magic.size(), magic) != 0)
        return Fail("not a Q9 Tester recording (it does not begin with \"" + std::string(kRecordingMagic) +
                    "\")");
    const size_t versionEnd = m_line.find(' ', magic.size());
    const std::string version = m_line.substr(magic.size(), versionEnd - magic.size());
    if (version != std::to_string(kRecordingFormatVersion))
        return Fail("format version \"" + version + "\" is not known; this program reads version " +
                    std::to_string(kRecordingFormatVersion));
    if (versionEnd == std::string::npos || versionEnd + 1 == m_line.size())
        return Fail("the header does not name the program that wrote it");
    m_writer = m_line.substr(versionEnd + 1);
    return true;
}

bool CRecordingReader::Next(recordingevent_t& event)
{
    if (!m_error.empty() || !ReadLine())
        return false;
    return ParseEvent(event) && CheckOrder(event);
}

bool CRecordingReader::ParseEvent(recordingevent_t& event)
{
    const size_t timeEnd = m_line.find(' ');
    if (timeEnd == std::string::npos || timeEnd == 0)
        return Fail("not an event (\"<microseconds> <kind>[ <bytes>]\")");
    const char* first = m_line.data();
    const auto [end, result] = std::from_chars(first, first + timeEnd, event.micros);
    if (result != std::errc() || end != first + timeEnd)
        return Fail("the time \"" + m_line.substr(0, timeEnd) + "\" is not a number of microseconds");
    const size_t kindEnd = m_line.find(' ', timeEnd + 1);
    const std::string kindName = m_line.substr(timeEnd + 1, kindEnd - timeEnd - 1);
    if (!RecordingKindFromName(kindName, event.kind))
        return Fail("unknown event \"" + kindName + "\"");
    const bool hasBytes = kindEnd != std::string::npos;
    if (hasBytes != RecordingKindHasBytes(event.kind))
        return Fail(hasBytes ? "\"" + kindName + "\" carries no bytes"
                             : "\"" + kindName + "\" without bytes");
    event.bytes.clear();
    if (!hasBytes)
        return true;
    std::string error;
    if (!UnescapeRecordedBytes(std::string_view(m_line).substr(kindEnd + 1), event.bytes, error))
        return Fail(error);
    if (event.bytes.empty())
        return Fail("\"" + kindName + "\" without bytes");
    return true;
}

bool CRecordingReader::CheckOrder(const recordingevent_t& event)
{
    if (event.micros < m_lastMicros)
        return Fail("the time " + std::to_string(event.micros) + " is before the previous event's " +
                    std::to_string(m_lastMicros) + " (lines out of order?)");
    m_lastMicros = event.micros;
    switch (event.kind) {
    case RecordingKind::kPlug:
        if (m_open)
            return Fail("\"plug\" while the Tester is open (lines out of order?)");
        m_open = true;
        m_gone = false;
        return true;
    case RecordingKind::kClose:
        if (!m_open)
            return Fail("\"close\" without a \"plug\" before it (lines out of order?)");
        m_open = false;
        return true;
    default:
        if (!m_open || m_gone)
            return Fail(std::string("\"") + RecordingKindName(event.kind) +
                        "\" while no Tester is open (lines out of order?)");
        m_gone = event.kind == RecordingKind::kUnplug;
        return true;
    }
}

bool CheckRecordingFile(const std::string& path, std::string& writer, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    CRecordingReader reader(in);
    recordingevent_t event;
    while (reader.Next(event)) {
    }
    writer = reader.Writer();
    error = reader.Error();
    return error.empty();
}

#include "RecordingWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

void ComplainOnStderr(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

std::string LocalStartTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
    return text;
}

} // namespace

CRecordingWriter::CRecordingWriter() : CRecordingWriter(ComplainOnStderr) {}

CRecordingWriter::CRecordingWriter(ComplaintFunction complain) : m_complain(std::move(complain)) {}

CRecordingWriter::~CRecordingWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CRecordingWriter::Open(const std::string& path, const std::string& program, const std::string& version)
{
    m_path = path;
    m_program = program;
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_complain(program + ": cannot record to " + path + ": " + std::strerror(errno) +
                   "; going on without a recording");
        return false;
    }
    m_start = std::chrono::steady_clock::now();
    const std::string header = std::string(kRecordingMagic) + " " + std::to_string(kRecordingFormatVersion) +
                               " " + program + " " + version + " started " + LocalStartTime() + "\n";
    return WriteLine(header.data(), header.size());
}

uint64_t CRecordingWriter::Now() const
{
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

void CRecordingWriter::Write(uint64_t micros, RecordingKind kind, const uint8_t* bytes, size_t count)
{
    if (m_fd < 0)
        return;
    char* at = std::to_chars(m_line, m_line + 24, micros).ptr;
    *at++ = ' ';
    const char* name = RecordingKindName(kind);
    const size_t nameLength = std::strlen(name);
    std::memcpy(at, name, nameLength);
    at += nameLength;
    if (count > 0) {
        *at++ = ' ';
        at += EscapeRecordedBytes(bytes, count < kMaxEventBytes ? count : kMaxEventBytes, at);
    }
    *at++ = '\n';
    WriteLine(m_line, static_cast<size_t>(at - m_line));
}

bool CRecordingWriter::WriteLine(const char* line, size_t length)
{
    ssize_t written = -1;
    do {
        written = ::write(m_fd, line, length);
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(length)) {
        m_size += length;
        return true;
    }
    // A short write (the disk filled up in the middle of the line) is taken
    // back, so the file still ends with a whole line.
    std::string why = written < 0 ? std::strerror(errno) : "the disk is full";
    if (written > 0 && ::ftruncate(m_fd, static_cast<off_t>(m_size)) != 0)
        why += " (its last line is cut off)";
    Stop(why);
    return false;
}

void CRecordingWriter::Stop(const std::string& why)
{
    ::close(m_fd);
    m_fd = -1;
    m_complain(m_program + ": recording to " + m_path + " stopped: " + why + "; the Tester link goes on");
}

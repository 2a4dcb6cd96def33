#include "Log.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kDirectory[] = "Log";
const char kStartBanner[] = "-----------Logging started-----------------";
const char kStopBanner[] = "-----------Logging stopped-----------------";

// The current UTC time, broken down, and its milliseconds.
std::tm UtcNow(int& milliseconds)
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    return utc;
}

} // namespace

CLog::CLog(const std::string& baseName, bool timeInName)
    : m_baseName(baseName.substr(0, kMaxBaseName)), m_timeInName(timeInName)
{
}

CLog::~CLog()
{
    Close();
}

std::string CLog::FormatStamp(const std::tm& utc, bool timeInName)
{
    char stamp[64];
    if (timeInName)
        std::snprintf(stamp, sizeof stamp, "%02d%02d%02d_%02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1,
                      utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    else
        std::snprintf(stamp, sizeof stamp, "%02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    return stamp;
}

std::string CLog::FormatTimePrefix(const std::tm& utc, int milliseconds)
{
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%02d:%02d:%02d.%03d -- ", utc.tm_hour, utc.tm_min, utc.tm_sec,
                  milliseconds);
    return prefix;
}

bool CLog::Open(bool banners)
{
    if (IsOpen())
        return true;
    int milliseconds = 0;
    const std::tm utc = UtcNow(milliseconds);
    m_banners = banners;
    if (::mkdir(kDirectory, 0777) != 0 && errno != EEXIST)
        return false;
    m_path = std::string(kDirectory) + "/" + m_baseName + "_" + FormatStamp(utc, m_timeInName) + ".log";
    // O_APPEND: a second run within the same second adds to the file instead
    // of overwriting what the first one logged.
    m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0)
        return false;
    if (m_banners) {
        std::string banner = kStartBanner;
        Write(banner, false);
    }
    return true;
}

bool CLog::Write(std::string& text, bool raw)
{
    if (!IsOpen())
        return false;
    m_line.clear();
    if (!raw) {
        if (m_timePrefix) {
            int milliseconds = 0;
            const std::tm utc = UtcNow(milliseconds);
            m_line = FormatTimePrefix(utc, milliseconds);
        }
        for (char& c : text)
            if (c == '\r' || c == '\n')
                c = ' ';
    }
    m_line += text;
    if (!raw)
        m_line += "\r\n";
    return WriteAll(m_line);
}

bool CLog::WriteAll(const std::string& bytes)
{
    // One write per line; the loop only finishes a write that the kernel cut
    // short or a signal interrupted.
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            TakeBack(done);
            return false;
        }
    }
    return true;
}

void CLog::TakeBack(std::size_t written)
{
    // A full disk or the file-size limit can stop a line part way; the next
    // line would be glued onto the torn one. Cutting the file back to where
    // the line began keeps every line in it whole. Appending, the offset is
    // the file's end.
    if (written == 0)
        return;
    const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
    if (end < static_cast<off_t>(written))
        return;
    // Should this fail too there is nothing left to try; the line is
    // reported lost either way.
    const int cut = ::ftruncate(m_fd, end - static_cast<off_t>(written));
    static_cast<void>(cut);
}

void CLog::Close()
{
    if (!IsOpen())
        return;
    if (m_banners) {
        std::string banner = kStopBanner;
        Write(banner, false);
    }
    ::close(m_fd);
    m_fd = -1;
}

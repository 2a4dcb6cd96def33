#pragma once

#include <ctime>
#include <string>

// A dated log file in the folder "Log" under the working directory. Lines are
// Windows-1252 bytes ending in "\r\n"; each line reaches the file with one
// write, so a crash loses no line that was already reported as written.
class CLog {
  public:
    CLog(const std::string& baseName, bool timeInName);
    virtual ~CLog();
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;

    // Creates "Log" if needed and opens Log/<base>_<UTC stamp>.log for
    // appending (an existing file is kept). True when the file is open.
    bool Open(bool banners);
    // Writes `text` as one line. Unless `raw`, carriage returns and line feeds
    // in `text` are turned into blanks in place, the time prefix (when on) goes
    // first and "\r\n" ends the line. False when nothing is open or the write
    // failed; a failed line leaves nothing behind, and the file stays open.
    bool Write(std::string& text, bool raw);
    void Close();

    void SetTimePrefix(bool on) { m_timePrefix = on; }
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // "YYYYMMDD_HHMMSS" (with time) or "YYYYMMDD" of a UTC time.
    static std::string FormatStamp(const std::tm& utc, bool timeInName);
    // "HH:MM:SS.mmm -- " of a UTC time and its milliseconds.
    static std::string FormatTimePrefix(const std::tm& utc, int milliseconds);

    static constexpr std::size_t kMaxBaseName = 259;

  private:
    bool WriteAll(const std::string& bytes);
    // Removes the `written` bytes of a line that failed part way.
    void TakeBack(std::size_t written);

    std::string m_baseName;
    std::string m_path;
    std::string m_line; // reused buffer of the line being written
    int m_fd = -1;
    bool m_timeInName;
    bool m_banners = true;
    bool m_timePrefix = true;
};

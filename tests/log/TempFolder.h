#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

// Runs a test in a fresh working folder (the log files go to ./Log) and goes
// back to the previous one afterwards.
class CTempWorkingFolder {
  public:
    CTempWorkingFolder()
    {
        char pattern[] = "/tmp/q9-log-test-XXXXXX";
        m_path = ::mkdtemp(pattern);
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_path);
    }
    ~CTempWorkingFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

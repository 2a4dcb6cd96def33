#pragma once

#include <filesystem>
#include <string>

// A fresh private folder under the system's temporary folder, removed with
// everything in it when the object goes, so that test runs never meet.
class CTempFolder {
  public:
    explicit CTempFolder(const std::string& prefix = "q9-test");
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Makes the folder the working folder until the object goes (the log
    // files of the program land in ./Log).
    void MakeCurrent();

  private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous; // empty unless MakeCurrent was called
};

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
// Writes `bytes` to `path`, making its folders; false when it cannot.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

#pragma once

#include <string>

// A file with given bytes in a fresh temporary folder, removed with the object.
class TempFile {
  public:
    explicit TempFile(const std::string& bytes, const std::string& name = "test.xml");
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return m_path; }
    const std::string& Folder() const { return m_folder; }

  private:
    std::string m_folder;
    std::string m_path;
};

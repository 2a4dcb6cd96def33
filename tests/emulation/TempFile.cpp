#include "TempFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TempFile::TempFile(const std::string& bytes, const std::string& name)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "q9-emulation-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_folder = pattern;
    m_path = m_folder + "/" + name;
    std::ofstream(m_path, std::ios::binary) << bytes;
}

TempFile::~TempFile()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

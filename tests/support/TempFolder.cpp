#include "TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

CTempFolder::CTempFolder(const std::string& prefix)
{
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    m_path = pattern;
}

CTempFolder::~CTempFolder()
{
    std::error_code ignored;
    if (!m_previous.empty())
        fs::current_path(m_previous, ignored);
    fs::remove_all(m_path, ignored);
}

void CTempFolder::MakeCurrent()
{
    if (m_previous.empty())
        m_previous = fs::current_path();
    fs::current_path(m_path);
}

std::string ReadFileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool WriteFileBytes(const fs::path& path, const std::string& bytes)
{
    std::error_code ignored;
    if (path.has_parent_path())
        fs::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file.flush());
}

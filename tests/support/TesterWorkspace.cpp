#include "TesterWorkspace.h"

#include <cstdlib>

namespace fs = std::filesystem;

CTesterWorkspace::CTesterWorkspace(const std::string& prefix) : m_root(prefix), m_previous(fs::current_path())
{
    fs::create_directory(RuntimeDir());
    fs::permissions(RuntimeDir(), fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory(WorkDir());
    ::setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
    fs::current_path(WorkDir());
}

CTesterWorkspace::~CTesterWorkspace()
{
    std::error_code ignored;
    fs::current_path(m_previous, ignored);
}

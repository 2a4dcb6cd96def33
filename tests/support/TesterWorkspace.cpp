#include "TesterWorkspace.h"

#include <cstdlib>

namespace fs = std::filesystem;

CTesterWorkspace::CTesterWorkspace(const std::string& prefix) : m_root(prefix)
{
    fs::create_directory(RuntimeDir());
    fs::permissions(RuntimeDir(), fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory(WorkDir());
    ::setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
    m_root.MakeCurrent(); // so that the old working folder comes back with m_root
    fs::current_path(WorkDir());
}

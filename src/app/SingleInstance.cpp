#include "SingleInstance.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CSingleInstance::CSingleInstance(std::string name) : m_name(std::move(name)) {}

CSingleInstance::~CSingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd); // frees the lock
}

std::string CSingleInstance::RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    std::string folder = "/tmp/q9tester-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

namespace {

// A folder that only this user can write, so no one else can hold our lock.
bool IsPrivateFolder(const std::string& folder)
{
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool CSingleInstance::Claim()
{
    if (m_claimed)
        return true;
    const std::string folder = RuntimeFolder();
    if (!IsPrivateFolder(folder)) {
        std::fprintf(stderr, "Q9 Tester: %s is not a private folder; not checking for another copy\n",
                     folder.c_str());
        m_claimed = true;
        return true;
    }
    const std::string path = folder + "/" + m_name;
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        std::fprintf(stderr, "Q9 Tester: cannot open %s (%s); not checking for another copy\n", path.c_str(),
                     std::strerror(errno));
        m_claimed = true;
        return true;
    }
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            return false;
        std::fprintf(stderr, "Q9 Tester: cannot lock %s (%s); not checking for another copy\n", path.c_str(),
                     std::strerror(errno));
        break;
    }
    m_claimed = true;
    return true;
}

#include "SingleInstance.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "RuntimeFolder.h"

CSingleInstance::CSingleInstance(std::string name) : m_name(std::move(name)) {}

CSingleInstance::~CSingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd); // frees the lock
}

bool CSingleInstance::Claim()
{
    if (m_claimed)
        return true;
    const std::string folder = PrivateRuntimeFolder();
    // Only the fallback can be someone else's: then no lock of ours is safe.
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

#include "StateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

std::string DefaultFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        return std::string(state) + "/ividiv-sim";
    }
    const char* home = std::getenv("HOME");
    return home == nullptr ? std::string() : std::string(home) + "/.local/state/ividiv-sim";
}

// mkdir -p for the parents (mode 0700 for what it creates).
bool MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

std::string PrepareStateFolder(const std::string& requested, std::string& error)
{
    const std::string folder = requested.empty() ? DefaultFolder() : requested;
    if (folder.empty() || !MakeFolders(folder)) {
        error = "cannot create the state folder " + folder;
        return {};
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 077) != 0) {
        error = "the state folder " + folder + " must be a folder of this user with mode 0700";
        return {};
    }
    return folder;
}

bool WritePrivateFile(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            break;
        }
        written += static_cast<size_t>(n);
    }
    const bool ok = written == text.size() && ::fsync(fd) == 0;
    ::close(fd);
    return ok && ::rename(temporary.c_str(), path.c_str()) == 0;
}

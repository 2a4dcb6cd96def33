#include "SimulatedDeviceRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "FolderNames.h"
#include "RuntimeFolder.h"

namespace {

constexpr const char* kPidKey = "pid=";
constexpr const char* kPathKey = "path=";
constexpr const char* kDescriptionKey = "description=";

bool TakeValue(const std::string& line, const char* key, std::string& value)
{
    const size_t length = std::strlen(key);
    if (line.compare(0, length, key) != 0) {
        return false;
    }
    value = line.substr(length);
    return true;
}

bool ProcessAlive(pid_t pid)
{
    // EPERM means it exists but belongs to someone else, which a simulator of
    // ours never does; only "no such process" makes an entry stale.
    return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
}

bool IsCharacterDevice(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// An entry naming a device that is no terminal (/dev/null, /dev/zero) would
// be opened as a Tester and hide a working simulator listed after it. Asked
// of the opened descriptor, so the answer is about the node itself. A node
// that cannot be opened stays listed: opening it for real tells why.
bool OpensAsNonTerminal(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return !terminal;
}

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

} // namespace

CSimulatedDeviceRegistry::CSimulatedDeviceRegistry(std::string folder) : m_folder(std::move(folder)) {}

std::string CSimulatedDeviceRegistry::DefaultFolder()
{
    return PrivateRuntimeFolder() + "/q9tester-devices";
}

bool CSimulatedDeviceRegistry::IsTrusted() const
{
    struct stat st {};
    return ::lstat(m_folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

std::vector<std::string> CSimulatedDeviceRegistry::EntryNames() const
{
    std::vector<std::string> names = FolderNames(m_folder);
    // Dot names are entries still being written.
    std::erase_if(names, [](const std::string& name) { return name[0] == '.'; });
    std::sort(names.begin(), names.end());
    return names;
}

bool CSimulatedDeviceRegistry::ReadEntry(const std::string& name, Entry& entry) const
{
    const std::string file = m_folder + "/" + name;
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        return false;
    }
    std::ifstream in(file);
    std::string line, pid;
    entry = Entry{name, 0, {}};
    while (std::getline(in, line)) {
        TakeValue(line, kPidKey, pid) || TakeValue(line, kPathKey, entry.device.path) ||
            TakeValue(line, kDescriptionKey, entry.device.description);
    }
    char* end = nullptr;
    const long value = pid.empty() ? 0 : std::strtol(pid.c_str(), &end, 10);
    if (value <= 0 || *end != '\0' || entry.device.path.empty()) {
        return false;
    }
    entry.pid = static_cast<pid_t>(value);
    return true;
}

std::vector<DeviceListEntry> CSimulatedDeviceRegistry::List() const
{
    std::vector<DeviceListEntry> list;
    if (!IsTrusted()) {
        return list;
    }
    for (const std::string& name : EntryNames()) {
        Entry entry;
        if (ReadEntry(name, entry) && ProcessAlive(entry.pid) && IsCharacterDevice(entry.device.path) &&
            !OpensAsNonTerminal(entry.device.path)) {
            entry.device.simulated = true;
            list.push_back(entry.device);
        }
    }
    return list;
}

bool CSimulatedDeviceRegistry::CreateFolder(std::string& error) const
{
    if (::mkdir(m_folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = ErrnoText("cannot create " + m_folder);
        return false;
    }
    if (!IsTrusted()) {
        error = m_folder + " is not a private folder of this user (owner or mode 0700 wrong)";
        return false;
    }
    return true;
}

bool CSimulatedDeviceRegistry::Register(const std::string& name, const std::string& path,
                                        const std::string& description, std::string& error) const
{
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos ||
        description.find('\n') != std::string::npos) {
        error = "invalid entry name or description";
        return false;
    }
    std::ostringstream text;
    text << kPidKey << ::getpid() << '\n'
         << kPathKey << path << '\n'
         << kDescriptionKey << description << '\n';
    const std::string content = text.str();
    const std::string temporary = m_folder + "/." + name + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = ErrnoText("cannot write " + temporary);
        return false;
    }
    const bool written = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), (m_folder + "/" + name).c_str()) != 0) {
        error = ErrnoText("cannot register " + name);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void CSimulatedDeviceRegistry::Unregister(const std::string& name) const
{
    ::unlink((m_folder + "/" + name).c_str());
}

void CSimulatedDeviceRegistry::RemoveStaleEntries() const
{
    if (!IsTrusted()) {
        return;
    }
    for (const std::string& name : EntryNames()) {
        Entry entry;
        if (ReadEntry(name, entry) && !ProcessAlive(entry.pid)) {
            Unregister(name);
        }
    }
}

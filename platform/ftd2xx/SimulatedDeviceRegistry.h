#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

#include "DeviceListEntry.h"

// The per-user folder in which simulated Testers announce themselves: one
// small file per running simulator names its pseudo-terminal and its
// description. Writing the file is "plugging in", removing it "unplugging".
//
// The folder is trusted only when it belongs to the user and nobody else may
// enter it (no group or other permission bits), so no other user can slip a
// fake Tester in. An entry is listed only when it is a regular file of the
// user, its simulator process is alive and its node is a character device
// that is a terminal.
class CSimulatedDeviceRegistry {
  public:
    explicit CSimulatedDeviceRegistry(std::string folder);

    // q9tester-devices in the user's private runtime folder
    // (PrivateRuntimeFolder).
    static std::string DefaultFolder();

    const std::string& Folder() const { return m_folder; }

    // True when the folder exists, is owned by the user and is private.
    bool IsTrusted() const;

    // Live entries sorted by entry name; empty when the folder is not trusted.
    std::vector<DeviceListEntry> List() const;

    // Simulator side. CreateFolder makes the folder with mode 0700 if needed
    // and fails (with `error` set) when an existing one is not trusted.
    bool CreateFolder(std::string& error) const;
    // Writes the entry `name` atomically (temporary file, then rename), so a
    // reader never sees half an entry.
    bool Register(const std::string& name, const std::string& path, const std::string& description,
                  std::string& error) const;
    void Unregister(const std::string& name) const;
    // Removes entries whose simulator process no longer runs.
    void RemoveStaleEntries() const;

  private:
    struct Entry {
        std::string name;
        pid_t pid = 0;
        DeviceListEntry device;
    };
    bool ReadEntry(const std::string& name, Entry& entry) const;
    std::vector<std::string> EntryNames() const;

    std::string m_folder;
};

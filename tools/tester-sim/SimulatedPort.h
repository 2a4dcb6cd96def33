#pragma once

#include <string>

#include "SimulatedDeviceRegistry.h"

// The simulator's end of a pseudo-terminal, registered as a Tester while it is
// plugged in. The simulator keeps a slave descriptor of its own open, so the
// host closing and reopening its side does not hang up the line; unplugging
// closes everything, which the host sees as a hang-up.
class CSimulatedPort {
  public:
    CSimulatedPort(const CSimulatedDeviceRegistry& registry, std::string entryName, std::string description);
    ~CSimulatedPort();
    CSimulatedPort(const CSimulatedPort&) = delete;
    CSimulatedPort& operator=(const CSimulatedPort&) = delete;

    // Opens a new pseudo-terminal and registers it; `error` tells why not.
    bool Plug(std::string& error);
    // Unregisters, then closes both ends.
    void Unplug();

    // Waits until the host has taken every byte written so far (a hang-up
    // throws away what it has not read yet); false after `timeoutMs`.
    bool WaitUntilRead(int timeoutMs) const;

    bool IsPlugged() const { return m_master >= 0; }
    int Master() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

  private:
    bool OpenPty(std::string& error);
    void ClosePty();

    const CSimulatedDeviceRegistry& m_registry;
    std::string m_entryName;
    std::string m_description;
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

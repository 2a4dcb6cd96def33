#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>

// A raw pseudo-terminal standing in for the Tester's serial port: the test holds
// the master (the Tester's end) and, like the simulator, one slave descriptor of
// its own so that the pty lives on while the code under test opens and closes
// its slave.
class CPtyPair {
  public:
    explicit CPtyPair(int masterFlags = 0)
        : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | masterFlags))
    {
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0) {
            m_slavePath = ::ptsname(m_master);
            m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        }
        termios tio{};
        if (m_slave >= 0 && ::tcgetattr(m_slave, &tio) == 0) {
            ::cfmakeraw(&tio);
            m_raw = ::tcsetattr(m_slave, TCSANOW, &tio) == 0;
        }
    }
    ~CPtyPair()
    {
        CloseMaster();
        ::close(m_slave);
    }
    CPtyPair(const CPtyPair&) = delete;
    CPtyPair& operator=(const CPtyPair&) = delete;

    bool Ok() const { return m_master >= 0 && m_raw; }
    const std::string& SlavePath() const { return m_slavePath; }
    int Master() const { return m_master; }
    int Slave() const { return m_slave; }
    // One byte the code under test wrote, waited for up to two seconds.
    bool ReadMaster(uint8_t& byte) const
    {
        pollfd pfd{m_master, POLLIN, 0};
        return ::poll(&pfd, 1, 2000) == 1 && ::read(m_master, &byte, 1) == 1;
    }
    void CloseMaster() { ::close(std::exchange(m_master, -1)); }

  private:
    int m_master;
    int m_slave = -1;
    bool m_raw = false;
    std::string m_slavePath;
};

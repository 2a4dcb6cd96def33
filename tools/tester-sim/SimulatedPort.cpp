#include "SimulatedPort.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

// Longer than the kernel takes to hand bytes from the master to the slave.
constexpr int kArrivalMs = 100;

} // namespace

CSimulatedPort::CSimulatedPort(const CSimulatedDeviceRegistry& registry, std::string entryName,
                               std::string description)
    : m_registry(registry), m_entryName(std::move(entryName)), m_description(std::move(description))
{
}

CSimulatedPort::~CSimulatedPort()
{
    Unplug();
}

bool CSimulatedPort::OpenPty(std::string& error)
{
    // Non-blocking master: while the host does not read, the reply writer
    // waits for room in poll(), where a stop or an unplug can end the wait.
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    m_slavePath = ::ptsname(m_master);
    m_slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0) {
        error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        return false;
    }
    // Raw and without echo until the host configures the line itself: the
    // Tester never echoes, and a cooked line would mangle replies.
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, B115200);
    if (::tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        error = "cannot configure " + m_slavePath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool CSimulatedPort::Plug(std::string& error)
{
    Unplug();
    if (!OpenPty(error) || !m_registry.Register(m_entryName, m_slavePath, m_description, error)) {
        ClosePty();
        return false;
    }
    return true;
}

void CSimulatedPort::Unplug()
{
    if (m_master >= 0 || m_slave >= 0) {
        // Off the list before the line drops, so a new search cannot pick up
        // a port that is about to hang up.
        m_registry.Unregister(m_entryName);
    }
    ClosePty();
}

void CSimulatedPort::ClosePty()
{
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    m_slavePath.clear();
}

bool CSimulatedPort::WaitUntilRead(int timeoutMs) const
{
    using Clock = std::chrono::steady_clock;
    const auto pending = [this] {
        int count = 0;
        return m_slave >= 0 && ::ioctl(m_slave, TIOCINQ, &count) == 0 ? count : 0;
    };
    // Our own slave descriptor sees the host's input queue. Bytes reach it
    // from the master a moment after the write (the kernel pushes them on),
    // so first give them that moment, then wait for the host to take them.
    const auto arrival = Clock::now() + std::chrono::milliseconds(kArrivalMs);
    while (pending() == 0 && Clock::now() < arrival) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pending() > 0) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

#include "SerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace {

bool BaudConstant(uint32_t baud, speed_t& speed)
{
    struct Rate {
        uint32_t baud;
        speed_t speed;
    };
    static constexpr Rate kRates[] = {{9600, B9600},     {19200, B19200},   {38400, B38400},
                                      {57600, B57600},   {115200, B115200}, {230400, B230400},
                                      {460800, B460800}, {921600, B921600}};
    for (const Rate& rate : kRates) {
        if (rate.baud == baud) {
            speed = rate.speed;
            return true;
        }
    }
    return false;
}

void MakeRaw(termios& tio)
{
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CRTSCTS | CSTOPB | PARENB | CSIZE);
    tio.c_cflag |= CS8;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // poll() decides how long to wait; a read returns what is there.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetspeed(&tio, B115200);
}

// Asks the USB-serial driver to hand over short replies at once instead of
// holding them for the bridge's latency timer (16 ms by default), which would
// cap polling near 60 exchanges a second. Only a help: a pseudo-terminal and
// drivers without the flag refuse, and the port works as before.
void AskForLowLatency(int fd)
{
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && (serial.flags & ASYNC_LOW_LATENCY) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &serial);
    }
}

} // namespace

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(const std::string& path, bool exclusive, bool lowLatency)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_openError = errno;
        return false;
    }
    m_fd = fd;
    // Blocking again: every wait is bounded by poll(), and a blocking write
    // never comes back short with EAGAIN.
    const int flags = ::fcntl(fd, F_GETFL);
    termios tio{};
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::tcgetattr(fd, &tio) != 0) {
        return FailOpen(); // ENOTTY: not a terminal at all
    }
    MakeRaw(tio);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        return FailOpen();
    }
    // Two programs talking to one Tester would mix their replies.
    m_exclusive = exclusive && ::ioctl(fd, TIOCEXCL) == 0;
    if (lowLatency) {
        AskForLowLatency(fd);
    }
    m_readTimeoutMs = m_writeTimeoutMs = kDefaultTimeoutMs;
    m_openError = 0;
    return true;
}

bool CSerialPort::FailOpen()
{
    m_openError = errno;
    Close();
    return false;
}

void CSerialPort::Close()
{
    if (m_fd < 0) {
        return;
    }
    // The exclusive flag outlives our descriptor while someone else holds the
    // tty (a simulator keeps its pty slave open): without clearing it, the
    // next non-root open would fail with EBUSY.
    if (m_exclusive) {
        ::ioctl(m_fd, TIOCNXCL);
    }
    ::close(m_fd);
    m_fd = -1;
    m_exclusive = false;
    m_inputBegin = m_inputEnd = 0;
}

template <typename Change> bool CSerialPort::ChangeAttributes(Change change)
{
    termios tio{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &tio) != 0 || !change(tio)) {
        return false;
    }
    return ::tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool CSerialPort::SetBaudRate(uint32_t baud)
{
    speed_t speed{};
    return BaudConstant(baud, speed) &&
           ChangeAttributes([speed](termios& tio) { return ::cfsetspeed(&tio, speed) == 0; });
}

bool CSerialPort::SetDataCharacteristics(uint8_t wordLength, StopBits stopBits, Parity parity)
{
    if (wordLength != 7 && wordLength != 8) {
        return false;
    }
    return ChangeAttributes([=](termios& tio) {
        tio.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD);
        tio.c_cflag |= wordLength == 8 ? CS8 : CS7;
        tio.c_cflag |= stopBits == StopBits::kTwo ? CSTOPB : 0;
        tio.c_cflag |= parity == Parity::kOdd ? (PARENB | PARODD) : parity == Parity::kEven ? PARENB : 0;
        return true;
    });
}

bool CSerialPort::SetFlowControl(FlowControl flow, uint8_t xon, uint8_t xoff)
{
    return ChangeAttributes([=](termios& tio) {
        tio.c_cflag &= ~CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        if (flow == FlowControl::kRtsCts) {
            tio.c_cflag |= CRTSCTS;
        } else if (flow == FlowControl::kXonXoff) {
            tio.c_iflag |= IXON | IXOFF;
            tio.c_cc[VSTART] = xon;
            tio.c_cc[VSTOP] = xoff;
        }
        return true;
    });
}

bool CSerialPort::Purge(uint32_t mask)
{
    const bool input = (mask & 1) != 0;
    const bool output = (mask & 2) != 0;
    if (m_fd < 0) {
        return false;
    }
    if (input) {
        m_inputBegin = m_inputEnd = 0;
    }
    if (!input && !output) {
        return true;
    }
    return ::tcflush(m_fd, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH) == 0;
}

void CSerialPort::SetTimeouts(uint32_t readMs, uint32_t writeMs)
{
    m_readTimeoutMs = readMs;
    m_writeTimeoutMs = writeMs;
}

CSerialPort::Wait CSerialPort::WaitFor(short events, uint32_t timeoutMs) const
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd pfd{m_fd, events, 0};
        const int ready = ::poll(&pfd, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return Wait::kFailed;
        }
        if (ready == 0) {
            return Wait::kTimeout;
        }
        // Pending input is still read when the other side hung up; the read
        // itself then reports the failure once the input is used up.
        if ((pfd.revents & events) != 0) {
            return Wait::kReady;
        }
        return Wait::kFailed; // POLLHUP, POLLERR or POLLNVAL alone
    }
}

bool CSerialPort::FillInput()
{
    ssize_t n = 0;
    do {
        n = ::read(m_fd, m_input, sizeof m_input);
    } while (n < 0 && errno == EINTR);
    // Ready but nothing to read (0 bytes, EIO) is a device that went away; a
    // time-out here would make the reader spin on a dead port.
    if (n <= 0) {
        return false;
    }
    m_inputBegin = 0;
    m_inputEnd = static_cast<size_t>(n);
    return true;
}

bool CSerialPort::ReadByte(uint8_t& byte, uint32_t& transferred)
{
    transferred = 0;
    if (m_fd < 0) {
        return false;
    }
    if (m_inputBegin == m_inputEnd) {
        // A time-out succeeds with nothing read; only a failure is false.
        const Wait wait = WaitFor(POLLIN, m_readTimeoutMs);
        if (wait != Wait::kReady) {
            return wait == Wait::kTimeout;
        }
        if (!FillInput()) {
            return false;
        }
    }
    byte = m_input[m_inputBegin++];
    transferred = 1;
    return true;
}

bool CSerialPort::WriteByte(uint8_t byte, uint32_t& transferred)
{
    transferred = 0;
    if (m_fd < 0) {
        return false;
    }
    const Wait wait = WaitFor(POLLOUT, m_writeTimeoutMs);
    if (wait != Wait::kReady) {
        return wait == Wait::kTimeout;
    }
    ssize_t n = 0;
    do {
        n = ::write(m_fd, &byte, 1);
    } while (n < 0 && errno == EINTR);
    if (n != 1) {
        return false; // EIO: the device went away
    }
    transferred = 1;
    return true;
}

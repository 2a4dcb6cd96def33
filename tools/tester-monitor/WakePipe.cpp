#include "WakePipe.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

CWakePipe::CWakePipe()
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) == 0) {
        m_read = fds[0];
        m_write = fds[1];
    }
}

CWakePipe::~CWakePipe()
{
    if (m_read >= 0) {
        ::close(m_read);
        ::close(m_write);
    }
}

void CWakePipe::Notify() const
{
    const char byte = 1;
    // EAGAIN means the pipe is full of wake-ups already.
    [[maybe_unused]] const ssize_t ignored = ::write(m_write, &byte, 1);
}

bool CWakePipe::Wait(int timeoutMs) const
{
    pollfd pfd{m_read, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) <= 0) {
        return false;
    }
    char drain[256];
    while (::read(m_read, drain, sizeof drain) > 0) {
    }
    return true;
}

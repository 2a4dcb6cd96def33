#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// Read end, write end; -1 until installed. Kept open for the life of the
// process, so a request during teardown is swallowed instead of fatal.
int s_pipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int)
{
    // Only async-signal-safe calls here.
    const int savedErrno = errno;
    const char byte = 1;
    const ssize_t written = ::write(s_pipe[1], &byte, 1);
    static_cast<void>(written); // a full pipe already holds a request
    errno = savedErrno;
}

} // namespace

bool CTerminationSignals::Install()
{
    if (s_pipe[0] >= 0)
        return true;
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
    return true;
}

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent)
{
    if (!Install())
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);
}

void CTerminationSignals::OnReadable()
{
    // Several signals in a row are one request.
    std::array<char, 64> bytes{};
    while (::read(s_pipe[0], bytes.data(), bytes.size()) > 0) {
    }
    emit TerminationRequested();
}

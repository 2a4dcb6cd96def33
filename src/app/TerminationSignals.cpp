#include "TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// Read end, write end; -1 while no object exists.
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

void SetAction(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent)
{
    if (s_pipe[0] >= 0) // another object already has the signals
        return;
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);
    SetAction(OnTerminationSignal);
}

CTerminationSignals::~CTerminationSignals()
{
    if (!m_notifier)
        return;
    SetAction(SIG_DFL);
    delete m_notifier;
    ::close(s_pipe[0]);
    ::close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

void CTerminationSignals::OnReadable()
{
    // Several signals in a row are one request.
    std::array<char, 64> bytes{};
    while (::read(s_pipe[0], bytes.data(), bytes.size()) > 0) {
    }
    emit TerminationRequested();
}

// tester-sim: a simulated TAMRIX TESTER on a pseudo-terminal. See --help.
#include <csignal>
#include <cstdio>

#include "SimOptions.h"
#include "TesterSimulator.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void RequestStop(int)
{
    g_stop = 1;
}

void InstallStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: poll() returns at once with EINTR
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions options;
    std::string message;
    bool help = false;
    if (!ParseSimOptions(argc, argv, options, message, help)) {
        std::fprintf(help ? stdout : stderr, "%s%s", help ? "" : "tester-sim: ", message.c_str());
        std::fprintf(help ? stdout : stderr, help ? "" : "\n(try --help)\n");
        return help ? 0 : 2;
    }
    InstallStopHandlers();
    CTesterSimulator simulator(options);
    return simulator.Run(g_stop);
}

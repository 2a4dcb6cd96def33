// tester-sim: a simulated TAMRIX TESTER on a pseudo-terminal. See --help.
#include <csignal>

#include "SimOptions.h"
#include "StopSignal.h"
#include "TesterSimulator.h"
#include "ToolOptions.h"

int main(int argc, char** argv)
{
    SimOptions options;
    std::string message;
    bool help = false;
    if (!ParseSimOptions(argc, argv, options, message, help)) {
        return ReportOptionStop("tester-sim", message, help);
    }
    const volatile std::sig_atomic_t& stop = InstallStopSignals();
    // A reader that went away must not kill the simulator mid-reply.
    std::signal(SIGPIPE, SIG_IGN);
    CTesterSimulator simulator(options);
    return simulator.Run(stop);
}

#include <csignal>

#include "ProgramOptions.h"
#include "Q9TesterApp.h"
#include "TerminationSignals.h"

int main(int argc, char** argv)
{
    // Before anything else, Qt's start-up included: a request to end that
    // comes early must still take the clean way out.
    CTerminationSignals::Install();
    // Past the file-size limit a write then fails (EFBIG) and the log shows
    // its red row, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    CProgramOptions options;
    if (!options.Parse(argc, argv))
        return options.ExitCode();
    CQ9TesterApp app(argc, argv);
    return app.Run(options.RecordFile());
}

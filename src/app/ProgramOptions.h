#pragma once

#include <QCoreApplication>
#include <string>

// What the command line asks of the program. Nothing is on by default: the
// program without options is the program as the technician knows it.
struct ProgramOptions {
    std::string recordFile; // record the Tester's traffic to this file
};

// Reads the running application's command line. "--help" and a wrong option
// end the process with the usage, as QCommandLineParser does.
ProgramOptions ParseProgramOptions(const QCoreApplication& app);

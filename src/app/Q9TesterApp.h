#pragma once

#include <QApplication>
#include <string>

#include "SingleInstance.h"
#include "TerminationSignals.h"

// The program: one main dialog, run modally, on the Tester's USB driver; one
// copy at a time.
class CQ9TesterApp : public QApplication {
  public:
    CQ9TesterApp(int& argc, char** argv);

    // Runs the main dialog until it ends, recording the Tester's traffic to
    // `recordFile` unless it is empty; the process's exit code.
    int Run(const std::string& recordFile);

  private:
    CSingleInstance m_instance;
    // Lives longer than the dialog, so a request during its teardown is
    // neither fatal nor lost.
    CTerminationSignals m_termination;
};

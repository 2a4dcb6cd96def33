#pragma once

#include <optional>
#include <string>

#include "ReplyWriter.h"
#include "TesterDevice.h"
#include "TesterScenario.h"

struct SimOptions {
    ScenarioSettings scenario;
    FaultPlan faults;
    double speedup = 1.0;              // --pace: 1 real, 0 fast, N for "Nx"
    unsigned usbLatencyMs = 0;         // the USB bridge's latency timer; 0: no bridge
    std::optional<double> unplugAfter; // seconds after each plug-in
    std::optional<double> replugAfter; // seconds after each unplug
    char unplugOn = 0;                 // unplug on the first such command after each plug-in
    std::string recordFile;
    std::string replayFile; // play the Tester's side of this recording
    std::string runtimeDir; // empty: the default per-user folder
    std::string description = kTesterDescription;
    std::string entryName; // empty: tester-sim-<pid>
    bool quiet = false;
};

// Parses the command line. Returns false with `message` set to the help or
// version text (`help` true) or to what was wrong.
bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& message, bool& help);

std::string SimUsage();

#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The command line of ividiv-sim.
struct simoptions_t {
    std::string listenAddress = "127.0.0.1";
    int port = 8443;
    std::string stateDir; // empty: the default private folder
    std::string addUser;  // set: add or replace this user and exit
    std::string csvFile;
    uint32_t generate = 0;
    int maxConnections = 8;
    // Faults.
    uint32_t delayMs = 0;
    uint32_t faultPage = 0; // the page request (from 0) the faults below hit
    uint32_t stallMs = 0;
    bool cut = false;
    bool malformed = false;
    int status = 0;
    bool oversize = false;
};

extern const char* const kSimUsage;

// The options, or nullopt with a message in `error` (empty for --help).
std::optional<simoptions_t> ParseSimOptions(int argc, char** argv, std::string& error);

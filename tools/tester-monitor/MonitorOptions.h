#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A CAN message given on the command line as
// "<two-way id>,<CAN id hex>,<rtr>[,<data byte hex>...]".
struct MonitorCanMessage {
    uint8_t twoWayId = 0;
    uint32_t canId = 0;
    uint8_t rtr = 0;
    uint8_t count = 0;
    uint8_t data[8] = {};
};

struct MonitorOptions {
    std::string sysfsRoot = "/sys";
    std::string runtimeDir; // empty: the default per-user folder
    std::optional<double> seconds;
    bool listen = false;
    bool diagnostics = false;
    std::optional<unsigned> emulate;
    std::optional<MonitorCanMessage> can;
    std::string recordFile; // record the Tester's traffic to this file
    std::string replayFile; // print this recording's events instead
};

bool ParseCanMessageText(const std::string& text, MonitorCanMessage& message);

// False with `message` set to the usage or the version (`help` true) or to
// what was wrong.
bool ParseMonitorOptions(int argc, char** argv, MonitorOptions& options, std::string& message, bool& help);

std::string MonitorUsage();

#pragma once

#include <string>

// One device of the driver's device list: the node to open, the
// description it is matched by (the USB product string of a real Tester), and
// whether it is a simulator's pseudo-terminal.
struct DeviceListEntry {
    std::string path;
    std::string description;
    bool simulated = false;
};

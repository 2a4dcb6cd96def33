#pragma once

#include <string>

// One device of the driver's device list: the node to open and the
// description it is matched by (the USB product string of a real Tester).
struct DeviceListEntry {
    std::string path;
    std::string description;
};

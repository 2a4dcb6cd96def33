#pragma once

#include <string>
#include <vector>

#include "TesterDevice.h"

// The Linux backend of the Tester's USB-serial driver: real USB-serial ttys
// found through sysfs, and simulated Testers registered in the user's private
// runtime folder.
class CFtd2xxDevice : public CTesterDevice {
public:
    // Real sysfs and the default runtime folder.
    CFtd2xxDevice();
    // For tests: a fake sysfs tree and runtime folder.
    CFtd2xxDevice(std::string sysfsRoot, std::string runtimeDir);
    ~CFtd2xxDevice() override;
    // Implementation adds the CTesterDevice overrides and its members.
};

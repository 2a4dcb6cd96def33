#pragma once

#include <ctime>
#include <string>

// The "Time of day" of log rows and status texts: local time as
// "%d-%m-%Y %H:%M:%S" (05-12-2026 17:24:48).
std::string FormatTimeOfDay(std::time_t when);
std::string FormatTimeOfDay();

#pragma once

#include <string>

// The options every console tool answers the same way. When `name` is
// "-h"/"--help" or "-v"/"--version", `message` becomes the usage text or
// "<tool> <version>" and the result is true: the tool prints it and ends.
bool IsHelpOrVersion(const std::string& name, const char* tool, std::string (*usage)(), std::string& message);

// Ends an option parse that did not go on: help or version on standard output
// (exit status 0), an error on standard error with a hint (exit status 2).
int ReportOptionStop(const char* tool, const std::string& message, bool help);

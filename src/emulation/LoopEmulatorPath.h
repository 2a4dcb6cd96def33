#pragma once

#include <string>

// Where LoopEmulator.xml is looked for: in the folder of `programPath`, or at
// "/LoopEmulator.xml" when `programPath` has no folder part.
std::string LoopEmulatorPathBeside(const std::string& programPath);

// The same for the running program, found through /proc/self/exe so that a
// link to the program does not move the file.
std::string LoopEmulatorPath();

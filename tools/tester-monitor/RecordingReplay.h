#pragma once

#include <cstdio>
#include <string>

// Prints the events of the recording at `path` to `out`, each stamped with
// its time since the recording began; errors go to stderr. Returns the exit
// code: 0, or 1 when the file cannot be read to its end (the events before
// the bad line are printed).
int PrintRecording(const std::string& path, std::FILE* out);

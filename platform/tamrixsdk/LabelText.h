#pragma once

#include <string>

// A server label (UTF-8) as the program shows it: Windows-1252, what the code
// page lacks as '?', control characters as blanks, at most PTC_LABEL_MAX
// bytes. `altered` tells whether anything was replaced or cut.
std::string LabelToWindows1252(const std::string& utf8, bool& altered);

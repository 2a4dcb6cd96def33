#pragma once

#include <string>
#include <vector>

// The names in `folder` except "." and "..", in readdir order; empty when the
// folder cannot be read.
std::vector<std::string> FolderNames(const std::string& folder);

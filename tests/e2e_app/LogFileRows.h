#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"

// The rows of the log files in ./Log whose names start with `prefix`, title
// lines left out, each as it stands up to its line feed.
inline std::vector<std::string> LogFileRows(const std::string& prefix)
{
    std::vector<std::string> rows;
    if (!std::filesystem::exists("Log"))
        return rows;
    for (const auto& entry : std::filesystem::directory_iterator("Log")) {
        if (!entry.path().filename().string().starts_with(prefix))
            continue;
        std::istringstream text(ReadFileBytes(entry.path()));
        std::string line;
        std::getline(text, line); // titles
        while (std::getline(text, line))
            rows.push_back(line);
    }
    return rows;
}

// A log row without its last cell, the time of day.
inline std::string WithoutTime(const std::string& row)
{
    return row.substr(0, row.rfind(','));
}

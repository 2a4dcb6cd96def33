#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

// The rows of the log files in ./Log whose names start with `prefix`, title
// lines left out, each row's cells split at its commas.
inline std::vector<std::vector<std::string>> LogFileRows(const std::string& prefix)
{
    std::vector<std::vector<std::string>> rows;
    if (!std::filesystem::exists("Log"))
        return rows;
    for (const auto& entry : std::filesystem::directory_iterator("Log")) {
        if (entry.path().filename().string().rfind(prefix, 0) != 0)
            continue;
        std::istringstream text(ReadWholeFile(entry.path().string()));
        std::string line;
        std::getline(text, line); // titles
        while (std::getline(text, line)) {
            rows.emplace_back();
            std::istringstream cells(line);
            for (std::string cell; std::getline(cells, cell, ',');)
                rows.back().push_back(cell);
        }
    }
    return rows;
}

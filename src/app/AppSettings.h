#pragma once

#include <string>

// The four persisted settings, owned by the main dialog; pages read them
// through the pointer it hands them.
struct AppSettings {
    int unitCelsius = 1; // any non-zero value counts as Celsius
    int showLog = 0;
    std::string host;  // Windows-1252
    std::string login; // Windows-1252

    bool IsCelsius() const { return unitCelsius != 0; }
};

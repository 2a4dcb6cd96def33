#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// What the site sets through the environment, read when a connection starts.
struct sdksettings_t {
    uint16_t port = 443;
    std::string caFile; // empty: the system's certificate store
    std::chrono::milliseconds stallTimeout{15000};
};

sdksettings_t ReadSdkSettings();

#pragma once

#include <array>

// Type names by the type index that transponder readings and log rows carry.
inline constexpr std::array<const char*, 5> TransponderTypeNames = {
    "Korvo", "Q9", "Beacon", "Mindlet", "Tracksensor",
};

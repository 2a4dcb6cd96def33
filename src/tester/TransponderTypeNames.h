#pragma once

#include <array>
#include <cstdint>

// Type indices that transponder readings, log rows and the deaf list carry.
enum TransponderType : uint32_t {
    kTypeKorvo = 0,
    kTypeQ9 = 1,
    kTypeBeacon = 2,
    kTypeMindlet = 3,
    kTypeTrackSensor = 4,
};

// Type names by type index.
inline constexpr std::array<const char*, 5> TransponderTypeNames = {
    "Korvo", "Q9", "Beacon", "Mindlet", "Tracksensor",
};

// The name of a type index; empty for an index the table does not hold.
inline const char* TransponderTypeName(uint32_t typeIndex)
{
    return typeIndex < TransponderTypeNames.size() ? TransponderTypeNames[typeIndex] : "";
}

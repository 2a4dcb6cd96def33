#pragma once

#include <cstddef>

// Where each event kind keeps its small values (testerevent_t::small). The
// reply parser writes them, DeliverEvents reads them; both use these names.
// Every small value is the low byte of a reply field.
namespace EventSmall {
// kEventTransponder
inline constexpr std::size_t kLowBattery = 0;
inline constexpr std::size_t kDriverNumber = 1;
// kEventBeacon
inline constexpr std::size_t kBeaconTemperature = 0;
inline constexpr std::size_t kBeaconBattery = 1;
// kEventMindletTransponder (kLowBattery as for a Korvo transponder)
// kEventLoopLevel
inline constexpr std::size_t kLoopLevel = 0;
// kEventDiagnostics: the eight fields after the number, in reply order.
inline constexpr std::size_t kFirmwareMajor = 0;
inline constexpr std::size_t kFirmwareMinor = 1;
inline constexpr std::size_t kExternalVoltage = 2;
inline constexpr std::size_t kBatteryVoltage = 3;
inline constexpr std::size_t kBatteryLevel = 4;
inline constexpr std::size_t kRemainingTime = 5;
inline constexpr std::size_t kTemperature = 6;
inline constexpr std::size_t kNoise = 7;
// kEventCanReceived: length, the unused fourth field, then 8 data bytes.
inline constexpr std::size_t kCanLength = 0;
inline constexpr std::size_t kCanFourth = 1;
inline constexpr std::size_t kCanData = 2;
// kEventFirmwareVersion
inline constexpr std::size_t kVersionMajor = 0;
inline constexpr std::size_t kVersionMinor = 1;
// kEventSpecialDevice
inline constexpr std::size_t kSpecialFlag = 0;
inline constexpr std::size_t kSpecialKind = 1;
} // namespace EventSmall

#pragma once

#include <cstdint>

// Fixed-size records that cross between the reader thread and the UI thread.
// They are copied by value into the link's ring and queue, so the reader thread
// allocates nothing per event.

// Kinds of testerevent_t; the numbers are those the handlers are dispatched on.
enum TesterEventKind : int32_t {
    kEventLinkLost = 0,
    kEventConnected = 1,
    kEventTransponder = 2,
    kEventQ9Transponder = 3,
    kEventBeacon = 4,
    kEventLoopLevel = 6,
    kEventMindletTransponder = 7,
    kEventDiagnostics = 8,
    kEventTransmitResult = 9,
    kEventCanReceived = 10,
    kEventFirmwareVersion = 11,
    kEventFirmwareUnknown = 12,
    kEventListeningChanged = 13,
    kEventSpecialDevice = 14,
};

// Result codes of kEventTransmitResult.
enum TransmitResult : int32_t {
    kTransmitTxDone = 0,
    kTransmitInvalidParameter = 2,
    kTransmitMsgDone = 3,
};

// States of kEventListeningChanged.
enum ListeningState : int32_t {
    kListeningStarted = 0,
    kListeningStopped = 1,
};

// "what" of kEventSpecialDevice.
enum SpecialDeviceWhat : int32_t {
    kSpecialNothingHeard = 2,
    kSpecialReading = 3,
};

// Value kinds of a special-device reading: a temperature in tenths of a
// degree, or a value in thousandths.
enum SpecialValueKind : unsigned {
    kSpecialTemperature = 0,
    kSpecialThousandths = 2,
};

// The device flag of a special-device reading that is to be shown.
inline constexpr unsigned kSpecialFlagShow = 1;

struct testerevent_t {
    int32_t kind = kEventLinkLost;
    int32_t code1 = 0;      // transmit result; 1 for a received CAN message
    int32_t code2 = 0;      // listening state; what of a special-device event
    uint32_t number1 = 0;   // transponder, beacon or device number; two-way id
    uint32_t number2 = 0;   // RSSI
    uint32_t number3 = 0;   // CAN id
    uint8_t small[16] = {}; // per-kind small values (see the reply parser)
    double value = 0.0;     // special-device reading
};

// Kinds of testercommand_t.
enum TesterCommandKind : int32_t {
    kCommandEmulateTransponder = 1,
    kCommandLoop = 2,
    kCommandCanMessage = 3,
    kCommandStartListening = 4,
    kCommandStopListening = 5,
};

struct testercommand_t {
    int32_t kind = 0;
    uint32_t canId = 0;
    uint8_t parameter = 0; // transponder index, loop parameter or two-way id
    uint8_t dataCount = 0; // 0 to 8
    uint8_t rtr = 0;       // 0 or 1
    uint8_t data[9] = {};  // 8 data bytes and one spare
};

// A Q9 transponder's diagnostics reply, converted to volts, percent, minutes
// and degrees Celsius; the noise is the raw byte. One record, so that the
// nine values cannot be passed on in another order.
struct diagnostics_t {
    uint32_t number = 0;
    int32_t noiseRaw = 0;
    double batteryVolts = 0.0;
    uint32_t batteryPercent = 0;
    uint32_t remainingMinutes = 0;
    double externalVolts = 0.0;
    int32_t temperatureC = 0;
    uint32_t firmwareMajor = 0;
    uint32_t firmwareMinor = 0;
};

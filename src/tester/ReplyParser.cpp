#include "ReplyParser.h"

#include <cstdio>
#include <cstring>

#include "ReplyFormats.h"
#include "TesterEventLayout.h"

// Numbers are scanned into 32-bit variables; where a field is used as a byte
// only its value modulo 256 counts, so negative and large values wrap.

namespace {

uint8_t LowByte(int value)
{
    return static_cast<uint8_t>(value);
}

uint8_t LowByte(unsigned value)
{
    return static_cast<uint8_t>(value);
}

testerevent_t MakeEvent(TesterEventKind kind)
{
    testerevent_t event;
    event.kind = kind;
    return event;
}

bool ParseTransponder(const char* line, testerevent_t& event)
{
    int number = 0, rssi = 0, battery = 0, driver = 0;
    if (std::sscanf(line, kFormatTransponder, &number, &rssi, &battery, &driver) < kFieldsTransponder)
        return false;
    event = MakeEvent(kEventTransponder);
    event.number1 = static_cast<uint32_t>(number);
    event.number2 = static_cast<uint32_t>(rssi);
    event.small[EventSmall::kLowBattery] = LowByte(battery);
    event.small[EventSmall::kDriverNumber] = LowByte(driver);
    return true;
}

bool ParseQ9Transponder(const char* line, testerevent_t& event)
{
    int number = 0, rssi = 0;
    if (std::sscanf(line, kFormatQ9Transponder, &number, &rssi) < kFieldsQ9Transponder)
        return false;
    event = MakeEvent(kEventQ9Transponder);
    event.number1 = static_cast<uint32_t>(number);
    event.number2 = static_cast<uint32_t>(rssi);
    return true;
}

bool ParseBeacon(const char* line, testerevent_t& event)
{
    int number = 0, rssi = 0, temperature = 0, battery = 0;
    if (std::sscanf(line, kFormatBeacon, &number, &rssi, &temperature, &battery) < kFieldsBeacon)
        return false;
    event = MakeEvent(kEventBeacon);
    event.number1 = static_cast<uint32_t>(number);
    event.number2 = static_cast<uint32_t>(rssi);
    event.small[EventSmall::kBeaconTemperature] = LowByte(temperature);
    event.small[EventSmall::kBeaconBattery] = LowByte(battery);
    return true;
}

bool ParseMindletTransponder(const char* line, testerevent_t& event)
{
    unsigned number = 0;
    int rssi = 0, battery = 0;
    if (std::sscanf(line, kFormatMindletTransponder, &number, &rssi, &battery) < kFieldsMindletTransponder)
        return false;
    event = MakeEvent(kEventMindletTransponder);
    event.number1 = number;
    event.number2 = static_cast<uint32_t>(rssi);
    event.small[EventSmall::kLowBattery] = LowByte(battery);
    return true;
}

bool ParseDiagnostics(const char* line, testerevent_t& event)
{
    int number = 0;
    int fields[8] = {};
    if (std::sscanf(line, kFormatDiagnostics, &number, &fields[0], &fields[1], &fields[2], &fields[3],
                    &fields[4], &fields[5], &fields[6], &fields[7]) < kFieldsDiagnostics)
        return false;
    event = MakeEvent(kEventDiagnostics);
    event.number1 = static_cast<uint32_t>(number);
    for (std::size_t i = 0; i < 8; ++i)
        event.small[EventSmall::kFirmwareMajor + i] = LowByte(fields[i]);
    return true;
}

bool ParseLoopLevel(const char* line, testerevent_t& event)
{
    int level = 0;
    if (std::sscanf(line, kFormatLoopLevel, &level) < kFieldsLoopLevel)
        return false;
    event = MakeEvent(kEventLoopLevel);
    event.small[EventSmall::kLoopLevel] = LowByte(level);
    return true;
}

bool ParseCanReceived(const char* line, testerevent_t& event)
{
    int twoWayId = 0;
    unsigned canId = 0, length = 0, fourth = 0;
    unsigned data[8] = {}; // a data byte missing from the line is 0
    if (std::sscanf(line, kFormatCanReceived, &twoWayId, &canId, &length, &fourth, &data[0], &data[1],
                    &data[2], &data[3], &data[4], &data[5], &data[6], &data[7]) < kFieldsCanReceived)
        return false;
    event = MakeEvent(kEventCanReceived);
    event.code1 = 1;
    event.number1 = static_cast<uint32_t>(twoWayId);
    event.number3 = canId;
    event.small[EventSmall::kCanLength] = LowByte(length);
    event.small[EventSmall::kCanFourth] = LowByte(fourth);
    for (std::size_t i = 0; i < 8; ++i)
        event.small[EventSmall::kCanData + i] = LowByte(data[i]);
    return true;
}

bool IsExactly(const char* line, const char* reply)
{
    return std::strcmp(line, reply) == 0;
}

} // namespace

bool CReplyParser::ParseReply(const char* line, testerevent_t& event)
{
    if (std::strncmp(line, kReplyNothingPrefix, 4) == 0)
        return false;
    return ParseTransponder(line, event) || ParseQ9Transponder(line, event) || ParseBeacon(line, event) ||
           ParseMindletTransponder(line, event) || ParseDiagnostics(line, event) ||
           ParseLoopLevel(line, event);
}

void CReplyParser::ParseVersion(const char* line, testerevent_t& event)
{
    int major = 0, minor = 0;
    if (std::sscanf(line, kFormatVersion, &major, &minor) < kFieldsVersion) {
        event = MakeEvent(kEventFirmwareUnknown);
        return;
    }
    event = MakeEvent(kEventFirmwareVersion);
    event.small[EventSmall::kVersionMajor] = LowByte(major);
    event.small[EventSmall::kVersionMinor] = LowByte(minor);
}

bool CReplyParser::ParseListen(const char* line, testerevent_t& event, bool& listening)
{
    listening = IsExactly(line, kReplyStartListening);
    if (!listening && !IsExactly(line, kReplyStopListening))
        return false;
    event = MakeEvent(kEventListeningChanged);
    event.code2 = listening ? kListeningStarted : kListeningStopped;
    return true;
}

bool CReplyParser::ParseSpecialPoll(const char* line, testerevent_t& event)
{
    if (IsExactly(line, kReplyNoSpecial)) {
        event = MakeEvent(kEventSpecialDevice);
        event.code2 = kSpecialNothingHeard;
        return true;
    }
    unsigned number = 0, rssi = 0, flag = 0, kind = 0, raw = 0;
    if (std::sscanf(line, kFormatSpecialDevice, &number, &rssi, &flag, &kind, &raw) < kFieldsSpecialDevice)
        return false;
    // Kind 0 is a temperature in tenths of a degree; kind 2 a value in
    // thousandths, scaled in 32-bit unsigned arithmetic as the Tester's own
    // figures are. Other kinds are not understood and dropped.
    double value = 0.0;
    switch (LowByte(kind)) {
    case kSpecialTemperature:
        value = raw / 10.0;
        break;
    case kSpecialThousandths:
        value = static_cast<double>(static_cast<uint32_t>(raw * 1000u));
        break;
    default:
        return false;
    }
    event = MakeEvent(kEventSpecialDevice);
    event.code2 = kSpecialReading;
    event.number1 = number;
    event.number2 = rssi;
    event.small[EventSmall::kSpecialFlag] = LowByte(flag);
    event.small[EventSmall::kSpecialKind] = LowByte(kind);
    event.value = value;
    return true;
}

TransmitStep CReplyParser::ParseTransmit(const char* line, testerevent_t& event)
{
    struct Outcome {
        const char* reply;
        TransmitResult result;
        TransmitStep step;
    };
    static constexpr Outcome kOutcomes[] = {
        {kReplyInvalidParameter, kTransmitInvalidParameter, TransmitStep::kFailed},
        {kReplyTxDone, kTransmitTxDone, TransmitStep::kGoOn},
        {kReplyMsgDone, kTransmitMsgDone, TransmitStep::kSucceeded},
    };
    for (const Outcome& outcome : kOutcomes) {
        if (IsExactly(line, outcome.reply)) {
            event = MakeEvent(kEventTransmitResult);
            event.code1 = outcome.result;
            return outcome.step;
        }
    }
    return ParseCanReceived(line, event) ? TransmitStep::kGoOn : TransmitStep::kIgnored;
}

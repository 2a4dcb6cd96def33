#include "EventPrinter.h"

#include <cstdarg>
#include <ctime>
#include <sys/time.h>

#include "TesterDevice.h"
#include "TesterRecords.h"
#include "TransponderCodes.h"

namespace {

const char* BatteryText(bool low)
{
    return low ? "battery LOW" : "battery ok";
}

} // namespace

CEventPrinter::CEventPrinter(std::FILE* out, std::function<void()> onConnected,
                             std::function<void()> onDisconnected)
    : m_out(out), m_onConnected(std::move(onConnected)), m_onDisconnected(std::move(onDisconnected))
{
}

void CEventPrinter::Print(const char* format, ...)
{
    ++m_events;
    PrintStamp();
    va_list args;
    va_start(args, format);
    std::vfprintf(m_out, format, args);
    va_end(args);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}

void CEventPrinter::PrintStamp()
{
    if (m_recordedClock) {
        const unsigned long long millis = m_recordedClock() / 1000;
        std::fprintf(m_out, "%02llu:%02llu:%02llu.%03llu ", millis / 3600000, millis / 60000 % 60,
                     millis / 1000 % 60, millis % 1000);
        return;
    }
    timeval now{};
    ::gettimeofday(&now, nullptr);
    tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    std::fprintf(m_out, "%s.%03ld ", stamp, static_cast<long>(now.tv_usec / 1000));
}

void CEventPrinter::OnConnected()
{
    m_searching = false;
    m_shownFailure.clear();
    ++m_connections;
    Print("connected");
    if (m_onConnected) {
        m_onConnected();
    }
}

void CEventPrinter::OnDisconnected()
{
    ++m_linkLosses;
    if (!m_searching) {
        Print("disconnected; searching for \"%s\"", kTesterDescription);
        m_searching = true;
    }
    if (m_onDisconnected) {
        m_onDisconnected();
    }
}

void CEventPrinter::ShowSearchFailure(const std::string& failure)
{
    if (failure != m_shownFailure && !failure.empty()) {
        Print("found a Tester but cannot open it: %s", failure.c_str());
    }
    m_shownFailure = failure;
}

void CEventPrinter::OnFirmwareVersion(bool known, unsigned major, unsigned minor)
{
    if (known) {
        Print("firmware version %u.%u", major, minor);
    } else {
        Print("firmware version unknown (prior to 2.2)");
    }
}

void CEventPrinter::OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber)
{
    if (driverNumber != 0) {
        Print("transponder Korvo %u rssi %u %s driver %u", number, rssi, BatteryText(lowBattery),
              driverNumber);
    } else {
        Print("transponder Korvo %u rssi %u %s", number, rssi, BatteryText(lowBattery));
    }
}

void CEventPrinter::OnQ9Transponder(uint32_t number, uint32_t rssi)
{
    Print("transponder Q9 %u rssi %u", number, rssi);
}

void CEventPrinter::OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery)
{
    Print("transponder Mindlet %s (%u) rssi %u %s", FormatTransponderCode(number).c_str(), number, rssi,
          BatteryText(lowBattery));
}

void CEventPrinter::OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature)
{
    Print("beacon %u rssi %u battery %.2f V temperature %d \u00B0C", number, rssi, batteryVolts, temperature);
}

void CEventPrinter::OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts,
                                  uint32_t batteryPercent, uint32_t remainingMinutes, double externalVolts,
                                  unsigned temperature, unsigned firmwareMajor, unsigned firmwareMinor)
{
    Print("diagnostics %u noise %u (%.1f dBm) battery %.1f V %u %% %u min external %.1f V temperature %u "
          "\u00B0C "
          "firmware %u.%u",
          number, noise, noise / 2.45 - 97, batteryVolts, batteryPercent, remainingMinutes, externalVolts,
          temperature, firmwareMajor, firmwareMinor);
}

void CEventPrinter::OnTransmitResult(int32_t result)
{
    switch (result) {
    case kTransmitTxDone:
        Print("transmit: tx done");
        break;
    case kTransmitMsgDone:
        Print("transmit: message done");
        break;
    case kTransmitInvalidParameter:
        Print("transmit: invalid parameter");
        break;
    default:
        Print("transmit: result %d", result);
        break;
    }
}

void CEventPrinter::OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                                  const uint8_t* data)
{
    std::string bytes;
    for (unsigned i = 0; i < 8; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", data[i]);
        bytes += hex;
    }
    Print("CAN received (origin %d): two-way id %u CAN id %x length %u data%s", origin, twoWayId, canId,
          length, bytes.c_str());
}

void CEventPrinter::OnListeningChanged(int32_t state)
{
    Print(state == kListeningStarted ? "listening for special devices started"
                                     : "listening for special devices stopped");
}

void CEventPrinter::OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag,
                                    unsigned kind, double value)
{
    if (what == kSpecialNothingHeard) {
        Print("special device: nothing heard");
        return;
    }
    Print("special device %s (%u) rssi %u flag %u kind %u value %g", FormatSpecialCode(number).c_str(),
          number, rssi, flag, kind, value);
}

void CEventPrinter::OnLoopLevel(unsigned level)
{
    Print("loop level %u", level);
}

#include "TesterEventDispatch.h"

#include "TesterEventLayout.h"

namespace {

void DeliverBeacon(const testerevent_t& event, CTamrixTesterHandlers& handlers)
{
    // The Tester reports the battery in 64ths of 4.2 V and the temperature in
    // steps of 4 degrees from -128. The volts are multiplied in this order on
    // purpose: folding the two constants would round differently.
    const double volts = event.small[EventSmall::kBeaconBattery] * 4.2 * 0.015625;
    const int32_t celsius = event.small[EventSmall::kBeaconTemperature] * 4 - 128;
    handlers.OnBeacon(event.number1, event.number2, volts, celsius);
    handlers.OnBeaconDone();
}

void DeliverDiagnostics(const testerevent_t& event, CTamrixTesterHandlers& handlers)
{
    const uint8_t* small = event.small;
    handlers.OnDiagnostics(event.number1, small[EventSmall::kNoise],
                           small[EventSmall::kBatteryVoltage] / 10.0, small[EventSmall::kBatteryLevel] * 20u,
                           small[EventSmall::kRemainingTime] * 10u,
                           small[EventSmall::kExternalVoltage] / 10.0, small[EventSmall::kTemperature],
                           small[EventSmall::kFirmwareMajor], small[EventSmall::kFirmwareMinor]);
}

} // namespace

void DispatchTesterEvent(const testerevent_t& event, CTamrixTesterHandlers& handlers)
{
    const uint8_t* small = event.small;
    switch (event.kind) {
    case kEventLinkLost:
        handlers.OnDisconnected();
        break;
    case kEventConnected:
        handlers.OnConnected();
        break;
    case kEventTransponder:
        handlers.OnTransponder(event.number1, event.number2, small[EventSmall::kLowBattery] != 0,
                               small[EventSmall::kDriverNumber]);
        break;
    case kEventQ9Transponder:
        handlers.OnQ9Transponder(event.number1, event.number2);
        break;
    case kEventBeacon:
        DeliverBeacon(event, handlers);
        break;
    case kEventLoopLevel:
        handlers.OnLoopLevel(small[EventSmall::kLoopLevel]);
        break;
    case kEventMindletTransponder:
        handlers.OnMindletTransponder(event.number1, event.number2, small[EventSmall::kLowBattery] != 0);
        break;
    case kEventDiagnostics:
        DeliverDiagnostics(event, handlers);
        break;
    case kEventTransmitResult:
        handlers.OnTransmitResult(event.code1);
        break;
    case kEventCanReceived:
        handlers.OnCanReceived(event.code1, event.number1, event.number3, small[EventSmall::kCanLength],
                               small + EventSmall::kCanData);
        break;
    case kEventFirmwareVersion:
        handlers.OnFirmwareVersion(true, small[EventSmall::kVersionMajor], small[EventSmall::kVersionMinor]);
        break;
    case kEventFirmwareUnknown:
        handlers.OnFirmwareVersion(false, 0, 0);
        break;
    case kEventListeningChanged:
        handlers.OnListeningChanged(event.code2);
        break;
    case kEventSpecialDevice:
        handlers.OnSpecialDevice(event.code2, event.number1, event.number2, small[EventSmall::kSpecialFlag],
                                 small[EventSmall::kSpecialKind], event.value);
        break;
    default:
        break; // not a kind the link makes
    }
}

#include "TamrixTesterHandlers.h"

// Every operation ignores its event unless a derived class overrides it.

void CTamrixTesterHandlers::OnTransponder(uint32_t, uint32_t, bool, unsigned) {}
void CTamrixTesterHandlers::OnQ9Transponder(uint32_t, uint32_t) {}
void CTamrixTesterHandlers::OnMindletTransponder(uint32_t, uint32_t, bool) {}
void CTamrixTesterHandlers::OnBeacon(uint32_t, uint32_t, double, int32_t) {}
void CTamrixTesterHandlers::OnDiagnostics(uint32_t, unsigned, double, uint32_t, uint32_t, double, unsigned,
                                          unsigned, unsigned)
{
}
void CTamrixTesterHandlers::OnTransmitResult(int32_t) {}
void CTamrixTesterHandlers::OnCanReceived(int32_t, uint32_t, uint32_t, unsigned, const uint8_t*) {}
void CTamrixTesterHandlers::OnListeningChanged(int32_t) {}
void CTamrixTesterHandlers::OnSpecialDevice(int32_t, uint32_t, uint32_t, unsigned, unsigned, double) {}
void CTamrixTesterHandlers::OnFirmwareVersion(bool, unsigned, unsigned) {}
void CTamrixTesterHandlers::OnBeaconDone() {}
void CTamrixTesterHandlers::OnDisconnected() {}
void CTamrixTesterHandlers::OnConnected() {}
void CTamrixTesterHandlers::OnLoopLevel(unsigned) {}

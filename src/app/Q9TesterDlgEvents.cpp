// The main dialog's answers to what the Tester reports: pages, transponder log
// rows, the status bar and the restart of a lost link.

#include "Q9TesterDlg.h"

#include "AboutPage.h"
#include "BeaconPage.h"
#include "EmulationPage.h"
#include "FixedFormat.h"
#include "LogRowEvent.h"
#include "LoggingTabCtrl.h"
#include "LoopPage.h"
#include "Q9TransponderPage.h"
#include "StatusBarCtrl.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TextCodec.h"
#include "TimeOfDay.h"
#include "TrackSensorPage.h"
#include "TransponderCodes.h"
#include "TransponderPage.h"
#include "TransponderTypeNames.h"

namespace {

// Zero means "none" in the log's number columns.
template <typename Number> std::string NumberOrEmpty(Number value)
{
    return value != 0 ? std::to_string(value) : std::string();
}

// The battery column of a transponder that reports only whether it is low.
std::string LowBatteryCell(bool lowBattery)
{
    return lowBattery ? "Low" : "";
}

} // namespace

bool CQ9TesterDlg::FindTranslation(uint32_t number, CTranslation& translation) const
{
    return m_translations->FindTranslation(number, translation);
}

CQ9TesterDlg::Identity CQ9TesterDlg::Identify(uint32_t number, const std::string& plainId) const
{
    Identity identity;
    CTranslation translation;
    if (!FindTranslation(number, translation)) {
        identity.idText = plainId;
        return identity;
    }
    identity.known = true;
    identity.shortId = translation.shortId;
    identity.label = translation.label;
    identity.idText = translation.shortId != 0 ? std::to_string(translation.shortId) : plainId;
    return identity;
}

void CQ9TesterDlg::AddTransponderLogRow(const std::string& label, uint32_t number, uint32_t shortId,
                                        uint32_t typeIndex, const std::string& battery,
                                        const std::string& idText, int32_t driverNumber)
{
    if (!m_deafList.Hear(number, typeIndex, driverNumber))
        return;
    auto row = std::make_unique<LogRow>();
    row->cells = {label,
                  idText.empty() ? std::to_string(number) : idText,
                  NumberOrEmpty(shortId),
                  TransponderTypeName(typeIndex),
                  battery,
                  NumberOrEmpty(driverNumber),
                  FormatTimeOfDay()};
    PostLogRow(m_logTab, WM_LOG_TRANSPONDER_ROW, std::move(row));
}

void CQ9TesterDlg::OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber)
{
    Identity identity = Identify(number, std::to_string(number));
    if (driverNumber != 0)
        identity.idText += " (" + std::to_string(driverNumber) + ")";
    m_transponderPage->ShowTransponder(identity.idText, rssi, kTypeKorvo, lowBattery);
    AddTransponderLogRow(identity.label, number, identity.shortId, kTypeKorvo, LowBatteryCell(lowBattery), "",
                         static_cast<int32_t>(driverNumber));
}

void CQ9TesterDlg::OnQ9Transponder(uint32_t number, uint32_t rssi)
{
    const Identity identity = Identify(number, std::to_string(number));
    m_transponderPage->ShowTransponder(identity.idText, rssi, kTypeQ9, false);
    m_q9TransponderPage->ShowTransponder(number, identity.idText, rssi);
    AddTransponderLogRow(identity.label, number, identity.shortId, kTypeQ9, LowBatteryCell(false), "");
}

void CQ9TesterDlg::OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery)
{
    const std::string code = FormatTransponderCode(number);
    const Identity identity = Identify(number, code);
    m_transponderPage->ShowTransponder(identity.idText, rssi, kTypeMindlet, lowBattery);
    // The log names a Mindlet by its printed code, also when it has a short id.
    AddTransponderLogRow(identity.label, number, identity.shortId, kTypeMindlet, LowBatteryCell(lowBattery),
                         code);
}

void CQ9TesterDlg::OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature)
{
    m_beaconPage->ShowBeacon(number, rssi, batteryVolts, temperature);
    // The log keeps the voltage even where the page finds it implausible.
    AddTransponderLogRow("", number, 0, kTypeBeacon, ToWindows1252(FormatFixed(batteryVolts, 1)), "", 0);
}

void CQ9TesterDlg::OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts,
                                 uint32_t batteryPercent, uint32_t remainingMinutes, double externalVolts,
                                 unsigned temperature, unsigned firmwareMajor, unsigned firmwareMinor)
{
    m_q9TransponderPage->ShowDiagnostics({.number = number,
                                          .noiseRaw = static_cast<int32_t>(noise),
                                          .batteryVolts = batteryVolts,
                                          .batteryPercent = batteryPercent,
                                          .remainingMinutes = remainingMinutes,
                                          .externalVolts = externalVolts,
                                          .temperatureC = static_cast<int32_t>(temperature),
                                          .firmwareMajor = firmwareMajor,
                                          .firmwareMinor = firmwareMinor});
}

void CQ9TesterDlg::OnLoopLevel(unsigned level)
{
    m_loopPage->SetLevel(level);
}

void CQ9TesterDlg::OnTransmitResult(int32_t result)
{
    m_emulationPage->OnTransmitResult(result);
}

void CQ9TesterDlg::OnCanReceived(int32_t, uint32_t twoWayId, uint32_t canId, unsigned length,
                                 const uint8_t* data)
{
    const Identity identity = Identify(twoWayId, std::to_string(twoWayId));
    // Shown also when it is 0: the server knows the device.
    const std::string shortIdText = identity.known ? std::to_string(identity.shortId) : std::string();
    m_emulationPage->AddCanLogRow("Received", identity.label, identity.idText, shortIdText, canId,
                                  static_cast<int32_t>(length), data);
}

void CQ9TesterDlg::OnListeningChanged(int32_t state)
{
    m_trackSensorPage->SetListening(state == kListeningStarted);
}

void CQ9TesterDlg::OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag, unsigned kind,
                                   double value)
{
    if (what == kSpecialNothingHeard) {
        if (m_trackSensorPage->IsListening())
            m_trackSensorPage->StepProgress();
        return;
    }
    if (what != kSpecialReading || flag != kSpecialFlagShow)
        return;
    const std::string code = FormatSpecialCode(number);
    if (kind == kSpecialTemperature)
        m_trackSensorPage->ShowTrackSensor(code, rssi, value);
    AddTransponderLogRow("", number, 0, kTypeTrackSensor, LowBatteryCell(false), code);
}

void CQ9TesterDlg::OnFirmwareVersion(bool known, unsigned major, unsigned minor)
{
    m_aboutPage->SetFirmwareVersion(known, static_cast<int>(major), static_cast<int>(minor));
}

void CQ9TesterDlg::OnDisconnected()
{
    m_emulationPage->SetTesterConnected(false);
    m_trackSensorPage->SetTesterConnected(false);
    // A Tester that is there but cannot be opened says why, so the
    // technician is not left guessing.
    const std::string failure = m_link->SearchFailure();
    QString text = QStringLiteral("Tester: Not connected");
    if (!failure.empty())
        text += QStringLiteral(" (%1)").arg(QString::fromStdString(failure));
    m_statusBar->SetText(0, text);
    // Nothing else retries: a new search starts with the restart.
    m_link->Stop();
    m_link->Start();
}

void CQ9TesterDlg::OnConnected()
{
    m_emulationPage->SetTesterConnected(true);
    m_trackSensorPage->SetTesterConnected(true);
    m_statusBar->SetText(0, QStringLiteral("Tester: Connected"));
    showNormal();
    raise();
    activateWindow();
}

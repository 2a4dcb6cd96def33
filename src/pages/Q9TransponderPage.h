#pragma once

#include <cstdint>
#include <string>

#include "GraphPage.h"
#include "TemperatureField.h"
#include "TesterRecords.h"

class CTesterLink;
class QLabel;
class QPushButton;

// The "Z9 Udu" tab: the Q9 transponder heard last and, on request, its
// diagnostics. Values outside their plausible ranges are left blank.
class CQ9TransponderPage : public CGraphPage {
    Q_OBJECT
  public:
    explicit CQ9TransponderPage(QWidget* parent = nullptr);

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    // The unit temperatures are shown in (true: degrees Celsius) and its
    // label; the last temperature is shown again in that unit.
    void SetCelsius(bool celsius) { m_temperature.SetCelsius(celsius); }

    // One reading of transponder `number`, shown as `idText` (Windows-1252;
    // its short id where the server knows one). Another transponder than the
    // one shown clears the diagnostics.
    void ShowTransponder(uint32_t number, const std::string& idText, uint32_t rssi);
    void ShowDiagnostics(const diagnostics_t& reply);
    void ClearDiagnostics();

    // "Request": marks the moment in the graph, blanks the diagnostics and
    // asks the Tester for new ones.
    void OnRequest();
    // Plots the latest RSSI; greys out the identity after six silent ticks
    // and blanks the page after 150 without any news.
    void OnTimer() override;

  protected:
    int GraphTop() const override;

  private:
    void SetIdentityEnabled(bool enabled);

    QLabel* m_idField = nullptr;
    QLabel* m_rssiField = nullptr;
    QPushButton* m_requestButton = nullptr;
    QLabel* m_versionField = nullptr;
    QLabel* m_batteryVoltageField = nullptr;
    QLabel* m_externalVoltageField = nullptr;
    QLabel* m_batteryPercentField = nullptr;
    QLabel* m_batteryTimeField = nullptr;
    QLabel* m_noiseField = nullptr;
    CTemperatureField m_temperature;
    CTesterLink* m_link = nullptr;
    int32_t m_idleTicks = 0;
    int32_t m_activityTicks = 0;
    // The transponder the ID field shows, by number: a reading may show its
    // short id where the diagnostics reply shows its number.
    uint32_t m_shownNumber = 0;
};

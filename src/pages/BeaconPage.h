#pragma once

#include <cstdint>

#include "GraphPage.h"
#include "TemperatureField.h"

class QLabel;

// The "Beacon" tab: the beacon heard last, with its signal strength plotted.
// Fields blank once readings stop.
class CBeaconPage : public CGraphPage {
    Q_OBJECT
  public:
    explicit CBeaconPage(QWidget* parent = nullptr);

    // The unit temperatures are shown in (true: degrees Celsius) and its
    // label; the value stays empty until the next beacon.
    void SetCelsius(bool celsius);

    void ShowBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperatureC);

    // Plots the latest RSSI, blanks the fields on the fourth silent tick.
    void OnTimer() override;

  protected:
    int GraphTop() const override;

  private:
    void ClearFields();

    QLabel* m_numberField = nullptr;
    QLabel* m_rssiField = nullptr;
    QLabel* m_batteryVoltageField = nullptr;
    CTemperatureField m_temperature;
};

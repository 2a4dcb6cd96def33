#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QWidget>
#include <cstdint>

class CSimpleGraph;
class QLabel;
struct AppSettings;

// The "Beacon" tab: the beacon heard last, with its signal strength plotted.
// Fields blank once readings stop.
class CBeaconPage : public QWidget {
    Q_OBJECT
  public:
    explicit CBeaconPage(QWidget* parent = nullptr);

    // Also shows the temperature label for the unit chosen there.
    void SetSettings(AppSettings* settings);
    // Relabels the temperature; the value stays empty until the next beacon.
    void ApplyTemperatureUnit();

    void ShowBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperatureC);

    // Every 150 ms: plots the latest RSSI, blanks the fields on the fourth
    // silent tick.
    void OnTimer();

    CSimpleGraph* Graph() const { return graph; }

  protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ClearFields();
    bool IsCelsius() const;

    QLabel* numberField = nullptr;
    QLabel* rssiField = nullptr;
    QLabel* batteryVoltageField = nullptr;
    QLabel* temperatureField = nullptr;
    QFont valueFont;
    int32_t staleTicks = 0;
    uint32_t latestValue = 0;
    CSimpleGraph* graph = nullptr;
    AppSettings* m_settings = nullptr;
    QLabel* temperatureLabel = nullptr;
    QBasicTimer timer;
};

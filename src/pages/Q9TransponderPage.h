#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <limits>
#include <string>

class CSimpleGraph;
class CTesterLink;
class QLabel;
class QPushButton;
struct AppSettings;

// The "Z9 Udu" tab: the Q9 transponder heard last and, on request, its
// diagnostics. Values outside their plausible ranges are left blank.
class CQ9TransponderPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int32_t kNoTemperature = std::numeric_limits<int32_t>::max();

    explicit CQ9TransponderPage(QWidget* parent = nullptr);

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    // Also shows the temperature label for the unit chosen there.
    void SetSettings(AppSettings* settings);
    // Relabels the temperature and shows the last one again in the current unit.
    void ApplyTemperatureUnit();

    // One reading of transponder `number`, shown as `idText` (Windows-1252;
    // its short id where the server knows one). Another transponder than the
    // one shown clears the diagnostics.
    void ShowTransponder(uint32_t number, const std::string& idText, uint32_t rssi);
    // The diagnostics reply, already in volts, percent, minutes and degrees
    // Celsius; `noiseRaw` is the raw noise byte.
    void ShowDiagnostics(uint32_t number, int32_t noiseRaw, uint32_t batteryPercent, uint32_t batteryMinutes,
                         int32_t temperatureC, uint32_t versionMajor, uint32_t versionMinor,
                         double batteryVolts, double externalVolts);
    void ClearDiagnostics();

    // "Request": marks the moment in the graph, blanks the diagnostics and
    // asks the Tester for new ones.
    void OnRequest();
    // Every 150 ms: plots the latest RSSI; greys out the identity after six
    // silent ticks and blanks the page after 150 without any news.
    void OnTimer();

    CSimpleGraph* Graph() const { return graph; }

  protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowTemperature();
    void SetIdentityEnabled(bool enabled);
    bool IsCelsius() const;

    QLabel* idField = nullptr;
    QLabel* versionField = nullptr;
    QLabel* temperatureField = nullptr;
    QLabel* noiseField = nullptr;
    QLabel* externalVoltageField = nullptr;
    QLabel* batteryVoltageField = nullptr;
    QLabel* batteryTimeField = nullptr;
    QLabel* batteryPercentField = nullptr;
    QPushButton* requestButton = nullptr;
    QLabel* rssiField = nullptr;
    CSimpleGraph* graph = nullptr;
    QFont valueFont;
    CTesterLink* m_link = nullptr;
    AppSettings* m_settings = nullptr;
    int32_t idleTicks = 0;
    int32_t activityTicks = 0;
    uint32_t latestValue = 0;
    int32_t temperature = kNoTemperature;
    QLabel* temperatureLabel = nullptr;
    // The transponder the ID field shows, by number: a reading may show its
    // short id where the diagnostics reply shows its number.
    uint32_t m_shownNumber = 0;
    QBasicTimer timer;
};

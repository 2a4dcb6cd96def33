#pragma once

#include <QFont>
#include <QWidget>
#include <cstdint>
#include <string>

class CTesterLink;
class QLabel;
class QProgressBar;
class QPushButton;
struct AppSettings;

// The "Tracksensor" tab. Track sensors are heard only while the Tester is in
// its listening mode, which the page's button switches on and off; the Tester
// confirms each switch before the button can be used again.
class CTrackSensorPage : public QWidget {
    Q_OBJECT
  public:
    // Shown on the note field, lines separated as the Tester's other texts.
    static const char* const kNoteText;

    explicit CTrackSensorPage(QWidget* parent = nullptr);
    // Takes the Tester out of listening mode if it is still in it.
    ~CTrackSensorPage() override;

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    // Also shows the temperature label for the unit chosen there.
    void SetSettings(AppSettings* settings);
    // Relabels the temperature and shows the last one again in the current unit.
    void ApplyTemperatureUnit();
    bool IsListening() const { return listening; }

    void SetTesterConnected(bool connected);
    // The Tester confirmed that listening mode started (true) or stopped.
    void SetListening(bool listening);
    // One poll that found no sensor.
    void StepProgress();
    // A sensor heard; `codeText` is Windows-1252.
    void ShowTrackSensor(const std::string& codeText, uint32_t rssi, double temperatureC);

    // "Start listening" / "Stop listening".
    void OnStartStop();

  private:
    void ClearFields();
    void ShowButtonText();
    void ResetBarColour();
    void ShowTemperature();
    bool IsCelsius() const;

    QLabel* idField = nullptr;
    QLabel* temperatureLabel = nullptr;
    QLabel* temperatureField = nullptr;
    QPushButton* startStopButton = nullptr;
    QLabel* rssiField = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* noteField = nullptr;
    QFont valueFont;
    CTesterLink* m_link = nullptr;
    AppSettings* m_settings = nullptr;
    // Outside the shown range while no sensor is shown.
    static constexpr double kNoTemperature = 4294967295.0;
    double temperature = kNoTemperature;
    bool listening = false;
};

#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "TemperatureField.h"

class CTesterLink;
class QLabel;
class QProgressBar;
class QPushButton;

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
    // The unit temperatures are shown in (true: degrees Celsius) and its
    // label; the last temperature is shown again in that unit.
    void SetCelsius(bool celsius) { m_temperature.SetCelsius(celsius); }
    bool IsListening() const { return m_listening; }

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

    QLabel* m_idField = nullptr;
    QLabel* m_rssiField = nullptr;
    CTemperatureField m_temperature;
    QPushButton* m_startStopButton = nullptr;
    QProgressBar* m_progressBar = nullptr;
    CTesterLink* m_link = nullptr;
    bool m_listening = false;
};

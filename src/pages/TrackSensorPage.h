#pragma once

#include <QWidget>

class CTesterLink;
struct AppSettings;

class CTrackSensorPage : public QWidget {
    Q_OBJECT
public:
    explicit CTrackSensorPage(QWidget* parent = nullptr);

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    void SetSettings(AppSettings* settings) { m_settings = settings; }
    void ApplyTemperatureUnit() {}
    bool IsListening() const { return false; }

private:
    CTesterLink* m_link = nullptr;
    AppSettings* m_settings = nullptr;
};

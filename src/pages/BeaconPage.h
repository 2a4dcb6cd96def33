#pragma once

#include <QWidget>

struct AppSettings;

class CBeaconPage : public QWidget {
    Q_OBJECT
public:
    explicit CBeaconPage(QWidget* parent = nullptr);

    void SetSettings(AppSettings* settings) { m_settings = settings; }
    void ApplyTemperatureUnit() {}

private:
    AppSettings* m_settings = nullptr;
};

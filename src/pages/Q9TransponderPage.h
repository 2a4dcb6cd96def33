#pragma once

#include <QWidget>

class CTesterLink;
struct AppSettings;

class CQ9TransponderPage : public QWidget {
    Q_OBJECT
public:
    explicit CQ9TransponderPage(QWidget* parent = nullptr);

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    void SetSettings(AppSettings* settings) { m_settings = settings; }
    void ApplyTemperatureUnit() {}

private:
    CTesterLink* m_link = nullptr;
    AppSettings* m_settings = nullptr;
};

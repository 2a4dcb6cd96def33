#include "BeaconPage.h"

#include <QLabel>
#include <QResizeEvent>
#include <QTimerEvent>

#include "AppSettings.h"
#include "FixedFormat.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"
#include "TemperatureDisplay.h"
#include "ValueFont.h"

namespace {
constexpr int kTickMs = 150;
// A reading stays for this many ticks and is blanked on the next.
constexpr int32_t kTicksShown = 3;
constexpr double kMaxBatteryVolts = 5.0;
} // namespace

CBeaconPage::CBeaconPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    builder.Caption(tr("Beacon:"), 7, 7, 72);
    builder.Caption(tr("RSSI:"), 91, 7, 72);
    builder.Caption(tr("Battery voltage:"), 175, 7, 72);
    temperatureLabel = builder.Caption(TemperatureLabel(true), 259, 7, 80);
    numberField = builder.SunkenField(7, 16, 72, 18);
    rssiField = builder.SunkenField(91, 16, 72, 18);
    batteryVoltageField = builder.SunkenField(175, 16, 72, 18);
    temperatureField = builder.SunkenField(259, 16, 72, 18);

    numberField->setObjectName(QStringLiteral("number"));
    rssiField->setObjectName(QStringLiteral("rssi"));
    batteryVoltageField->setObjectName(QStringLiteral("batteryVoltage"));
    temperatureField->setObjectName(QStringLiteral("temperature"));
    temperatureLabel->setObjectName(QStringLiteral("temperatureLabel"));

    valueFont = CreateValueFont();
    for (QLabel* field : {numberField, rssiField, batteryVoltageField, temperatureField})
        field->setFont(valueFont);
    ClearFields();
    timer.start(kTickMs, this);

    graph = new CSimpleGraph(this);
    graph->backgroundColour = QColor(92, 92, 92);
    graph->gapMode = true;
    graph->setGeometry(150, 25, 275, 175);
    graph->fullScale = 255;
    graph->show();

    ApplyTemperatureUnit();
}

void CBeaconPage::SetSettings(AppSettings* settings)
{
    m_settings = settings;
    ApplyTemperatureUnit();
}

void CBeaconPage::ApplyTemperatureUnit()
{
    // The page keeps no temperature: the next beacon shows it in the new unit.
    temperatureField->clear();
    temperatureLabel->setText(TemperatureLabel(IsCelsius()));
}

void CBeaconPage::ShowBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperatureC)
{
    staleTicks = 0;
    latestValue = rssi;
    numberField->setText(QString::number(number));
    rssiField->setText(QString::number(rssi));
    const bool batteryPlausible = batteryVolts >= 0.0 && batteryVolts <= kMaxBatteryVolts;
    batteryVoltageField->setText(batteryPlausible ? FormatFixed(batteryVolts, 1) : QString());
    temperatureField->setText(FormatTemperature(temperatureC, IsCelsius(), 0));
}

void CBeaconPage::OnTimer()
{
    graph->AddValue(latestValue);
    latestValue = 0;
    graph->update();
    if (staleTicks < kTicksShown)
        ++staleTicks;
    else
        ClearFields();
}

void CBeaconPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CBeaconPage::resizeEvent(QResizeEvent* event)
{
    if (!graph)
        return;
    // The graph fills the page below the value row.
    graph->setGeometry(GraphRectBelow(numberField->geometry().bottom() + 1, event->size()));
}

void CBeaconPage::ClearFields()
{
    for (QLabel* field : {numberField, rssiField, batteryVoltageField, temperatureField})
        field->clear();
}

bool CBeaconPage::IsCelsius() const
{
    return !m_settings || m_settings->IsCelsius();
}

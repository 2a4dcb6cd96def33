#include "BeaconPage.h"

#include <QLabel>

#include "FixedFormat.h"
#include "PageBuilder.h"

namespace {
constexpr double kMaxBatteryVolts = 5.0;
} // namespace

CBeaconPage::CBeaconPage(QWidget* parent) : CGraphPage(true, parent)
{
    CPageBuilder builder(this);
    builder.Caption(tr("Beacon:"), 7, 7, 72);
    builder.Caption(tr("RSSI:"), 91, 7, 72);
    builder.Caption(tr("Battery voltage:"), 175, 7, 72);
    m_numberField = builder.ValueField("number", 7, 16, 72);
    m_rssiField = builder.ValueField("rssi", 91, 16, 72);
    m_batteryVoltageField = builder.ValueField("batteryVoltage", 175, 16, 72);
    m_temperature = builder.TemperatureField(259, 7, 80, 16, 0);
}

void CBeaconPage::SetCelsius(bool celsius)
{
    // The page keeps no temperature: the next beacon shows it in the new unit.
    m_temperature.Clear();
    m_temperature.SetCelsius(celsius);
}

void CBeaconPage::ShowBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperatureC)
{
    KeepReading(rssi);
    m_numberField->setText(QString::number(number));
    m_rssiField->setText(QString::number(rssi));
    const bool batteryPlausible = batteryVolts >= 0.0 && batteryVolts <= kMaxBatteryVolts;
    m_batteryVoltageField->setText(batteryPlausible ? FormatFixed(batteryVolts, 1) : QString());
    m_temperature.Show(temperatureC);
}

void CBeaconPage::OnTimer()
{
    if (PlotAndAge())
        ClearFields();
}

int CBeaconPage::GraphTop() const
{
    return m_numberField->geometry().bottom() + 1;
}

void CBeaconPage::ClearFields()
{
    for (QLabel* field : {m_numberField, m_rssiField, m_batteryVoltageField})
        field->clear();
    m_temperature.Clear();
}

#include "TemperatureField.h"

#include <QLabel>

#include "TemperatureDisplay.h"

CTemperatureField::CTemperatureField(QLabel* caption, QLabel* field, int decimals)
    : m_caption(caption), m_field(field), m_decimals(decimals)
{
    SetCelsius(true);
}

void CTemperatureField::SetCelsius(bool celsius)
{
    m_celsius = celsius;
    m_caption->setText(TemperatureLabel(celsius));
    ShowKept();
}

void CTemperatureField::Show(std::optional<double> temperatureC)
{
    m_temperatureC = temperatureC;
    ShowKept();
}

void CTemperatureField::ShowKept()
{
    m_field->setText(m_temperatureC ? FormatTemperature(*m_temperatureC, m_celsius, m_decimals) : QString());
}

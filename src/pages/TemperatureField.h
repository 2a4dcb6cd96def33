#pragma once

#include <optional>

class QLabel;

// A temperature caption and value field that follow the unit setting. The
// field keeps the temperature it shows, so a change of unit can show it again;
// without one (std::nullopt) the field is empty.
class CTemperatureField {
  public:
    CTemperatureField() = default;
    // Labels `caption` for degrees Celsius; `decimals` as FormatTemperature.
    CTemperatureField(QLabel* caption, QLabel* field, int decimals);

    // Relabels the caption and shows the kept temperature in the new unit.
    void SetCelsius(bool celsius);
    void Show(std::optional<double> temperatureC);
    void Clear() { Show(std::nullopt); }

  private:
    void ShowKept();

    QLabel* m_caption = nullptr;
    QLabel* m_field = nullptr;
    int m_decimals = 0;
    bool m_celsius = true;
    std::optional<double> m_temperatureC;
};

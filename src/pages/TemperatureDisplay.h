#pragma once

#include <QString>

// The one rule by which every page shows a temperature. Temperatures always
// arrive in degrees Celsius; the unit setting only changes how they are shown.

// "Temperature (°C):" or "Temperature (°F):".
QString TemperatureLabel(bool celsius);

// The text of a temperature field: empty outside -20 to 100 degrees Celsius
// (both included), otherwise the value in the chosen unit with `decimals`
// decimals (0 for whole degrees, 1 for the track sensor).
QString FormatTemperature(double temperatureC, bool celsius, int decimals);

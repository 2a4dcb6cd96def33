#include "ValueFont.h"

#include <QFontMetricsF>
#include <cmath>

namespace {
constexpr double kCellHeight = 25.0;
constexpr int kProbePixelSize = 100;
} // namespace

QFont CreateValueFont()
{
    QFont font(QStringLiteral("Calibri"));
    font.setBold(true);
    // The height asked for is the character cell, not the em size that Qt's
    // pixel size means: measure the cell at a large size and scale it down.
    font.setPixelSize(kProbePixelSize);
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0.0)
        font.setPixelSize(static_cast<int>(std::lround(kCellHeight * kProbePixelSize / cell)));
    else
        font.setPixelSize(static_cast<int>(kCellHeight));
    return font;
}

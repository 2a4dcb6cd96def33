#include "DialogUnits.h"

#include <QFontMetricsF>
#include <cmath>

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetricsF metrics(font);
    // The average width of the 52 Latin letters, as the original toolkit
    // measures its dialog base unit.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = metrics.horizontalAdvance(letters) / letters.size();
    m_baseY = metrics.height();
}

QFont CDialogUnits::DialogFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    return font;
}

int CDialogUnits::X(int units) const
{
    return static_cast<int>(std::lround(units * m_baseX / 4.0));
}

int CDialogUnits::Y(int units) const
{
    return static_cast<int>(std::lround(units * m_baseY / 8.0));
}

QSize CDialogUnits::Size(int width, int height) const
{
    return {X(width), Y(height)};
}

QRect CDialogUnits::Rect(int x, int y, int width, int height) const
{
    // Both edges are converted, so adjacent controls stay adjacent.
    const int left = X(x);
    const int top = Y(y);
    return {left, top, X(x + width) - left, Y(y + height) - top};
}

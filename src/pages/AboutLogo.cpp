#include "AboutLogo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kWidth = 251;
constexpr int kHeight = 68;

// A chequered finish flag at the left of the logo.
void DrawFlag(QPainter& painter, const QRect& area)
{
    constexpr int kSquares = 4;
    const int side = area.height() / kSquares;
    for (int row = 0; row < kSquares; ++row)
        for (int column = 0; column < kSquares; ++column)
            painter.fillRect(area.left() + column * side, area.top() + row * side, side, side,
                             (row + column) % 2 == 0 ? Qt::white : QColor(20, 20, 20));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(area.left(), area.top(), kSquares * side - 1, kSquares * side - 1);
}
} // namespace

QPixmap DrawAboutLogo()
{
    QPixmap pixmap(kWidth, kHeight);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient background(0, 0, 0, kHeight);
    background.setColorAt(0.0, QColor(24, 60, 130));
    background.setColorAt(1.0, QColor(8, 24, 64));
    painter.fillRect(pixmap.rect(), background);

    DrawFlag(painter, QRect(10, 10, 48, 48));

    // A sweep under the name, as a track bend.
    QPainterPath sweep;
    sweep.moveTo(70, 56);
    sweep.cubicTo(120, 44, 190, 62, 241, 48);
    painter.setPen(QPen(QColor(255, 196, 0), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(sweep);

    QFont font(QStringLiteral("Calibri"));
    font.setBold(true);
    font.setPixelSize(34);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(68, 4, kWidth - 72, 44), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("TAMRIX"));
    return pixmap;
}

#include "AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

const QColor kTamrixBlue(0, 84, 166);
const QColor kSignalOrange(255, 140, 0);

// A transparent square picture of `size` pixels drawn by `draw` on a 16 x 16
// grid, so each picture is written once and scales to every icon size.
QPixmap Picture(int size, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

QIcon IconOf(const std::function<void(QPainter&)>& draw, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(Picture(size, draw));
    return icon;
}

// A stopwatch with "Q9" on its face.
void DrawDialogIcon(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kTamrixBlue);
    p.drawRect(QRectF(6.5, 0.5, 3, 2));
    p.drawEllipse(QRectF(1, 2, 14, 14));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(2.5, 3.5, 11, 11));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(6);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kTamrixBlue);
    p.drawText(QRectF(2.5, 3.5, 11, 11), Qt::AlignCenter, QStringLiteral("Q9"));
}

// A transponder housing with its antenna coil.
void DrawQ9UduIcon(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(2.5, 4.5, 11, 7), 2, 2);
    p.setPen(QPen(kSignalOrange, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(4.5, 6, 7, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 0));
    p.drawEllipse(QRectF(11.5, 5.5, 1.5, 1.5));
}

// A mast sending waves both ways.
void DrawBeaconIcon(QPainter& p)
{
    p.setPen(QPen(kTamrixBlue, 1.5));
    p.drawLine(QPointF(8, 6), QPointF(8, 15));
    p.drawLine(QPointF(5, 15), QPointF(11, 15));
    p.setBrush(kSignalOrange);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(8, 5), 1.8, 1.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSignalOrange, 1.2));
    for (double r : {3.5, 6.0}) {
        const QRectF arc(8 - r, 5 - r, 2 * r, 2 * r);
        p.drawArc(arc, -40 * 16, 80 * 16);
        p.drawArc(arc, 140 * 16, 80 * 16);
    }
}

// A timing loop cut into the track, with its feeder cable.
void DrawLoopIcon(QPainter& p)
{
    p.setBrush(QColor(120, 120, 120));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(0, 5, 16, 7));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kSignalOrange, 1.4));
    p.drawRect(QRectF(2, 6.5, 12, 4));
    p.setPen(QPen(Qt::black, 1.4));
    p.drawLine(QPointF(8, 10.5), QPointF(8, 15));
}

} // namespace

QIcon DialogIcon()
{
    return IconOf(DrawDialogIcon, {16, 32, 48});
}

QIcon Q9UduTabIcon()
{
    return IconOf(DrawQ9UduIcon, {16});
}

QIcon BeaconTabIcon()
{
    return IconOf(DrawBeaconIcon, {16});
}

QIcon LoopTabIcon()
{
    return IconOf(DrawLoopIcon, {16});
}

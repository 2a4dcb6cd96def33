#include "BoldTabBar.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWheelEvent>
#include <algorithm>

CBoldTabBar::CBoldTabBar(QWidget* parent) : QTabBar(parent)
{
    setDrawBase(false);
}

bool CBoldTabBar::MayChangeTo(int index) const
{
    return index == currentIndex() || !m_guard || m_guard(index);
}

QFont CBoldTabBar::BoldFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QSize CBoldTabBar::tabSizeHint(int index) const
{
    // Room for the bold label, so the active tab's text is never cut.
    QSize size = QTabBar::tabSizeHint(index);
    const QString text = tabText(index);
    const int extra =
        QFontMetrics(BoldFont()).horizontalAdvance(text) - fontMetrics().horizontalAdvance(text);
    size.rwidth() += std::max(0, extra);
    return size;
}

void CBoldTabBar::DrawTab(QStylePainter& painter, int index)
{
    QStyleOptionTab option;
    initStyleOption(&option, index);
    painter.setFont(index == currentIndex() ? BoldFont() : font());
    painter.drawControl(QStyle::CE_TabBarTab, option);
}

void CBoldTabBar::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    const int current = currentIndex();
    for (int i = 0; i < count(); ++i)
        if (i != current)
            DrawTab(painter, i);
    // The active tab last: its shape overlaps its neighbours.
    if (current >= 0)
        DrawTab(painter, current);
}

void CBoldTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && !MayChangeTo(index)) {
            event->accept();
            return;
        }
    }
    QTabBar::mousePressEvent(event);
}

int CBoldTabBar::KeyTarget(int key) const
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        return currentIndex() - 1;
    case Qt::Key_Right:
    case Qt::Key_Down:
        return currentIndex() + 1;
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return count() - 1;
    default:
        return -1;
    }
}

void CBoldTabBar::keyPressEvent(QKeyEvent* event)
{
    const int target = KeyTarget(event->key());
    if (target >= 0 && target < count() && !MayChangeTo(target)) {
        event->accept();
        return;
    }
    QTabBar::keyPressEvent(event);
}

void CBoldTabBar::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    const int target = currentIndex() + (delta > 0 ? -1 : 1);
    if (delta != 0 && target >= 0 && target < count() && !MayChangeTo(target)) {
        event->accept();
        return;
    }
    QTabBar::wheelEvent(event);
}

#include "MainTabCtrl.h"

#include <QKeyEvent>

CMainTabCtrl::CMainTabCtrl(CBoldTabBar::ChangeGuard guard, QWidget* parent)
    : QTabWidget(parent), m_bar(new CBoldTabBar(this))
{
    m_bar->SetChangeGuard(std::move(guard));
    setTabBar(m_bar);
}

void CMainTabCtrl::keyPressEvent(QKeyEvent* event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool next = event->key() == Qt::Key_Tab || event->key() == Qt::Key_PageDown;
    const bool previous = event->key() == Qt::Key_Backtab || event->key() == Qt::Key_PageUp;
    if (control && count() > 1 && (next || previous)) {
        const int target = (currentIndex() + (next ? 1 : count() - 1)) % count();
        if (!m_bar->MayChangeTo(target)) {
            event->accept();
            return;
        }
    }
    QTabWidget::keyPressEvent(event);
}

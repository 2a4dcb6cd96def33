#include "MainTabCtrl.h"

#include <QKeyEvent>
#include <QStackedWidget>

CMainTabCtrl::CMainTabCtrl(CBoldTabBar::ChangeGuard guard, QWidget* parent)
    : QTabWidget(parent), m_bar(new CBoldTabBar(this)),
      // QTabWidget keeps its pages in its one stacked widget.
      m_pages(findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly)), m_guard(std::move(guard))
{
    // The bar asks before it moves for the user's own clicks, keys and wheel,
    // so the tab does not move under the refusal's box.
    m_bar->SetChangeGuard(m_guard);
    setTabBar(m_bar);
    // Everything else (a screen reader's press, a call) moves the bar
    // without asking, and QTabWidget would show that tab's page at once:
    // its link from bar to page is replaced by one through the guard.
    disconnect(m_bar, SIGNAL(currentChanged(int)), this, nullptr);
    connect(m_bar, &QTabBar::currentChanged, this, &CMainTabCtrl::OnBarChanged);
}

void CMainTabCtrl::OnBarChanged(int index)
{
    const int shown = m_pages->currentIndex();
    if (index == shown)
        return; // the first tab added, or a refused change undone
    if (m_guard && !m_guard(index)) {
        m_bar->setCurrentIndex(shown);
        return;
    }
    m_pages->setCurrentIndex(index);
    emit currentChanged(index);
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

#pragma once

#include <QTabWidget>

#include "BoldTabBar.h"

class QStackedWidget;

// The main dialog's tab control. Every change of tab goes through `guard`
// before its page is shown, however it comes: a click, a key, the wheel,
// Ctrl+Tab, a screen reader pressing a tab, or a call to setCurrentIndex of
// this control or of its tab bar. A refused change leaves tab and page as
// they were.
class CMainTabCtrl : public QTabWidget {
    Q_OBJECT
  public:
    explicit CMainTabCtrl(CBoldTabBar::ChangeGuard guard, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OnBarChanged(int index);

    CBoldTabBar* m_bar;
    QStackedWidget* m_pages;
    CBoldTabBar::ChangeGuard m_guard;
};

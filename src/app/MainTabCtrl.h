#pragma once

#include <QTabWidget>

#include "BoldTabBar.h"

// The main dialog's tab control. Every change of tab the user asks for, by
// tab bar or by Ctrl+Tab, goes through `guard` first.
class CMainTabCtrl : public QTabWidget {
    Q_OBJECT
  public:
    explicit CMainTabCtrl(CBoldTabBar::ChangeGuard guard, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CBoldTabBar* m_bar;
};

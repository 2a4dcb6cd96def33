#pragma once

#include <QWidget>

class CLoggingListCtrl;

// What both log pages share: one log list that fills the page, and Enter
// closing nothing (it would otherwise reach the main dialog). Escape is
// Cancel here as everywhere in the main dialog.
class CLogPage : public QWidget {
    Q_OBJECT
  public:
    explicit CLogPage(QWidget* parent = nullptr);

    CLoggingListCtrl* List() const { return m_list; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CLoggingListCtrl* m_list;
};

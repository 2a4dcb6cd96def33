#pragma once

#include <QLabel>
#include <QStatusBar>
#include <array>

// The main dialog's status bar: pane 0 the Tester's state, pane 1 the
// server's synchronisation state, each half of the bar.
class CStatusBarCtrl : public QStatusBar {
  public:
    static constexpr int kPanes = 2;

    explicit CStatusBarCtrl(QWidget* parent = nullptr) : QStatusBar(parent)
    {
        setSizeGripEnabled(false);
        for (QLabel*& pane : m_panes) {
            pane = new QLabel(this);
            addWidget(pane, 1);
        }
    }

    void SetText(int pane, const QString& text) { m_panes.at(static_cast<std::size_t>(pane))->setText(text); }
    QString GetText(int pane) const { return m_panes.at(static_cast<std::size_t>(pane))->text(); }

  private:
    std::array<QLabel*, kPanes> m_panes{};
};

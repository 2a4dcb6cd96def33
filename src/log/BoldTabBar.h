#pragma once

#include <QFont>
#include <QTabBar>
#include <functional>

class QStylePainter;

// A tab bar that shows the active tab's label in bold and, when given a
// guard, asks it before the user moves to another tab (by mouse, keys or
// wheel). The guard returns false to keep the current tab.
class CBoldTabBar : public QTabBar {
    Q_OBJECT
  public:
    using ChangeGuard = std::function<bool(int index)>;

    explicit CBoldTabBar(QWidget* parent = nullptr);

    void SetChangeGuard(ChangeGuard guard) { m_guard = std::move(guard); }
    // True when the guard lets the bar move to `index` (always without one).
    bool MayChangeTo(int index) const;

  protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    QFont BoldFont() const;
    void DrawTab(QStylePainter& painter, int index);
    int KeyTarget(int key) const;

    ChangeGuard m_guard;
};

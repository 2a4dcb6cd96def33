#pragma once

#include <QStyledItemDelegate>

// Draws a log list cell as the list always has: highlight or window
// background, the text in the row's own colour (also when selected), 2 pixels
// right of and below the cell's corner, one line, not cut at the cell's edge.
class CLogRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    static constexpr int kTextMargin = 2;
};

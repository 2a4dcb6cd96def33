#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "LogRowStore.h"

// The rows of a log list as a table, newest first: view row r is stored row
// n-1-r, so adding on top never moves stored rows. Added rows are held back
// until Publish, which announces all of them at once.
class CLogListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Titles are Windows-1252.
    void SetColumns(const std::vector<std::string>& titles);
    void Append(int colour, std::span<const std::string_view> cells);
    // Shows every appended row on top; the number of rows it showed. Every
    // row shown before moves down by that number.
    int Publish();
    bool HasPending() const { return m_store.Size() > m_shown; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const CLogRowStore& Store() const { return m_store; }

  private:
    CLogRowStore m_store;
    std::size_t m_shown = 0; // rows announced to the views
    std::vector<QString> m_titles;
};

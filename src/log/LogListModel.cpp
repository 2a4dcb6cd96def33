#include "LogListModel.h"

#include <QBrush>
#include <QColor>

#include "TextCodec.h"

namespace {

// Colour codes of rows: 0 black, 1 green, 2 orange, 3 red.
QColor RowColour(int code)
{
    switch (code) {
    case 1:
        return QColor(0, 160, 0);
    case 2:
        return QColor(255, 140, 0);
    case 3:
        return QColor(255, 0, 0);
    default:
        return QColor(0, 0, 0);
    }
}

} // namespace

void CLogListModel::SetColumns(const std::vector<std::string>& titles)
{
    beginResetModel();
    m_titles.clear();
    for (const std::string& title : titles)
        m_titles.push_back(FromWindows1252(title));
    endResetModel();
}

void CLogListModel::Append(int colour, std::span<const std::string_view> cells)
{
    m_store.Append(colour, cells);
}

int CLogListModel::Publish()
{
    if (!HasPending())
        return 0;
    // Announced as rows added at the bottom while every row's text moves
    // down: the view then keeps the positions of the rows it has. Inserting
    // at the top would make it recompute the position of every row, which
    // grows with the list.
    const int shown = static_cast<int>(m_shown);
    const int added = static_cast<int>(m_store.Size() - m_shown);
    beginInsertRows(QModelIndex(), shown, shown + added - 1);
    m_shown = m_store.Size();
    endInsertRows();
    if (shown > 0)
        emit dataChanged(index(0, 0), index(shown - 1, columnCount() - 1));
    return added;
}

int CLogListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown);
}

int CLogListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QVariant CLogListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_shown))
        return {};
    const std::size_t stored = m_shown - 1 - static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return FromWindows1252(std::string(m_store.Cell(stored, index.column())));
    case Qt::ForegroundRole:
        return QBrush(RowColour(m_store.Colour(stored)));
    default:
        return {};
    }
}

QVariant CLogListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_titles.size()))
        return {};
    if (role == Qt::DisplayRole)
        return m_titles[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

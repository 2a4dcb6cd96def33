#include "LoggingListCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <algorithm>
#include <array>
#include <vector>

#include "Log.h"
#include "LogLine.h"
#include "LogListModel.h"
#include "LogRowDelegate.h"

namespace {

const QEvent::Type kPublishRows = static_cast<QEvent::Type>(QEvent::User + 12);
const char kWriteFailedText[] = "Unable to log to file!!!";

int KnownColour(int colour)
{
    return colour >= CLoggingListCtrl::kBlack && colour <= CLoggingListCtrl::kRed ? colour
                                                                                  : CLoggingListCtrl::kBlack;
}

} // namespace

CLoggingListCtrl::CLoggingListCtrl(QWidget* parent) : QTableView(parent), m_model(new CLogListModel(this))
{
    setModel(m_model);
    setItemDelegate(new CLogRowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Every row has the same height, so the view never measures rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2 * CLogRowDelegate::kTextMargin);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

CLoggingListCtrl::~CLoggingListCtrl() = default; // the log closes its file

bool CLoggingListCtrl::OpenLog(const std::string& baseName, bool timeInName)
{
    if (baseName.empty())
        return false;
    auto log = std::make_unique<CLog>(baseName, timeInName);
    if (!log->Open(false))
        return false;
    log->SetTimePrefix(false);
    m_log = std::move(log);
    return true;
}

int CLoggingListCtrl::AddColumns(std::initializer_list<const char*> titles)
{
    std::vector<std::string> names(titles.begin(), titles.end());
    m_model->SetColumns(names);
    m_columnCount = static_cast<int>(names.size());
    std::vector<std::string_view> cells(names.begin(), names.end());
    m_line.clear();
    AppendLogLine(m_line, cells, m_separator);
    WriteLog(m_line);
    return m_columnCount;
}

void CLoggingListCtrl::SetColumnWidths(std::initializer_list<int> widths)
{
    int column = 0;
    for (int width : widths) {
        if (column >= m_columnCount)
            break;
        // Never narrower than the column's title, which would be cut.
        const int title = horizontalHeader()->sectionSizeHint(column);
        setColumnWidth(column, std::max<int>(static_cast<uint16_t>(width), title));
        ++column;
    }
}

int CLoggingListCtrl::AddRow(int colour, std::initializer_list<std::string_view> cells)
{
    return AddRow(colour, std::span<const std::string_view>(cells.begin(), cells.size()));
}

int CLoggingListCtrl::AddRow(int colour, std::span<const std::string_view> cells)
{
    if (m_columnCount == 0)
        return -1;
    // Exactly one cell per column, so the file line always has every column.
    std::array<std::string_view, CLogRowStore::kMaxCells> row{};
    const auto given = std::min<std::size_t>(cells.size(), static_cast<std::size_t>(m_columnCount));
    std::copy_n(cells.begin(), given, row.begin());
    const std::span<const std::string_view> columns(row.data(), static_cast<std::size_t>(m_columnCount));

    ShowRow(colour, columns);
    m_line.clear();
    AppendLogLine(m_line, columns, m_separator);
    WriteLog(m_line);
    return 0;
}

bool CLoggingListCtrl::WriteLog(std::string& line)
{
    if (!m_log || m_log->Write(line, false))
        return true;
    // Shown right after (above) the row that failed, never written itself.
    const std::string_view failed[] = {kWriteFailedText};
    ShowRow(kRed, failed);
    return false;
}

void CLoggingListCtrl::ShowRow(int colour, std::span<const std::string_view> cells)
{
    m_model->Append(KnownColour(colour), cells);
    SchedulePublish();
}

void CLoggingListCtrl::SchedulePublish()
{
    if (m_publishPosted)
        return;
    // Posted behind the rows already queued, so a burst is shown at once.
    m_publishPosted = true;
    QCoreApplication::postEvent(this, new QEvent(kPublishRows));
}

bool CLoggingListCtrl::event(QEvent* event)
{
    if (event->type() != kPublishRows)
        return QTableView::event(event);
    m_publishPosted = false;
    PublishRows();
    return true;
}

void CLoggingListCtrl::PublishRows()
{
    const QItemSelection selected = selectionModel()->selection();
    const QModelIndex current = currentIndex();
    const int added = m_model->Publish();
    if (added == 0)
        return;
    FollowMovedRows(selected, current, added);
    scrollToTop(); // the newest row is on top
}

void CLoggingListCtrl::FollowMovedRows(const QItemSelection& selected, const QModelIndex& current, int moved)
{
    // The selection stays on the rows the user chose, which moved down.
    QItemSelection shifted;
    for (const QItemSelectionRange& range : selected)
        shifted.select(m_model->index(range.top() + moved, range.left()),
                       m_model->index(range.bottom() + moved, range.right()));
    if (!selected.isEmpty())
        selectionModel()->select(shifted, QItemSelectionModel::ClearAndSelect);
    if (current.isValid())
        selectionModel()->setCurrentIndex(m_model->index(current.row() + moved, current.column()),
                                          QItemSelectionModel::NoUpdate);
}

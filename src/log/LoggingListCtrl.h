#pragma once

#include <QItemSelection>
#include <QTableView>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class CLog;
class CLogListModel;

// A list of log rows, newest on top, each row in its colour, mirrored line by
// line into a dated log file. It is never trimmed. Rows added in a burst are
// shown together: the view learns of them once per turn of the event loop.
class CLoggingListCtrl : public QTableView {
    Q_OBJECT
  public:
    // Row colours.
    enum { kBlack = 0, kGreen = 1, kOrange = 2, kRed = 3 };

    explicit CLoggingListCtrl(QWidget* parent = nullptr);
    ~CLoggingListCtrl() override;

    // Opens Log/<baseName>_<stamp>.log without banners or time prefix. False
    // (and no file) when the name is empty or the file cannot be opened.
    bool OpenLog(const std::string& baseName, bool timeInName);
    // Defines the columns (Windows-1252 titles) and writes the title line.
    int AddColumns(std::initializer_list<const char*> titles);
    void SetColumnWidths(std::initializer_list<int> widths);
    // Adds a row on top (Windows-1252 cells in column order, missing cells
    // empty) and writes its line. Returns its row index, 0, or -1 when the
    // list has no columns to show it in.
    int AddRow(int colour, std::span<const std::string_view> cells);
    int AddRow(int colour, std::initializer_list<std::string_view> cells);
    // Writes a line (cells joined, "\r\n" at the end). True when there is no
    // log or the line was written; on a failure the red row "Unable to log to
    // file!!!" is shown (not written) and false returned.
    bool WriteLog(std::string& line);

    const CLogListModel& Model() const { return *m_model; }

    // Shows the rows added since the last call. Runs by itself once per turn
    // of the event loop after rows were added.
    void PublishRows();

  protected:
    bool event(QEvent* event) override;

  private:
    void ShowRow(int colour, std::span<const std::string_view> cells);
    void SchedulePublish();
    void FollowMovedRows(const QItemSelection& selected, const QModelIndex& current, int moved);

    CLogListModel* m_model;
    std::unique_ptr<CLog> m_log;
    std::string m_separator = ",";
    std::string m_line; // reused file line buffer
    int m_columnCount = 0;
    bool m_publishPosted = false;
};

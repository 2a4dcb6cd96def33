#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <thread>

#include "CanMessageLogPage.h"
#include "LogRowEvent.h"
#include "LoggingListCtrl.h"
#include "LoggingTabCtrl.h"
#include "TempFolder.h"
#include "TransponderLogPage.h"

namespace fs = std::filesystem;

namespace {

// The one file in Log, empty when there is none.
fs::path LogFile()
{
    const fs::directory_iterator files("Log");
    return files == fs::directory_iterator() ? fs::path() : files->path();
}

QString Text(const CLoggingListCtrl& list, int row, int column)
{
    return list.model()->index(row, column).data().toString();
}

std::unique_ptr<LogRow> Row(LogRow row)
{
    return std::make_unique<LogRow>(std::move(row));
}

class LoggingListTest : public ::testing::Test {
  protected:
    void SetUp() override { m_folder.MakeCurrent(); }
    CTempFolder m_folder;
};

} // namespace

TEST_F(LoggingListTest, LogPagesWriteTitlesAndRowsByteForByte)
{
    {
        CTransponderLogPage page;
        // Label, ID, short ID, type, battery, driver number, time of day.
        page.AddLogRow({"Car 7, blue", "1234567", "42", "Korvo", "Low", "12", "05-12-2026 17:24:48"});
        page.AddLogRow({"two\r\nlines", "CC-12345", "", "Mindlet", "21\xB0", "", "05-12-2026 17:24:49"});
        page.AddLogRow({"say \"hi\"", "9", "", "Q9", "", "", "t"});
    }
    EXPECT_EQ(ReadFileBytes(LogFile()),
              "ID,Label,Short ID,Type,Driver number,Battery voltage,Time of day  \r\n"
              "1234567,\"Car 7, blue\",42,Korvo,12,Low,05-12-2026 17:24:48  \r\n"
              "CC-12345,two  lines,,Mindlet,,21\xB0,05-12-2026 17:24:49  \r\n"
              "9,\"say \"\"hi\"\"\",,Q9,,,t  \r\n");
    fs::remove_all("Log");

    CCanMessageLogPage page;
    page.AddLogRow({"Sent", "", "", "", "1A3", "", "05-12-2026 17:24:48"});
    page.AddLogRow({"Received", "Car 7", "1234", "42", "7FF", "01 FF ", "05-12-2026 17:24:49"});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(ReadFileBytes(LogFile()), "Action,Label,ID,ShortID,CanID,Data,Time of day  \r\n"
                                        "Sent,,,,1A3,,05-12-2026 17:24:48  \r\n"
                                        "Received,Car 7,1234,42,7FF,01 FF ,05-12-2026 17:24:49  \r\n");
}

TEST_F(LoggingListTest, NewestRowOnTopScrolledIntoViewInItsColourAlsoWhenSelected)
{
    CLoggingListCtrl list;
    list.resize(400, 200);
    list.AddColumns({"A", "B"});
    list.SetColumnWidths({280, 100});
    for (int i = 0; i < 200; ++i)
        list.AddRow(i % 5, {std::to_string(i), "\xB0"});
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(list.model()->rowCount(), 200);
    EXPECT_EQ(Text(list, 0, 0), "199");
    EXPECT_EQ(Text(list, 199, 0), "0");
    EXPECT_EQ(Text(list, 0, 1), QString(QChar(0xB0)));

    list.show();
    list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
    EXPECT_EQ(list.AddRow(CLoggingListCtrl::kRed, {"MMMMMMMMMMMMMMMM"}), 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(list.verticalScrollBar()->value(), 0);

    list.selectRow(0);
    const QImage image = list.viewport()->grab().toImage();
    const QRect row = list.visualRect(list.model()->index(0, 0));
    int red = 0;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            red += pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
        }
    EXPECT_GT(red, 20);

    // The selection stays on its row as newer rows push it down.
    list.setCurrentIndex(list.model()->index(0, 0));
    list.AddRow(0, {"newer"});
    list.AddRow(0, {"newest"});
    QCoreApplication::sendPostedEvents();
    const QModelIndexList rows = list.selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), 2);
    EXPECT_EQ(list.currentIndex().row(), 2);
    CLoggingListCtrl noColumns;
    EXPECT_EQ(noColumns.AddRow(0, {"x"}), -1);
}

TEST_F(LoggingListTest, NoLogFolderShowsRowsAndWritesNothing)
{
    ASSERT_TRUE(WriteFileBytes("Log", "")); // a file where the folder should be
    CLoggingListCtrl list;
    EXPECT_FALSE(list.OpenLog("Blocked", true));
    list.AddColumns({"A"});
    list.AddRow(0, {"1"});
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(list.model()->rowCount(), 1); // no red row: nothing to write to
    EXPECT_EQ(Text(list, 0, 0), "1");
    EXPECT_EQ(fs::file_size("Log"), 0u); // throws were it a folder now
}

TEST_F(LoggingListTest, FailedWriteShowsTheRedRowOnceAndLaterRowsAreTriedAgain)
{
    CLoggingListCtrl list;
    ASSERT_TRUE(list.OpenLog("Limit", true));
    list.AddColumns({"A", "B"});
    const fs::path file = LogFile();

    // Room for a few bytes of the next row only (root too); SIGXFSZ ignored as q9tester's main does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = static_cast<rlim_t>(fs::file_size(file)) + 5;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    list.AddRow(0, {"lost", "1"});
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    list.AddRow(0, {"kept", "2"});
    QCoreApplication::sendPostedEvents();

    ASSERT_EQ(list.model()->rowCount(), 3);
    EXPECT_EQ(Text(list, 0, 0), "kept");
    EXPECT_EQ(Text(list, 1, 0), "Unable to log to file!!!");
    EXPECT_EQ(Text(list, 1, 1), "");
    EXPECT_EQ(list.model()->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_EQ(Text(list, 2, 0), "lost");
    EXPECT_EQ(ReadFileBytes(file), "A,B  \r\nkept,2  \r\n");
}

TEST_F(LoggingListTest, RowsPostedFromThreadsArriveInOrderInOneBatchOnTabsThatKeepEnterAndEscape)
{
    QDialog dialog;
    auto& tabs = *new CLoggingTabCtrl(&dialog);
    tabs.SetPages(new CTransponderLogPage, new CCanMessageLogPage);
    EXPECT_EQ(tabs.tabText(0), "Transponder Log");
    EXPECT_EQ(tabs.tabText(1), "Can message Log");
    QSignalSpy inserted(tabs.CanMessageLogPage()->List()->model(), &QAbstractItemModel::rowsInserted);
    const int rows = 2000;
    std::thread producer([&] {
        for (int i = 0; i < rows; ++i)
            PostLogRow(&tabs, WM_LOG_CAN_ROW, Row({"Sent", "", std::to_string(i), "", "", "", ""}));
        PostLogRow(&tabs, WM_LOG_TRANSPONDER_ROW, Row({"", "77", "", "Q9", "", "", ""}));
    });
    producer.join();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents();

    const CLoggingListCtrl& can = *tabs.CanMessageLogPage()->List();
    ASSERT_EQ(can.model()->rowCount(), rows);
    for (int r = 0; r < rows; ++r)
        ASSERT_EQ(Text(can, r, 2), QString::number(rows - 1 - r));
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(Text(*tabs.TransponderLogPage()->List(), 0, 0), "77");

    dialog.show();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(tabs.TransponderLogPage()->List(), static_cast<Qt::Key>(key));
        EXPECT_TRUE(dialog.isVisible()) << key;
    }
}

TEST_F(LoggingListTest, RowsWithNowhereToGoAreTakenAndFreed)
{
    // LeakSanitizer reports any row below that is not freed.
    {
        CLoggingTabCtrl noPages;
        CLogRowEvent event(WM_LOG_TRANSPONDER_ROW, Row({"", "1"}));
        EXPECT_TRUE(QCoreApplication::sendEvent(&noPages, &event));
        EXPECT_FALSE(event.TakeRow());                       // the control took it
        PostLogRow(&noPages, WM_LOG_CAN_ROW, Row({"Sent"})); // still pending when it goes
    }
    QCoreApplication::sendPostedEvents();
}

#pragma once

#include <QApplication>
#include <QPushButton>
#include <QStatusBar>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "LogListModel.h"
#include "LoggingListCtrl.h"
#include "LoggingTabCtrl.h"
#include "MainTabCtrl.h"
#include "Q9TesterDlg.h"
#include "StatusBarCtrl.h"
#include "TempFolder.h"

namespace fs = std::filesystem;

// Each test runs in a fresh working folder with an empty settings folder (the run's XDG_CONFIG_HOME).
class AppTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        fs::remove_all(ConfigFolder());
        m_work.MakeCurrent();
    }

    static fs::path ConfigFolder() { return qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(); }
    static fs::path ConfigFile()
    {
        // Named after the program file, as the store names it.
        const std::string program = fs::path(QCoreApplication::applicationFilePath().toStdString()).stem();
        return ConfigFolder() / "TAMRIX Derida Vovivu" / (program + ".conf");
    }

    static QPushButton* ShowLogButton(QWidget& dialog) { return dialog.findChild<QPushButton*>("showLog"); }
    static CMainTabCtrl* MainTab(QWidget& dialog) { return dialog.findChild<CMainTabCtrl*>("mainTab"); }
    static CLoggingTabCtrl* LogTab(QWidget& dialog) { return dialog.findChild<CLoggingTabCtrl*>("logTab"); }
    static CStatusBarCtrl* StatusBar(QWidget& dialog)
    {
        return static_cast<CStatusBarCtrl*>(dialog.findChild<QStatusBar*>("statusBar"));
    }

    CTempFolder m_work{"q9-app-test"};
};

// A log list's rows, oldest first, each its first `columns` cells joined by commas.
inline std::vector<std::string> LogRows(const CLoggingListCtrl& list, int columns)
{
    QCoreApplication::sendPostedEvents(); // rows travel as posted events, shown in the next turn
    QCoreApplication::sendPostedEvents();
    const CLogRowStore& store = list.Model().Store();
    std::vector<std::string> rows;
    for (size_t r = 0; r < store.Size(); ++r) {
        std::string row(store.Cell(r, 0));
        for (int c = 1; c < columns; ++c)
            row.append(",").append(store.Cell(r, c));
        rows.push_back(row);
    }
    return rows;
}

#pragma once

#include <QApplication>
#include <QPushButton>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

#include "LoggingTabCtrl.h"
#include "MainTabCtrl.h"
#include "Q9TesterDlg.h"
#include "StatusBarCtrl.h"

// Each test runs in a fresh working folder (log files) with a fresh settings
// folder (XDG_CONFIG_HOME), set before Qt reads it.
class AppTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        char pattern[] = "/tmp/q9-app-test-XXXXXX";
        s_root = ::mkdtemp(pattern);
        ::setenv("XDG_CONFIG_HOME", (s_root / "config").c_str(), 1);
        static int argc = 1;
        static char name[] = "q9-app-test";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        std::filesystem::remove_all(s_root, ignored);
    }
    void SetUp() override
    {
        std::filesystem::remove_all(s_root / "config");
        std::filesystem::remove_all(s_root / "work");
        std::filesystem::create_directories(s_root / "work");
        std::filesystem::current_path(s_root / "work");
    }

    static std::filesystem::path ConfigFile()
    {
        // Named after the program file, as the store names it.
        const std::string program = fs::path(QCoreApplication::applicationFilePath().toStdString()).stem();
        return s_root / "config" / "TAMRIX Derida Vovivu" / (program + ".conf");
    }

    static inline std::filesystem::path s_root;
};

// The dialog's parts, found as a user would see them.
inline QPushButton* ShowLogButton(QWidget& dialog)
{
    return dialog.findChild<QPushButton*>("showLog");
}
inline CMainTabCtrl* MainTab(QWidget& dialog)
{
    return dialog.findChild<CMainTabCtrl*>("mainTab");
}
inline CLoggingTabCtrl* LogTab(QWidget& dialog)
{
    return dialog.findChild<CLoggingTabCtrl*>("logTab");
}
inline CStatusBarCtrl* StatusBar(QWidget& dialog)
{
    return static_cast<CStatusBarCtrl*>(dialog.findChild<QStatusBar*>("statusBar"));
}

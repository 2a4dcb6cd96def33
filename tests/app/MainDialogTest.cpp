#include <QAccessible>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "FakeTesterDevice.h"
#include "SettingsDlg.h"
#include "TesterEvent.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TransponderLogPage.h"

namespace {

// The main dialog with its message boxes answered by the test.
class CTestDlg : public CQ9TesterDlg {
  public:
    using CQ9TesterDlg::CQ9TesterDlg;

    bool m_closeAnswer = false;
    int m_closeQuestions = 0;
    int m_refusals = 0;

  protected:
    bool ConfirmClose() override
    {
        ++m_closeQuestions;
        return m_closeAnswer;
    }
    void ShowTabChangeRefused() override { ++m_refusals; }
};

int Bottom(const QRect& rect)
{
    return rect.top() + rect.height();
}

} // namespace

TEST_F(AppTest, FirstStartUsesTheDefaultsAndBuildsTheWindow)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "TAMRIX Derida Vovivu - Q9 Tester 2.5.0");
    EXPECT_FALSE(dialog.windowIcon().isNull());

    EXPECT_EQ(ShowLogButton(dialog)->text(), "Show log");
    EXPECT_FALSE(LogTab(dialog)->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // not resizable

    const char* labels[] = {"Transponder", "Beacon",    "Z9 Udu",    "Tracksensor",
                            "Loop",        "Emulation", "D9 Ividiv", "About"};
    const bool icons[] = {false, true, true, false, true, false, false, false};
    CMainTabCtrl* tabs = MainTab(dialog);
    ASSERT_EQ(tabs->count(), 8);
    // An active tab's label is bold, and never cut.
    QFont bold = tabs->tabBar()->font();
    bold.setBold(true);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(tabs->tabText(i), labels[i]);
        EXPECT_EQ(!tabs->tabIcon(i).isNull(), icons[i]) << i;
        const int needed = QFontMetrics(bold).horizontalAdvance(labels[i]) +
                           (icons[i] ? tabs->tabBar()->iconSize().width() : 0);
        EXPECT_GT(tabs->tabBar()->tabRect(i).width(), needed) << i;
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(StatusBar(dialog)->GetText(0), "Tester: Not connected");
    EXPECT_EQ(StatusBar(dialog)->GetText(1), "D9 Ividiv: Not synchronized");

    // Both log files exist from the start, each with its title line.
    int files = 0;
    for (const auto& entry : fs::directory_iterator("Log"))
        files += entry.path().filename().string().rfind("Tester_", 0) == 0 ||
                 entry.path().filename().string().rfind("CanMessage_", 0) == 0;
    EXPECT_EQ(files, 2);
}

TEST_F(AppTest, ShowLogGrowsTheWindowAndHideLogShrinksIt)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.show();
    const int closedHeight = dialog.height();
    QTest::mouseClick(ShowLogButton(dialog), Qt::LeftButton);
    EXPECT_EQ(ShowLogButton(dialog)->text(), "Hide log");
    EXPECT_GT(dialog.height(), closedHeight);
    EXPECT_TRUE(LogTab(dialog)->isVisible());
    // The log opens below the button, above the status bar.
    EXPECT_GT(LogTab(dialog)->geometry().top(), Bottom(ShowLogButton(dialog)->geometry()));
    EXPECT_LT(Bottom(LogTab(dialog)->geometry()), StatusBar(dialog)->geometry().top());
    EXPECT_EQ(dialog.Settings().showLog, 1);
    const int openHeight = dialog.height();
    QTest::mouseClick(ShowLogButton(dialog), Qt::LeftButton);
    EXPECT_EQ(ShowLogButton(dialog)->text(), "Show log");
    EXPECT_LT(dialog.height(), openHeight);
    EXPECT_EQ(dialog.Settings().showLog, 0);
}

TEST_F(AppTest, StoredValuesAreReadAndWrittenBack)
{
    {
        fs::create_directories(ConfigFile().parent_path());
        QSettings stored(QString::fromStdString(ConfigFile().string()), QSettings::IniFormat);
        stored.setValue("Settings/UnitCelsius", 7);
        stored.setValue("Settings/ShowLog", 1);
        stored.setValue("Connect/Host", QString::fromUtf8("h\xC3\xB8st"));
        stored.setValue("Connect/Login", "tech");
    }
    {
        CFakeTesterDevice device;
        CTestDlg dialog(device, nullptr);
        EXPECT_TRUE(dialog.Settings().IsCelsius()); // any non-zero value
        EXPECT_EQ(dialog.Settings().host, "h\xF8st");
        EXPECT_EQ(dialog.Settings().login, "tech");
        EXPECT_EQ(ShowLogButton(dialog)->text(), "Hide log");
        EXPECT_TRUE(LogTab(dialog)->isVisibleTo(&dialog));
        CSettingsDlg settings(&dialog.Settings().unitCelsius);
        EXPECT_EQ(settings.windowTitle(), "Settings");
        EXPECT_EQ(settings.findChild<QGroupBox*>()->title(), "Temperature unit");
        EXPECT_TRUE(settings.findChild<QRadioButton*>("celsius")->isChecked());
        // Cancel leaves the unit; OK stores it, and the box shows it the next time.
        settings.findChild<QRadioButton*>("fahrenheit")->setChecked(true);
        settings.findChild<QPushButton*>("cancel")->click();
        EXPECT_TRUE(dialog.Settings().IsCelsius());
        settings.findChild<QRadioButton*>("fahrenheit")->setChecked(true);
        settings.findChild<QPushButton*>("ok")->click();
        EXPECT_EQ(settings.result(), QDialog::Accepted);
        CSettingsDlg again(&dialog.Settings().unitCelsius);
        EXPECT_TRUE(again.findChild<QRadioButton*>("fahrenheit")->isChecked());
        dialog.Settings().login = "other";
    }
    QSettings stored(QString::fromStdString(ConfigFile().string()), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Settings/UnitCelsius").toInt(), 0);
    EXPECT_EQ(stored.value("Settings/ShowLog").toInt(), 1);
    EXPECT_EQ(stored.value("Connect/Host").toString(), QString::fromUtf8("h\xC3\xB8st"));
    EXPECT_EQ(stored.value("Connect/Login").toString(), "other");
}

TEST_F(AppTest, ATerminationRequestCancelsOpenBoxesAndEndsTheDialog)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    // Should a box stay open, the test answers it itself rather than hang.
    bool leftOpen = false;
    auto rescue = [&leftOpen] {
        while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            leftOpen = true;
            modal->done(QDialog::Accepted);
        }
    };

    // The settings dialog is open: it is cancelled, the unit stays.
    dialog.show();
    QTimer::singleShot(0, &dialog, [&dialog] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<CSettingsDlg*>(modal), nullptr);
        modal->findChild<QRadioButton*>("fahrenheit")->setChecked(true);
        dialog.OnTerminationRequested();
    });
    QTimer::singleShot(5000, &dialog, rescue);
    dialog.findChild<QPushButton*>("settings")->click();
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(dialog.Settings().unitCelsius, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // A message box over the running dialog: both end, nobody answers.
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTimer::singleShot(0, &dialog, [&dialog] {
            ASSERT_NE(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()), nullptr);
            dialog.OnTerminationRequested();
        });
        EXPECT_NE(QMessageBox::question(&dialog, "Q9 Tester", "Sure?", QMessageBox::Yes | QMessageBox::No),
                  QMessageBox::Yes);
    });
    QTimer::singleShot(5000, &dialog, rescue);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AppTest, RowsPostedJustBeforeTheEndStillReachTheLogFile)
{
    {
        CFakeTesterDevice device;
        CTestDlg dialog(device, nullptr);
        dialog.TesterLink().Stop();
        dialog.OnTransponder(1234567, 100, false, 12);
        // The dialog goes before its event loop has delivered the row.
    }
    std::string bytes;
    for (const auto& entry : fs::directory_iterator("Log"))
        if (entry.path().filename().string().starts_with("Tester_"))
            bytes += ReadFileBytes(entry.path());
    EXPECT_NE(bytes.find("\r\n1234567,,,Korvo,12,,"), std::string::npos) << bytes;
}

TEST_F(AppTest, CloseBoxAsksAndNoKeepsTheWindow)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.show();
    dialog.m_closeAnswer = false;
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.m_closeQuestions, 1);
    dialog.m_closeAnswer = true;
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.m_closeQuestions, 2);
    // OK and Cancel end the dialog without asking.
    dialog.show();
    dialog.accept();
    dialog.show();
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.m_closeQuestions, 2);
}

TEST_F(AppTest, MainTabsStayWhileTheTrackSensorPageListens)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.Settings().showLog = 0;
    dialog.SetLogVisible(true);
    dialog.show();
    CMainTabCtrl* tabs = MainTab(dialog);
    QTabBar* bar = tabs->tabBar();

    // The track sensor page really listens: the Tester confirmed it.
    dialog.TesterLink().Stop(); // no lost-link reports of its own
    dialog.OnConnected();
    dialog.OnListeningChanged(kListeningStarted);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 0);
    QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(dialog.m_refusals, 3);

    // Nor does any other way: a screen reader pressing a tab, or a call on
    // the control or its bar. The page shown stays the one of the tab.
    QAccessibleInterface* tab = QAccessible::queryAccessibleInterface(bar)->child(5);
    ASSERT_NE(tab->actionInterface(), nullptr);
    tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    bar->setCurrentIndex(6);
    tabs->setCurrentIndex(7);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->currentWidget(), tabs->widget(0));
    EXPECT_TRUE(tabs->widget(0)->isVisible());
    EXPECT_EQ(dialog.m_refusals, 6);

    // The log tabs are never held.
    QTabBar* logBar = LogTab(dialog)->tabBar();
    QTest::mouseClick(logBar, Qt::LeftButton, {}, logBar->tabRect(1).center());
    EXPECT_EQ(LogTab(dialog)->currentIndex(), 1);
    EXPECT_EQ(dialog.m_refusals, 6);

    // Losing the Tester ends listening, and with it the hold.
    dialog.OnDisconnected();
    dialog.TesterLink().Stop();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(tabs->currentWidget(), tabs->widget(2));
    EXPECT_EQ(dialog.m_refusals, 6);
}

TEST_F(AppTest, EnterIsOkAndEscapeIsCancelOutsideTheLogPages)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.SetLogVisible(true);
    QWidget* logList = LogTab(dialog)->TransponderLogPage()->List();
    QWidget* tabBar = MainTab(dialog)->tabBar();
    QWidget* pageField = new QLineEdit(MainTab(dialog)->widget(0)); // a text field on a page
    struct Case {
        QWidget* focus;
        Qt::Key key;
        int result; // -1: the dialog stays
    } cases[] = {
        {logList, Qt::Key_Return, -1},               // a log page keeps Enter to itself
        {ShowLogButton(dialog), Qt::Key_Return, -1}, // pressed, not OK
        {pageField, Qt::Key_Return, -1},             // Enter belongs to the page
        {logList, Qt::Key_Escape, -1},               // and Escape
        {pageField, Qt::Key_Escape, QDialog::Rejected},
        {tabBar, Qt::Key_Escape, QDialog::Rejected},
        {tabBar, Qt::Key_Return, QDialog::Accepted},
        {tabBar, Qt::Key_Enter, QDialog::Accepted},
    };
    for (const Case& c : cases) {
        dialog.setResult(-1);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        c.focus->setFocus();
        QTest::keyClick(c.focus, c.key);
        EXPECT_EQ(dialog.result(), c.result) << c.focus->metaObject()->className() << " " << c.key;
        EXPECT_EQ(dialog.isVisible(), c.result == -1);
    }
    EXPECT_EQ(ShowLogButton(dialog)->text(), "Show log"); // the press above hid the log
    EXPECT_EQ(dialog.m_closeQuestions, 0);
}

TEST_F(AppTest, TheDialogsTimerAgesTheDeafListOncePerTick)
{
    CFakeTesterDevice device;
    CTestDlg dialog(device, nullptr);
    EXPECT_TRUE(dialog.DeafList().Hear(1234567, 0, 12));
    for (int tick = 0; tick < 19; ++tick)
        dialog.OnTimer();
    EXPECT_EQ(dialog.DeafList().GetCount(), 1u);
    // The dialog's own timer ticks as well.
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.DeafList().GetCount() == 0; }, 5000));
}

TEST_F(AppTest, LostLinkIsShownAndRestartedAndConnectedIsShown)
{
    CFakeTesterDevice device; // no Tester: every search fails
    CTestDlg dialog(device, nullptr);
    dialog.OnConnected();
    EXPECT_EQ(StatusBar(dialog)->GetText(0), "Tester: Connected");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return StatusBar(dialog)->GetText(0) == "Tester: Not connected"; }, 10000));
    // The handler started the link again, which searched again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return device.Searches() >= 3; }, 10000));
    EXPECT_TRUE(dialog.TesterLink().IsRunning());
}

TEST_F(AppTest, FoundTesterShowsConnectedAndRestoresTheWindow)
{
    CFakeTesterDevice device(true);
    {
        CTestDlg dialog(device, nullptr);
        dialog.showMinimized();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return StatusBar(dialog)->GetText(0) == "Tester: Connected"; }, 10000));
        EXPECT_FALSE(dialog.isMinimized());
        EXPECT_TRUE(dialog.isVisible());
        device.Release(); // the link's next read fails, so it can stop
    }
    // One that cannot be opened is shown with the reason; an empty wake-up
    // changes nothing.
    CFakeTesterDevice locked(true, "no permission for /dev/ttyUSB0");
    CTestDlg dialog(locked, nullptr);
    const QString shown = "Tester: Not connected (no permission for /dev/ttyUSB0)";
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusBar(dialog)->GetText(0) == shown; }, 10000));
    QCoreApplication::postEvent(&dialog, new QEvent(WM_TESTER_EVENT));
    QCoreApplication::sendPostedEvents(&dialog);
    EXPECT_EQ(StatusBar(dialog)->GetText(0), shown);
}

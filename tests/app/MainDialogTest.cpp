#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "AbsentTesterDevice.h"
#include "AppSettings.h"
#include "AppTestSupport.h"
#include "RecordingTesterDevice.h"
#include "SettingsDlg.h"
#include "TesterEvent.h"
#include "TesterLink.h"
#include "TesterRecords.h"

namespace {

// No Tester: each search fails and the link reports the link lost.
class CCountingAbsentDevice : public CAbsentTesterDevice {
  public:
    bool CreateDeviceInfoList(uint32_t& count) override
    {
        ++m_searches;
        return CAbsentTesterDevice::CreateDeviceInfoList(count);
    }
    std::atomic<int> m_searches{0};
};

// A Tester that is found but cannot be opened.
class CLockedTesterDevice : public CRecordingTesterDevice {
  public:
    bool Open(uint32_t) override { return false; }
    std::string OpenFailure() const override { return "no permission for /dev/ttyUSB0"; }
};

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

} // namespace

TEST_F(AppTest, FirstStartBuildsTheWindowAndShowLogGrowsIt)
{
    CAbsentTesterDevice device;
    CTestDlg dialog(device, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "TAMRIX Derida Vovivu - Q9 Tester 2.5.0");

    // The tabs, '*' marking those with an icon.
    CMainTabCtrl* tabs = MainTab(dialog);
    std::string shown;
    for (int i = 0; i < tabs->count(); ++i)
        shown += tabs->tabText(i).toStdString() + (tabs->tabIcon(i).isNull() ? "|" : "*|");
    EXPECT_EQ(shown, "Transponder|Beacon*|Z9 Udu*|Tracksensor|Loop*|Emulation|D9 Ividiv|About|");
    EXPECT_EQ(StatusBar(dialog)->GetText(0), "Tester: Not connected");
    EXPECT_EQ(StatusBar(dialog)->GetText(1), "D9 Ividiv: Not synchronized");
    EXPECT_EQ(std::distance(fs::directory_iterator("Log"), {}), 2); // both log files, from the start

    // The log opens and closes again.
    dialog.show();
    const int closedHeight = dialog.height();
    QTest::mouseClick(ShowLogButton(dialog), Qt::LeftButton);
    EXPECT_EQ(ShowLogButton(dialog)->text(), "Hide log");
    EXPECT_GT(dialog.height(), closedHeight);
    EXPECT_TRUE(LogTab(dialog)->isVisible());
    EXPECT_EQ(dialog.Settings().showLog, 1);
    const int openHeight = dialog.height();
    QTest::mouseClick(ShowLogButton(dialog), Qt::LeftButton);
    EXPECT_EQ(ShowLogButton(dialog)->text(), "Show log");
    EXPECT_LT(dialog.height(), openHeight);
}

TEST_F(AppTest, StoredValuesAreReadTheSettingsBoxChangesTheUnitAndAllIsWrittenBack)
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
        CAbsentTesterDevice device;
        CTestDlg dialog(device, nullptr);
        EXPECT_TRUE(dialog.Settings().IsCelsius()); // any non-zero value
        EXPECT_EQ(dialog.Settings().host, "h\xF8st");
        EXPECT_EQ(dialog.Settings().login, "tech");
        EXPECT_EQ(ShowLogButton(dialog)->text(), "Hide log");
        EXPECT_TRUE(LogTab(dialog)->isVisibleTo(&dialog));
        // The box shows the unit; Cancel leaves it, OK stores it and relabels every page at once.
        for (const char* button : {"cancel", "ok"}) {
            QTimer::singleShot(0, [button] {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(qobject_cast<CSettingsDlg*>(box), nullptr);
                EXPECT_EQ(box->windowTitle(), "Settings");
                EXPECT_EQ(box->findChild<QGroupBox*>()->title(), "Temperature unit");
                EXPECT_TRUE(box->findChild<QRadioButton*>("celsius")->isChecked()) << button;
                box->findChild<QRadioButton*>("fahrenheit")->setChecked(true);
                box->findChild<QPushButton*>(button)->click();
            });
            dialog.findChild<QPushButton*>("settings")->click();
        }
        const auto labels = dialog.findChildren<QLabel*>("temperatureLabel");
        EXPECT_EQ(labels.size(), 3); // beacon, Z9 Udu and track sensor pages
        for (const QLabel* label : labels)
            EXPECT_EQ(label->text(), QStringLiteral("Temperature (\u00B0F):"));
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
    CAbsentTesterDevice device;
    CTestDlg dialog(device, nullptr);
    // The settings dialog is open: it is cancelled, the unit stays.
    dialog.show();
    QTimer::singleShot(0, &dialog, [&dialog] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<CSettingsDlg*>(modal), nullptr);
        modal->findChild<QRadioButton*>("fahrenheit")->setChecked(true);
        dialog.OnTerminationRequested();
    });
    dialog.findChild<QPushButton*>("settings")->click();
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
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AppTest, RowsPostedJustBeforeTheEndStillReachTheLogFile)
{
    {
        CAbsentTesterDevice device;
        CTestDlg dialog(device, nullptr);
        dialog.TesterLink().Stop();
        dialog.OnTransponder(1234567, 100, false, 12); // not yet delivered by the event loop
    }
    std::string bytes;
    for (const auto& entry : fs::directory_iterator("Log"))
        if (entry.path().filename().string().starts_with("Tester_"))
            bytes += ReadFileBytes(entry.path());
    EXPECT_NE(bytes.find("\r\n1234567,,,Korvo,12,,"), std::string::npos) << bytes;
}

TEST_F(AppTest, EnterIsOkEscapeIsCancelAndOnlyTheCloseBoxAsks)
{
    CAbsentTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.show();
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    dialog.m_closeAnswer = true;
    EXPECT_TRUE(dialog.close());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.m_closeQuestions, 2);

    dialog.SetLogVisible(true); // for the press on its button below
    QWidget* tabBar = MainTab(dialog)->tabBar();
    QWidget* pageField = new QLineEdit(MainTab(dialog)->widget(0)); // a text field on a page
    struct Case {
        QWidget* focus;
        Qt::Key key;
        int result; // -1: the dialog stays
    } cases[] = {
        {ShowLogButton(dialog), Qt::Key_Return, -1}, // pressed, not OK
        {pageField, Qt::Key_Return, -1},             // Enter belongs to the page
        {pageField, Qt::Key_Escape, QDialog::Rejected},
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
    EXPECT_EQ(dialog.m_closeQuestions, 2);
}

TEST_F(AppTest, MainTabsStayWhileTheTrackSensorPageListens)
{
    CAbsentTesterDevice device;
    CTestDlg dialog(device, nullptr);
    dialog.Settings().showLog = 0;
    dialog.SetLogVisible(true);
    dialog.show();
    CMainTabCtrl* tabs = MainTab(dialog);
    QTabBar* bar = tabs->tabBar();
    dialog.TesterLink().Stop(); // no lost-link reports of its own
    dialog.OnConnected();
    dialog.OnListeningChanged(kListeningStarted);

    // Neither a click, a key, a screen reader pressing a tab nor a call changes the page.
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
    QTest::keyClick(bar, Qt::Key_Right);
    QAccessibleInterface* tab = QAccessible::queryAccessibleInterface(bar)->child(5);
    ASSERT_NE(tab->actionInterface(), nullptr);
    tab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    tabs->setCurrentIndex(7);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->currentWidget(), tabs->widget(0));
    EXPECT_TRUE(tabs->widget(0)->isVisible());
    EXPECT_EQ(dialog.m_refusals, 5);

    // The log tabs are never held.
    QTabBar* logBar = LogTab(dialog)->tabBar();
    QTest::mouseClick(logBar, Qt::LeftButton, {}, logBar->tabRect(1).center());
    EXPECT_EQ(LogTab(dialog)->currentIndex(), 1);
    EXPECT_EQ(dialog.m_refusals, 5);

    // Losing the Tester ends listening, and with it the hold.
    dialog.OnDisconnected();
    dialog.TesterLink().Stop();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(tabs->currentWidget(), tabs->widget(2));
}

TEST_F(AppTest, TheStatusBarFollowsTheLinkWhichRestartsWhenLost)
{
    const auto showsSoon = [](QWidget& dialog, const QString& text) {
        return QTest::qWaitFor([&] { return StatusBar(dialog)->GetText(0) == text; }, 10000);
    };
    {
        CCountingAbsentDevice absent;
        CTestDlg dialog(absent, nullptr);
        dialog.OnConnected();
        EXPECT_EQ(StatusBar(dialog)->GetText(0), "Tester: Connected");
        EXPECT_TRUE(showsSoon(dialog, "Tester: Not connected"));
        // The handler started the link again, which searched again.
        EXPECT_TRUE(QTest::qWaitFor([&] { return absent.m_searches >= 3; }, 10000));
    }
    {
        CRecordingTesterDevice tester;
        CTestDlg dialog(tester, nullptr);
        dialog.showMinimized();
        EXPECT_TRUE(showsSoon(dialog, "Tester: Connected"));
        EXPECT_FALSE(dialog.isMinimized());
        EXPECT_TRUE(dialog.isVisible());
    }
    // One that cannot be opened is shown with the reason; an empty wake-up changes nothing.
    CLockedTesterDevice locked;
    CTestDlg dialog(locked, nullptr);
    const QString shown = "Tester: Not connected (no permission for /dev/ttyUSB0)";
    EXPECT_TRUE(showsSoon(dialog, shown));
    QCoreApplication::postEvent(&dialog, new QEvent(WM_TESTER_EVENT));
    QCoreApplication::sendPostedEvents(&dialog);
    EXPECT_EQ(StatusBar(dialog)->GetText(0), shown);
}

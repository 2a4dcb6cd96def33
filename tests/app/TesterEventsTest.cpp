// The dialog's handlers called as the link would: each value must reach its field and its log cell.

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "AboutPage.h"
#include "AbsentTesterDevice.h"
#include "AppTestSupport.h"
#include "BeaconPage.h"
#include "CanMessageLogPage.h"
#include "EmulationPage.h"
#include "LoopPage.h"
#include "PageFields.h"
#include "Q9TransponderPage.h"
#include "SimpleGraph.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TimeOfDay.h"
#include "TrackSensorPage.h"
#include "TransponderLogPage.h"
#include "TransponderPage.h"

namespace {

using Texts = std::vector<std::string>;

class TesterEventsTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_dialog = std::make_unique<CQ9TesterDlg>(m_device, nullptr);
        m_dialog->TesterLink().Stop(); // its lost-link reports would interleave with the events
    }

    template <typename Page> std::string Fields(std::initializer_list<const char*> names)
    {
        return ::Fields(*m_dialog->findChild<Page*>(), names);
    }

    // ID, label, short ID, type, driver, battery (and time of day) of each transponder log row.
    Texts Rows(int columns = 6) { return LogRows(*LogTab(*m_dialog)->TransponderLogPage()->List(), columns); }
    // Action, label, ID, short ID, CAN id and data (and time) of each CAN log row.
    Texts CanRows(int columns = 6)
    {
        return LogRows(*LogTab(*m_dialog)->CanMessageLogPage()->List(), columns);
    }

    bool MadeNow(const std::string& row) const
    {
        return row.ends_with(m_start) || row.ends_with(FormatTimeOfDay());
    }

    const std::string m_start = FormatTimeOfDay();
    CAbsentTesterDevice m_device;
    std::unique_ptr<CQ9TesterDlg> m_dialog;
};

} // namespace

TEST_F(TesterEventsTest, KorvoReportedEveryPollIsLoggedOncePerAppearanceAndDevice)
{
    for (int report = 0; report < 10; ++report) {
        m_dialog->OnTransponder(1234567, 80 + report, report == 9, 12);
        EXPECT_EQ(Fields<CTransponderPage>({"rssi"}), std::to_string(80 + report));
        m_dialog->OnTimer(); // 200 ms between reports
        m_dialog->OnTimer();
    }
    EXPECT_EQ(Fields<CTransponderPage>({"id", "lowBattery"}), "1234567 (12)|Low battery");
    // 100 ms a tick: 19 ticks after the last report it is still heard.
    for (int tick = 2; tick < 19; ++tick)
        m_dialog->OnTimer();
    m_dialog->OnTransponder(1234567, 80, false, 12);
    // Number, type and driver number are the deaf list's key.
    m_dialog->OnTransponder(1234567, 80, true, 0);
    m_dialog->OnQ9Transponder(1234567, 80);
    EXPECT_EQ(Rows(), (Texts{"1234567,,,Korvo,12,", "1234567,,,Korvo,,Low", "1234567,,,Q9,,"}));
    EXPECT_TRUE(MadeNow(Rows(7)[0])) << Rows(7)[0];
}

TEST_F(TesterEventsTest, TranslationsNameTranspondersOnPagesAndInTheLog)
{
    CTranslationList& translations = m_dialog->Translations();
    translations.AddTail({7001234, 0, "Car 7"});
    translations.AddTail({7005678, 42, "Car \xE9t\xE9"});
    translations.AddTail({7001234, 99, "Later duplicate"}); // the first record wins
    translations.AddTail({1234567, 5, "Korvo five"});
    translations.AddTail({100675641, 77, "Mindlet"});

    m_dialog->OnQ9Transponder(7001234, 61);
    EXPECT_EQ(Fields<CTransponderPage>({"id", "type"}), "7001234|Q9");
    EXPECT_EQ(Fields<CQ9TransponderPage>({"id", "rssi"}), "7001234|61");
    m_dialog->OnQ9Transponder(7005678, 62);
    EXPECT_EQ(Fields<CTransponderPage>({"id"}) + Fields<CQ9TransponderPage>({"id"}), "4242");
    m_dialog->OnTransponder(1234567, 63, false, 3);
    EXPECT_EQ(Fields<CTransponderPage>({"id"}), "5 (3)");
    m_dialog->OnMindletTransponder(100675641, 64, true);
    EXPECT_EQ(Fields<CTransponderPage>({"id"}), "77");
    m_dialog->OnMindletTransponder(100675642, 70, false); // no translation: its code
    EXPECT_EQ(Fields<CTransponderPage>({"id"}), "CC-12346");

    // A Mindlet is logged by its code even when it has a short id.
    EXPECT_EQ(Rows(),
              (Texts{"7001234,Car 7,,Q9,,", "7005678,Car \xE9t\xE9,42,Q9,,", "1234567,Korvo five,5,Korvo,3,",
                     "CC-12345,Mindlet,77,Mindlet,,Low", "CC-12346,,,Mindlet,,"}));
}

TEST_F(TesterEventsTest, BeaconReachesItsPageAndLogsItsVoltageOncePerAppearance)
{
    // Raw battery 92 and raw temperature 37, as the link converts them.
    m_dialog->OnBeacon(42, 77, 92 * 4.2 * 0.015625, 37 * 4 - 128);
    EXPECT_EQ(Fields<CBeaconPage>({"number", "rssi", "temperature"}), "42|77|20");
    m_dialog->OnBeacon(42, 78, 3.9, 20); // shown, not logged again
    EXPECT_EQ(Fields<CBeaconPage>({"batteryVoltage"}), "3.9");
    // The log keeps a voltage the page leaves blank.
    m_dialog->OnBeacon(43, 50, 255 * 4.2 * 0.015625, -128);
    EXPECT_EQ(Rows(), (Texts{"42,,,Beacon,,6.0", "43,,,Beacon,,16.7"}));
}

TEST_F(TesterEventsTest, DiagnosticsLoopLevelsAndFirmwareReachTheirPagesWithoutLogRows)
{
    // Every value differs from its neighbours, so that any two swapped show.
    m_dialog->OnDiagnostics(5123456, 180, 3.7, 80, 300, 12.1, 23, 1, 4);
    EXPECT_EQ(Fields<CQ9TransponderPage>({"id", "noise", "batteryVoltage", "batteryPercent", "batteryTime",
                                          "externalVoltage", "temperature", "version"}),
              "5123456|-23.5|3.7|80|300|12.1|23|1.4");

    CLoopPage& loop = *m_dialog->findChild<CLoopPage*>();
    m_dialog->OnLoopLevel(200);
    loop.OnTimer();
    EXPECT_EQ(loop.Graph()->Value(CSimpleGraph::kValueCount - 1), 200u);

    m_dialog->OnFirmwareVersion(true, 2, 3);
    EXPECT_EQ(Fields<CAboutPage>({"firmware"}), "Firmware version: 2.3");
    EXPECT_TRUE(Rows().empty());
}

TEST_F(TesterEventsTest, TrackSensorsAreShownAndLoggedWhileListening)
{
    auto* progress = m_dialog->findChild<CTrackSensorPage*>()->findChild<QProgressBar*>("progress");
    m_dialog->OnConnected();
    m_dialog->OnListeningChanged(kListeningStarted);
    m_dialog->OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    EXPECT_EQ(progress->value(), 1);

    m_dialog->OnSpecialDevice(kSpecialReading, 34788999, 60, 1, 0, 21.5);
    EXPECT_EQ(Fields<CTrackSensorPage>({"id", "rssi", "temperature"}), "PCCW-34567|60|21.5");
    // Another kind of value: logged, not shown. Not a track sensor, or not a reading: nothing.
    m_dialog->OnSpecialDevice(kSpecialReading, 136217735, 50, 1, 2, 1.234);
    m_dialog->OnSpecialDevice(kSpecialReading, 136217736, 50, 0, 0, 20.0);
    m_dialog->OnSpecialDevice(5, 136217737, 50, 1, 0, 20.0);
    EXPECT_EQ(Fields<CTrackSensorPage>({"id"}), "PCCW-34567");

    m_dialog->OnListeningChanged(kListeningStopped);
    m_dialog->OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    EXPECT_EQ(progress->value(), 1);
    EXPECT_EQ(Rows(), (Texts{"PCCW-34567,,,Tracksensor,,", "PCFL-00007,,,Tracksensor,,"}));
}

TEST_F(TesterEventsTest, ReceivedCanMessagesAreLoggedWithTheirTranslation)
{
    const uint8_t data[8] = {0xAA, 0xBB, 1, 2, 3, 4, 5, 6};
    m_dialog->OnCanReceived(1, 7, 0x1A2, 2, data);
    m_dialog->Translations().AddTail({7, 0, "Car 7"});
    m_dialog->Translations().AddTail({9, 42, "Car 9"});
    m_dialog->OnCanReceived(1, 7, 0x1A2, 2, data);
    m_dialog->OnCanReceived(1, 9, 0, 0, data);
    // More than the event's 8 bytes: the 8 there are.
    m_dialog->OnCanReceived(1, 9, 0x5, 200, data);
    EXPECT_EQ(CanRows(),
              (Texts{"Received,,7,,1A2,AA BB ", "Received,Car 7,7,0,1A2,AA BB ", "Received,Car 9,42,42,,",
                     "Received,Car 9,42,42,005,AA BB 01 02 03 04 05 06 "}));
    EXPECT_TRUE(MadeNow(CanRows(7)[0])) << CanRows(7)[0];
}

TEST_F(TesterEventsTest, LosingTheTesterAbandonsTheCanSequenceUntilItIsBack)
{
    auto* page = m_dialog->findChild<CEmulationPage*>();
    const auto button = [page](const char* name) { return page->findChild<QPushButton*>(name); };
    const auto expectSendButtons = [&](bool enabled) {
        for (const char* name : {"transponderSend", "loopSend", "canSend"})
            EXPECT_EQ(button(name)->isEnabled(), enabled) << name;
    };
    expectSendButtons(false); // until the first Tester connects
    m_dialog->OnConnected();
    expectSendButtons(true);
    auto* list = page->findChild<QComboBox*>("canList"); // the sample file, copied beside the test
    list->setCurrentIndex(list->findText("Start timing"));
    ASSERT_GE(list->currentIndex(), 0);
    button("canSend")->click();
    page->OnTimer();
    m_dialog->OnTransmitResult(kTransmitTxDone);
    ASSERT_TRUE(page->IsSequenceTimerRunning());

    m_dialog->OnDisconnected();
    EXPECT_FALSE(page->IsSequenceTimerRunning());
    EXPECT_FALSE(button("canSend")->isHidden());
    EXPECT_TRUE(button("cancel")->isHidden());
    EXPECT_TRUE(list->isEnabled());
    expectSendButtons(false);
    m_dialog->TesterLink().Stop();

    m_dialog->OnConnected();
    expectSendButtons(true);
    EXPECT_EQ(CanRows(), (Texts{"Sending (1/3): Reset clock,,,,1A0,01 FF 7E ",
                                "Sending (2/3): Set gate,,,,1A1,02 00 ", "Sent,,,,,"}));
}

TEST(TimeOfDayTest, FormatsLocalTimeDayFirst)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "CET-1");
    ::tzset();
    EXPECT_EQ(FormatTimeOfDay(1796491488), "05-12-2026 18:24:48"); // 17:24:48 UTC
    saved.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved);
    ::tzset();
}

// The main dialog's handlers of the Tester's events, called directly as the
// link's DeliverEvents would, with the 100 ms timer driven by hand.

#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <ctime>
#include <string>
#include <vector>

#include "AboutPage.h"
#include "AppTestSupport.h"
#include "BeaconPage.h"
#include "FakeTesterDevice.h"
#include "LogListModel.h"
#include "LoggingListCtrl.h"
#include "LoopPage.h"
#include "Q9TransponderPage.h"
#include "SimpleGraph.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TimeOfDay.h"
#include "TrackSensorPage.h"
#include "TransponderLogPage.h"
#include "TransponderPage.h"

namespace {

// Columns of the transponder log as the list shows them.
enum Column { kId, kLabel, kShortId, kType, kDriver, kBattery, kTime };

class TesterEventsTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_dialog = std::make_unique<CQ9TesterDlg>(m_device, nullptr);
        // No Tester is attached: keep the link's own lost-link reports from
        // interleaving with the events the tests deliver.
        m_dialog->TesterLink().Stop();
    }

    void TearDown() override { m_dialog.reset(); }

    template <typename Page> Page& GetPage() { return *m_dialog->findChild<Page*>(); }

    template <typename Page> QString Field(const char* name)
    {
        return GetPage<Page>().template findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            m_dialog->OnTimer();
    }

    // The transponder log's rows, oldest first, each in column order.
    std::vector<std::vector<std::string>> Rows()
    {
        // Rows travel as posted events and are shown in the next turn.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        const CLogRowStore& store = LogTab(*m_dialog)->TransponderLogPage()->List()->Model().Store();
        std::vector<std::vector<std::string>> rows;
        for (size_t r = 0; r < store.Size(); ++r) {
            std::vector<std::string> cells;
            for (int c = 0; c < 7; ++c)
                cells.emplace_back(store.Cell(r, c));
            rows.push_back(cells);
        }
        return rows;
    }

    CFakeTesterDevice m_device;
    std::unique_ptr<CQ9TesterDlg> m_dialog;
};

std::vector<std::string> Cells(const char* id, const char* label, const char* shortId, const char* type,
                               const char* driver, const char* battery)
{
    return {id, label, shortId, type, driver, battery};
}

// A row without its time of day, which the tests check on their own.
std::vector<std::string> WithoutTime(std::vector<std::string> row)
{
    row.resize(kTime);
    return row;
}

} // namespace

TEST_F(TesterEventsTest, KorvoReportedEveryPollIsLoggedOncePerAppearanceAndDevice)
{
    const std::time_t before = std::time(nullptr);
    for (int report = 0; report < 10; ++report) {
        // Blanked by hand, so that each report must write the field again.
        GetPage<CTransponderPage>().findChild<QLabel*>("id")->clear();
        m_dialog->OnTransponder(1234567, 80 + report, report == 9, 12);
        EXPECT_EQ(Field<CTransponderPage>("id"), "1234567 (12)") << report;
        EXPECT_EQ(Field<CTransponderPage>("rssi"), QString::number(80 + report));
        Ticks(2); // 200 ms between reports
    }
    EXPECT_EQ(Field<CTransponderPage>("lowBattery"), "Low battery");
    // Number, type and driver number are the deaf list's key.
    m_dialog->OnTransponder(1234567, 80, true, 0);
    m_dialog->OnQ9Transponder(1234567, 80);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(WithoutTime(rows[0]), Cells("1234567", "", "", "Korvo", "12", ""));
    EXPECT_EQ(WithoutTime(rows[1]), Cells("1234567", "", "", "Korvo", "", "Low"));
    EXPECT_EQ(WithoutTime(rows[2]), Cells("1234567", "", "", "Q9", "", ""));
    // The time of day is the local time when the row was made.
    EXPECT_TRUE(rows[0][kTime] == FormatTimeOfDay(before) || rows[0][kTime] == FormatTimeOfDay(before + 1) ||
                rows[0][kTime] == FormatTimeOfDay(before + 2))
        << rows[0][kTime];
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
    EXPECT_EQ(Field<CTransponderPage>("id"), "7001234");
    EXPECT_EQ(Field<CTransponderPage>("type"), "Q9");
    EXPECT_EQ(Field<CQ9TransponderPage>("id"), "7001234");
    EXPECT_EQ(Field<CQ9TransponderPage>("rssi"), "61");
    m_dialog->OnQ9Transponder(7005678, 62);
    EXPECT_EQ(Field<CTransponderPage>("id"), "42");
    EXPECT_EQ(Field<CQ9TransponderPage>("id"), "42");
    m_dialog->OnTransponder(1234567, 63, false, 3);
    EXPECT_EQ(Field<CTransponderPage>("id"), "5 (3)");
    m_dialog->OnMindletTransponder(100675641, 64, true);
    EXPECT_EQ(Field<CTransponderPage>("id"), "77");
    // Without a translation a Mindlet shows its code; below the coded range, its number.
    m_dialog->OnMindletTransponder(100675642, 70, false);
    EXPECT_EQ(Field<CTransponderPage>("id"), "CC-12346");
    m_dialog->OnMindletTransponder(100663295, 70, false);
    EXPECT_EQ(Field<CTransponderPage>("id"), "100663295");

    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(WithoutTime(rows[0]), Cells("7001234", "Car 7", "", "Q9", "", ""));
    EXPECT_EQ(WithoutTime(rows[1]), Cells("7005678", "Car \xE9t\xE9", "42", "Q9", "", ""));
    EXPECT_EQ(WithoutTime(rows[2]), Cells("1234567", "Korvo five", "5", "Korvo", "3", ""));
    // A Mindlet is logged by its code even when it has a short id.
    EXPECT_EQ(WithoutTime(rows[3]), Cells("CC-12345", "Mindlet", "77", "Mindlet", "", "Low"));
    EXPECT_EQ(WithoutTime(rows[4]), Cells("CC-12346", "", "", "Mindlet", "", ""));
    EXPECT_EQ(WithoutTime(rows[5]), Cells("100663295", "", "", "Mindlet", "", ""));
}

TEST_F(TesterEventsTest, BeaconShowsPlausibleValuesAndLogsItsVoltageOncePerAppearance)
{
    // Raw battery 92 and raw temperature 37, as the link converts them.
    const int32_t celsius = 37 * 4 - 128;
    m_dialog->OnBeacon(42, 77, 92 * 4.2 * 0.015625, celsius);
    EXPECT_EQ(Field<CBeaconPage>("number"), "42");
    EXPECT_EQ(Field<CBeaconPage>("rssi"), "77");
    EXPECT_EQ(Field<CBeaconPage>("batteryVoltage"), "");
    EXPECT_EQ(Field<CBeaconPage>("temperature"), "20");
    for (int poll = 0; poll < 10; ++poll) {
        m_dialog->OnBeacon(42, 78, 3.9, celsius);
        m_dialog->OnBeaconDone();
        Ticks(1);
    }
    EXPECT_EQ(Field<CBeaconPage>("batteryVoltage"), "3.9");
    // Another beacon, and one with a voltage the page leaves blank.
    m_dialog->OnBeacon(43, 50, 255 * 4.2 * 0.015625, -128);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(WithoutTime(rows[0]), Cells("42", "", "", "Beacon", "", "6.0"));
    EXPECT_EQ(WithoutTime(rows[1]), Cells("43", "", "", "Beacon", "", "16.7"));
}

TEST_F(TesterEventsTest, DiagnosticsLoopLevelsAndFirmwareReachTheirPagesWithoutLogRows)
{
    // Every value differs from its neighbours, so that any two swapped show.
    m_dialog->OnDiagnostics(5123456, 180, 3.7, 80, 300, 12.1, 23, 1, 4);
    EXPECT_EQ(Field<CQ9TransponderPage>("id"), "5123456");
    EXPECT_EQ(Field<CQ9TransponderPage>("noise"), "-23.5");
    EXPECT_EQ(Field<CQ9TransponderPage>("batteryVoltage"), "3.7");
    EXPECT_EQ(Field<CQ9TransponderPage>("batteryPercent"), "80");
    EXPECT_EQ(Field<CQ9TransponderPage>("batteryTime"), "300");
    EXPECT_EQ(Field<CQ9TransponderPage>("externalVoltage"), "12.1");
    EXPECT_EQ(Field<CQ9TransponderPage>("temperature"), "23");
    EXPECT_EQ(Field<CQ9TransponderPage>("version"), "1.4");
    // A temperature byte of 251 (-5 sent) is outside the shown range.
    m_dialog->OnDiagnostics(5123456, 0, 3.7, 80, 300, 1.9, 251, 2, 0);
    EXPECT_EQ(Field<CQ9TransponderPage>("temperature"), "");

    CLoopPage& loop = GetPage<CLoopPage>();
    m_dialog->OnLoopLevel(17);
    m_dialog->OnLoopLevel(200); // only the last of a tick is plotted
    loop.OnTimer();
    EXPECT_EQ(loop.Graph()->Value(CSimpleGraph::kValueCount - 1), 200u);

    m_dialog->OnFirmwareVersion(true, 2, 3);
    EXPECT_EQ(Field<CAboutPage>("firmware"), "Firmware version: 2.3");
    EXPECT_TRUE(Rows().empty());
}

TEST_F(TesterEventsTest, TrackSensorsAreShownAndLoggedWhileListening)
{
    CTrackSensorPage& page = GetPage<CTrackSensorPage>();
    auto* progress = page.findChild<QProgressBar*>("progress");
    m_dialog->OnConnected();
    EXPECT_TRUE(page.findChild<QPushButton*>("startStop")->isEnabled());

    // Nothing heard moves the bar only while listening.
    m_dialog->OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    EXPECT_EQ(progress->value(), 0);
    m_dialog->OnListeningChanged(kListeningStarted);
    EXPECT_TRUE(page.IsListening());
    m_dialog->OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    EXPECT_EQ(progress->value(), 1);

    // A temperature reading: page and log. The code follows the alphabet's
    // rule (0x12D687 = 1234567: q = 12, "PCCW").
    m_dialog->OnSpecialDevice(kSpecialReading, 34788999, 60, 1, 0, 21.5);
    EXPECT_EQ(Field<CTrackSensorPage>("id"), "PCCW-34567");
    EXPECT_EQ(Field<CTrackSensorPage>("rssi"), "60");
    EXPECT_EQ(Field<CTrackSensorPage>("temperature"), "21.5");
    // Another kind of value: logged, not shown. Not a track sensor, or not a
    // reading: nothing.
    m_dialog->OnSpecialDevice(kSpecialReading, 136217735, 50, 1, 2, 1.234);
    m_dialog->OnSpecialDevice(kSpecialReading, 136217736, 50, 0, 0, 20.0);
    m_dialog->OnSpecialDevice(5, 136217737, 50, 1, 0, 20.0);
    EXPECT_EQ(Field<CTrackSensorPage>("id"), "PCCW-34567");
    EXPECT_EQ(progress->value(), 1);

    m_dialog->OnListeningChanged(kListeningStopped);
    EXPECT_FALSE(page.IsListening());
    m_dialog->OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    EXPECT_EQ(progress->value(), 1);

    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(WithoutTime(rows[0]), Cells("PCCW-34567", "", "", "Tracksensor", "", ""));
    EXPECT_EQ(WithoutTime(rows[1]), Cells("PCFL-00007", "", "", "Tracksensor", "", ""));
}

TEST_F(TesterEventsTest, DisconnectEndsListeningAndRestartsTheLinkEachTime)
{
    CTrackSensorPage& page = GetPage<CTrackSensorPage>();
    m_dialog->OnConnected();
    EXPECT_EQ(StatusBar(*m_dialog)->GetText(0), "Tester: Connected");
    m_dialog->OnListeningChanged(kListeningStarted);
    for (int twice = 0; twice < 2; ++twice) {
        m_dialog->OnDisconnected();
        EXPECT_FALSE(page.IsListening());
        EXPECT_FALSE(page.findChild<QPushButton*>("startStop")->isEnabled());
        EXPECT_EQ(StatusBar(*m_dialog)->GetText(0), "Tester: Not connected");
        EXPECT_TRUE(m_dialog->TesterLink().IsRunning());
    }
    m_dialog->TesterLink().Stop();
}

TEST_F(TesterEventsTest, SettingsOkRelabelsAllThreePagesAtOnce)
{
    m_dialog->OnBeacon(42, 77, 3.9, 37);
    m_dialog->OnDiagnostics(5123456, 180, 3.7, 80, 300, 12.1, 37, 1, 4);
    m_dialog->OnSpecialDevice(kSpecialReading, 34788999, 60, 1, 0, 21.5);
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        modal->findChild<QRadioButton*>("fahrenheit")->setChecked(true);
        modal->findChild<QPushButton*>("ok")->click();
    });
    m_dialog->findChild<QPushButton*>("settings")->click();
    const QString fahrenheit = QString::fromUtf8("Temperature (\xC2\xB0"
                                                 "F):");
    EXPECT_EQ(Field<CBeaconPage>("temperatureLabel"), fahrenheit);
    EXPECT_EQ(Field<CQ9TransponderPage>("temperatureLabel"), fahrenheit);
    EXPECT_EQ(Field<CTrackSensorPage>("temperatureLabel"), fahrenheit);
    // The beacon's value waits for its next report, the others convert at once.
    EXPECT_EQ(Field<CBeaconPage>("temperature"), "");
    EXPECT_EQ(Field<CQ9TransponderPage>("temperature"), "99");
    EXPECT_EQ(Field<CTrackSensorPage>("temperature"), "70.7");
}

TEST(TimeOfDayTest, FormatsLocalTimeDayFirst)
{
    const std::string saved = qEnvironmentVariable("TZ").toStdString();
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(FormatTimeOfDay(1796491488), "05-12-2026 17:24:48");
    // Local time, not UTC.
    ::setenv("TZ", "CET-1", 1);
    ::tzset();
    EXPECT_EQ(FormatTimeOfDay(1796491488), "05-12-2026 18:24:48");
    if (hadTz)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

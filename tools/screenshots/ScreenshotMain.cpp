// Saves pictures of the real main dialog, built offscreen: the window with its
// log area shown, each main tab, and the settings dialog. What a Tester would
// report is fed through the dialog's own event handlers, so the pages and the
// log show what they would show in the field.
//   q9tester-screenshots [output folder]     (default: docs/screenshots)
// Settings and log files go to a scratch folder that is removed afterwards.

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <unistd.h>

#include "AbsentTesterDevice.h"
#include "BeaconPage.h"
#include "EmulationPage.h"
#include "IvidivSimProcess.h"
#include "LoggingTabCtrl.h"
#include "LoopPage.h"
#include "Q9ServerPage.h"
#include "Q9TesterDlg.h"
#include "Q9TransponderPage.h"
#include "SettingsDlg.h"
#include "SimpleGraph.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TrackSensorPage.h"
#include "TransponderPage.h"

namespace {

// The file name part of a tab label: "Z9 Udu" -> "z9-udu".
QString FileName(const QString& label)
{
    return label.toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

bool Save(QWidget& widget, const QString& path)
{
    // Rows arrive in one turn of the event loop and are shown in the next.
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

// A signal strength that drifts as a Tester is carried past the device.
uint32_t Rssi(int tick, uint32_t base)
{
    return base + static_cast<uint32_t>(30.0 + 30.0 * std::sin(tick / 9.0));
}

// The beacon's raw bytes as the link converts them: battery 60, temperature 38.
constexpr double kBeaconVolts = 60 * 4.2 * 0.015625;
constexpr int32_t kBeaconCelsius = 38 * 4 - 128;

// One of each kind of device, as the transponder log shows them.
void HearOneOfEach(CQ9TesterDlg& dialog)
{
    dialog.Translations().AddTail({1234567, 42, "Car 7"});
    dialog.Translations().AddTail({7001234, 0, "Safety car"});
    dialog.OnTransponder(1234567, 112, false, 12);
    dialog.OnTransponder(3456789, 64, true, 0);
    dialog.OnQ9Transponder(7001234, 97);
    dialog.OnMindletTransponder(100675641, 85, false);
    dialog.OnBeacon(42, 76, kBeaconVolts, kBeaconCelsius);
    dialog.OnSpecialDevice(kSpecialReading, 34788999, 71, 1, 0, 21.5);
}

// A Korvo transponder that was heard for a while, with one short gap. A
// second feed goes on where the first stopped.
void FeedTransponder(CQ9TesterDlg& dialog)
{
    static int s_tick = 0;
    CTransponderPage& page = *dialog.findChild<CTransponderPage*>();
    for (const int end = s_tick + 60; s_tick < end; ++s_tick) {
        if (s_tick < 50 || s_tick > 54)
            dialog.OnTransponder(1234567, Rssi(s_tick, 70), false, 12);
        page.OnTimer();
    }
    dialog.OnTransponder(1234567, Rssi(s_tick, 70), false, 12);
}

void FeedBeacon(CQ9TesterDlg& dialog)
{
    CBeaconPage& page = *dialog.findChild<CBeaconPage*>();
    for (int tick = 0; tick < 80; ++tick) {
        if (tick % 7 != 3) // the beacon is not heard on every poll
            dialog.OnBeacon(42, Rssi(tick, 40), kBeaconVolts, kBeaconCelsius);
        page.OnTimer();
    }
    dialog.OnBeacon(42, 88, kBeaconVolts, kBeaconCelsius);
}

// Readings, a request for diagnostics (the marker line), more readings, and
// the transponder's answer.
void FeedZ9Udu(CQ9TesterDlg& dialog)
{
    CQ9TransponderPage& page = *dialog.findChild<CQ9TransponderPage*>();
    for (int tick = 0; tick < 70; ++tick) {
        dialog.OnQ9Transponder(7001234, Rssi(tick, 55));
        if (tick == 50)
            page.OnRequest();
        page.OnTimer();
    }
    dialog.OnQ9Transponder(7001234, 102);
    dialog.OnDiagnostics(7001234, 180, 3.7, 80, 300, 12.1, 23, 1, 4);
}

void FeedTrackSensor(CQ9TesterDlg& dialog)
{
    dialog.OnListeningChanged(kListeningStarted);
    for (int poll = 0; poll < 37; ++poll)
        dialog.OnSpecialDevice(kSpecialNothingHeard, 0, 0, 0, 0, 0.0);
    dialog.OnSpecialDevice(kSpecialReading, 34788999, 71, 1, 0, 21.5);
}

// The loop's level as the Tester is carried across it twice.
void FeedLoop(CQ9TesterDlg& dialog)
{
    CLoopPage& page = *dialog.findChild<CLoopPage*>();
    for (int tick = 0; tick < CSimpleGraph::kValueCount; ++tick) {
        const int phase = tick % 60;
        dialog.OnLoopLevel(static_cast<unsigned>((phase < 30 ? phase : 60 - phase) * 7 + (tick * 7) % 11));
        page.OnTimer();
    }
}

void FeedAbout(CQ9TesterDlg& dialog)
{
    dialog.OnFirmwareVersion(true, 2, 3);
}

// The sample's three-message sequence on its way: the first message sent and
// confirmed, a message the Tester received, the CAN log in front.
bool SaveEmulationSending(CQ9TesterDlg& dialog, const QString& output)
{
    auto* page = dialog.findChild<CEmulationPage*>();
    dialog.findChild<QTabWidget*>(QStringLiteral("mainTab"))->setCurrentWidget(page);
    dialog.findChild<CLoggingTabCtrl*>()->setCurrentIndex(1);
    auto* list = page->findChild<QComboBox*>(QStringLiteral("canList"));
    list->setCurrentIndex(list->findText(QStringLiteral("Start timing")));
    page->findChild<QPushButton*>(QStringLiteral("canSend"))->click();
    dialog.OnTransmitResult(kTransmitTxDone);
    const uint8_t data[8] = {0x01, 0x42};
    dialog.OnCanReceived(1, 12, 0x1A4, 2, data);
    return Save(dialog, output + QStringLiteral("/tab-emulation-sending.png"));
}

// A page whose LoopEmulator.xml holds a message with a two-way id out of range.
bool SaveEmulationLoadFailure(const QString& output)
{
    std::ofstream("LoopEmulator.xml") << "<loopemulator><messagesequence name=\"Start\"><canmessage>"
                                         "<twowayid>64</twowayid><canid>1A0</canid><data>1</data>"
                                         "</canmessage></messagesequence></loopemulator>\n";
    CEmulationPage page("LoopEmulator.xml");
    page.SetTesterConnected(true);
    page.show();
    return Save(page, output + QStringLiteral("/tab-emulation-load-failure.png"));
}

// The D9 Ividiv tab against ividiv-sim: filled in, after a synchronisation,
// and after a wrong password.
bool ShootServerPage(CQ9TesterDlg& dialog, QTabWidget& tabs, const QString& output)
{
    CIvidivSimProcess server({"--generate", "1000"});
    server.UseForLibrary();
    auto* page = dialog.findChild<CQ9ServerPage*>();
    tabs.setCurrentWidget(page);
    const auto field = [page](const char* name) { return page->findChild<QLineEdit*>(name); };
    const auto synchronize = [&](const QString& password, const char* outcome) {
        field("password")->setText(password);
        page->findChild<QPushButton*>("synchronize")->click();
        // The page's 100 ms pump wakes the loop.
        const QDeadlineTimer deadline(20000);
        while (field("status")->text() != QString::fromLatin1(outcome) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    field("host")->setText(QStringLiteral("localhost"));
    field("user")->setText(QString::fromLatin1(CIvidivSimProcess::kUser));
    field("password")->setText(QStringLiteral("password"));
    bool ok = server.Port() != 0 && Save(dialog, output + QStringLiteral("/tab-d9-ividiv.png"));
    synchronize(QString::fromUtf8(CIvidivSimProcess::kPassword), "Transponder data synchronized with server");
    ok &= Save(dialog, output + QStringLiteral("/tab-d9-ividiv-synchronized.png"));
    synchronize(QStringLiteral("wrong"), "Invalid user name or password specified");
    ok &= Save(dialog, output + QStringLiteral("/tab-d9-ividiv-wrong-password.png"));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString output =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots")).absolutePath();
    char pattern[] = "/tmp/q9-screenshots-XXXXXX";
    const std::filesystem::path scratch = ::mkdtemp(pattern);
    qputenv("XDG_CONFIG_HOME", (scratch / "config").c_str());
    std::filesystem::current_path(scratch);
    QDir().mkpath(output);

    bool ok = true;
    {
        QApplication app(argc, argv);
        CAbsentTesterDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        // The handlers below stand in for the Tester; the link's own search
        // would report it lost and clear the pages.
        dialog.TesterLink().Stop();
        dialog.OnConnected();
        dialog.SetLogVisible(true);
        dialog.show();
        HearOneOfEach(dialog);
        FeedTransponder(dialog);
        ok &= Save(dialog, output + QStringLiteral("/main-window.png"));

        // Each page is fed just before its picture: the pages blank their
        // fields a few timer ticks after the last reading.
        const std::map<QString, std::function<void(CQ9TesterDlg&)>> feeds = {
            {QStringLiteral("Transponder"), FeedTransponder},
            {QStringLiteral("Beacon"), FeedBeacon},
            {QStringLiteral("Z9 Udu"), FeedZ9Udu},
            {QStringLiteral("Tracksensor"), FeedTrackSensor},
            {QStringLiteral("Loop"), FeedLoop},
            {QStringLiteral("About"), FeedAbout},
        };
        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("mainTab"));
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            const auto feed = feeds.find(tabs->tabText(i));
            if (feed != feeds.end())
                feed->second(dialog);
            ok &= Save(dialog, output + QStringLiteral("/tab-%1.png").arg(FileName(tabs->tabText(i))));
            // Listening holds the tabs; the picture is taken.
            if (dialog.findChild<CTrackSensorPage*>()->IsListening())
                dialog.OnListeningChanged(kListeningStopped);
        }

        ok &= SaveEmulationSending(dialog, output);
        ok &= SaveEmulationLoadFailure(output);
        ok &= ShootServerPage(dialog, *tabs, output);

        int unit = 1;
        CSettingsDlg settings(&unit);
        settings.show();
        ok &= Save(settings, output + QStringLiteral("/settings-dialog.png"));
    }
    std::filesystem::current_path("/");
    std::filesystem::remove_all(scratch);
    return ok ? 0 : 1;
}

// Saves pictures of the real main dialog, built offscreen with no Tester: the
// window with its log area shown, each main tab, and the settings dialog.
//   q9tester-screenshots [output folder]     (default: docs/screenshots)
// Settings and log files go to a scratch folder that is removed afterwards.

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <array>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "LogRowEvent.h"
#include "LoggingTabCtrl.h"
#include "Q9TesterDlg.h"
#include "SettingsDlg.h"
#include "TesterDevice.h"

namespace {

// No Tester attached: every search fails.
class CNoTesterDevice : public CTesterDevice {
  public:
    bool CreateDeviceInfoList(uint32_t& count) override
    {
        count = 0;
        return false;
    }
    bool GetDeviceDescription(uint32_t, std::string&) override { return false; }
    bool Open(uint32_t) override { return false; }
    bool SetBaudRate(uint32_t) override { return true; }
    bool SetDataCharacteristics(uint8_t, uint8_t, uint8_t) override { return true; }
    bool Purge(uint32_t) override { return true; }
    bool SetTimeouts(uint32_t, uint32_t) override { return true; }
    bool SetFlowControl(uint16_t, uint8_t, uint8_t) override { return true; }
    bool Read(uint8_t&, uint32_t&) override { return false; }
    bool Write(uint8_t, uint32_t&) override { return false; }
    void Close() override {}
};

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

void PostSampleRows(CLoggingTabCtrl& logTab)
{
    const std::array<std::string, 7> rows[] = {
        {"Car 7", "1234567", "42", "Korvo", "Low", "12", "05-12-2026 17:24:48"},
        {"", "CC-12345", "", "Mindlet", "", "", "05-12-2026 17:24:50"},
        {"Finish line", "4501", "", "Beacon", "3.6", "", "05-12-2026 17:24:53"},
    };
    for (const auto& cells : rows) {
        auto row = std::make_unique<LogRow>();
        row->cells = cells;
        PostLogRow(&logTab, WM_LOG_TRANSPONDER_ROW, std::move(row));
    }
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
        CNoTesterDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        dialog.SetLogVisible(true);
        dialog.show();
        PostSampleRows(*dialog.findChild<CLoggingTabCtrl*>(QStringLiteral("logTab")));
        ok &= Save(dialog, output + QStringLiteral("/main-window.png"));

        auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("mainTab"));
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            ok &= Save(dialog, output + QStringLiteral("/tab-%1.png").arg(FileName(tabs->tabText(i))));
        }

        int unit = 1;
        CSettingsDlg settings(&unit);
        settings.show();
        ok &= Save(settings, output + QStringLiteral("/settings-dialog.png"));
    }
    std::filesystem::current_path("/");
    std::filesystem::remove_all(scratch);
    return ok ? 0 : 1;
}

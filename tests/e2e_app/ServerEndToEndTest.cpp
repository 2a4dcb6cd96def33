// The real main dialog with the real server-access library against ividiv-sim:
// synchronised from the server, a transponder that tester-sim then reports is
// logged with the server's label and short id; a wrong password is reported
// and leaves the settings file as it was.
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <fstream>
#include <functional>
#include <regex>
#include <sys/stat.h>

#include "AppSettings.h"
#include "AppTestSupport.h"
#include "Ftd2xxDevice.h"
#include "IvidivSimProcess.h"
#include "LogFileRows.h"
#include "Q9ServerPage.h"

using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 20s; // generous: sanitizer builds on a busy machine

class ServerEndToEnd : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // tester-sim plugs in where the device layer looks: a private runtime folder.
        const fs::path runtime = m_work.Path() / "run";
        ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        std::ofstream(m_work.Path() / "transponders.csv") << "id,short id,label\n"
                                                          << "1234567,17,Car 7 M\xC3\xBCller\n"
                                                          << "7001234,,Safety car\n"
                                                          << "1234567,99,Never found\n";
        m_server = std::make_unique<CIvidivSimProcess>(
            std::vector<std::string>{"--transponders", (m_work.Path() / "transponders.csv").string()});
        ASSERT_NE(m_server->Port(), 0) << m_server->Log();
        m_server->UseForLibrary();
    }

    static bool RunUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!done() && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); // timers wake it
        return done();
    }

    // Fills the page as a user would and presses "Synchronize"; true once
    // the status line reads `outcome`.
    bool Synchronize(CQ9TesterDlg& dialog, const QString& password, const char* outcome) const
    {
        auto* page = dialog.findChild<CQ9ServerPage*>();
        const auto field = [page](const char* name) { return page->findChild<QLineEdit*>(name); };
        field("host")->setText(QStringLiteral("127.0.0.1:%1").arg(m_server->Port()));
        field("user")->setText(QString::fromLatin1(CIvidivSimProcess::kUser));
        field("password")->setText(password);
        page->findChild<QPushButton*>("synchronize")->click();
        return RunUntil([&] { return field("status")->text() == QString::fromLatin1(outcome); });
    }

    // The transponder log file's row for `id` and `type`, cells split.
    static std::vector<std::string> LoggedRow(const std::string& id, const std::string& type)
    {
        for (const std::vector<std::string>& cells : LogFileRows("Tester_"))
            if (cells.size() == 7 && cells[0] == id && cells[3] == type)
                return cells;
        return {};
    }

    std::unique_ptr<CIvidivSimProcess> m_server;
};

} // namespace

TEST_F(ServerEndToEnd, ASynchronisedTransponderIsLoggedWithTheServersLabelAndShortId)
{
    {
        CFtd2xxDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        dialog.show();
        ASSERT_TRUE(Synchronize(dialog, QString::fromUtf8(CIvidivSimProcess::kPassword),
                                "Transponder data synchronized with server"));
        EXPECT_TRUE(std::regex_match(StatusBar(dialog)->GetText(1).toStdString(),
                                     std::regex(R"(D9 Ividiv: \d\d-\d\d-\d{4} \d\d:\d\d:\d\d)")));
        EXPECT_EQ(dialog.Translations().GetCount(), 3u);

        // Plugged in only now, so that each device's first row comes after the data.
        CChildProcess tester(TESTER_SIM_PATH, {"--pace", "real", "--quiet", "--name", "sim"});
        ASSERT_TRUE(tester.Started());
        ASSERT_TRUE(RunUntil(
            [] { return !LoggedRow("1234567", "Korvo").empty() && !LoggedRow("7001234", "Q9").empty(); }));
        // The label arrives as Windows-1252, as every text of the log file.
        EXPECT_EQ(LoggedRow("1234567", "Korvo")[1], "Car 7 M\xFCller");
        EXPECT_EQ(LoggedRow("1234567", "Korvo")[2], "17");
        EXPECT_EQ(LoggedRow("7001234", "Q9")[1], "Safety car");
        EXPECT_EQ(LoggedRow("7001234", "Q9")[2], "");
    }
    // Written at exit: the host field's text, port included, and the user name.
    const std::string settings = ReadWholeFile(ConfigFile().string());
    EXPECT_NE(settings.find("Host=127.0.0.1:" + std::to_string(m_server->Port())), std::string::npos)
        << settings;
    EXPECT_NE(settings.find(std::string("Login=") + CIvidivSimProcess::kUser), std::string::npos) << settings;
}

TEST_F(ServerEndToEnd, AWrongPasswordIsReportedAndLeavesTheSettingsFileAsItWas)
{
    CFtd2xxDevice device;
    {
        CQ9TesterDlg dialog(device, nullptr);
        dialog.Settings().host = "ividiv.example:8443";
        dialog.Settings().login = "tech";
    }
    const std::string before = ReadWholeFile(ConfigFile().string());
    ASSERT_NE(before.find("Host=ividiv.example:8443"), std::string::npos) << before;
    {
        CQ9TesterDlg dialog(device, nullptr);
        dialog.show();
        EXPECT_TRUE(Synchronize(dialog, QStringLiteral("wrong"), "Invalid user name or password specified"));
        EXPECT_EQ(StatusBar(dialog)->GetText(1), QStringLiteral("D9 Ividiv: Not synchronized"));
    }
    EXPECT_EQ(ReadWholeFile(ConfigFile().string()), before);
}

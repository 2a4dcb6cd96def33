// The real main dialog and server-access library against ividiv-sim, a transponder from tester-sim.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <sys/stat.h>

#include "AppTestSupport.h"
#include "Ftd2xxDevice.h"
#include "IvidivSimProcess.h"
#include "Q9ServerPage.h"
#include "TempFolder.h"
#include "TransponderLogPage.h"

namespace {

constexpr int kPatienceMs = 20000; // generous: sanitizer builds on a busy machine

class ServerEndToEnd : public AppTest {
  protected:
    // The transponder log's row that begins with `start`, without its time of day.
    static std::string LoggedRow(QWidget& dialog, const std::string& start)
    {
        for (const std::string& row : LogRows(*LogTab(dialog)->TransponderLogPage()->List(), 6))
            if (row.starts_with(start))
                return row;
        return {};
    }
};

} // namespace

TEST_F(ServerEndToEnd, ASynchronisedTransponderIsLoggedWithTheServersLabelAndShortId)
{
    const fs::path runtime = m_work.Path() / "run";
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    std::ofstream(m_work.Path() / "transponders.csv") << "id,short id,label\n"
                                                      << "1234567,17,Car 7 M\xC3\xBCller\n";
    CIvidivSimProcess server({"--transponders", (m_work.Path() / "transponders.csv").string()});
    ASSERT_NE(server.Port(), 0) << server.Log();
    server.UseForLibrary();
    {
        CFtd2xxDevice device;
        CQ9TesterDlg dialog(device, nullptr);
        dialog.show();
        auto* page = dialog.findChild<CQ9ServerPage*>();
        const auto field = [page](const char* name) { return page->findChild<QLineEdit*>(name); };
        field("host")->setText(QStringLiteral("127.0.0.1:%1").arg(server.Port()));
        field("user")->setText(QString::fromLatin1(CIvidivSimProcess::kUser));
        field("password")->setText(QString::fromUtf8(CIvidivSimProcess::kPassword));
        page->findChild<QPushButton*>("synchronize")->click();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return field("status")->text() == "Transponder data synchronized with server"; },
            kPatienceMs));

        // Plugged in only now, so that each device's first row comes after the data.
        CChildProcess tester(TESTER_SIM_PATH, {"--pace", "real", "--quiet", "--name", "sim"});
        ASSERT_TRUE(tester.Started());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !LoggedRow(dialog, "1234567,").empty(); }, kPatienceMs));
        // The label arrives as Windows-1252, as every text of the log.
        EXPECT_EQ(LoggedRow(dialog, "1234567,"), "1234567,Car 7 M\xFCller,17,Korvo,,");
    }
    // Written at exit: the host field's text, port included, and the user name.
    const std::string settings = ReadFileBytes(ConfigFile().string());
    EXPECT_NE(settings.find("Host=127.0.0.1:" + std::to_string(server.Port())), std::string::npos)
        << settings;
    EXPECT_NE(settings.find(std::string("Login=") + CIvidivSimProcess::kUser), std::string::npos) << settings;
}

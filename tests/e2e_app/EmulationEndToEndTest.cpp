// The program's main dialog, on the real device layer, against tester-sim:
// a CAN message sequence of the sample LoopEmulator.xml (beside this test, as
// beside the program) goes out on the wire exactly as the Tester expects it,
// and the CAN message log file tells what was sent, confirmed and received.
// The program itself has no command line to pick a sequence with, so the
// dialog runs in this process and the test presses its buttons.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "ChildProcess.h"
#include "EmulationPage.h"
#include "Ftd2xxDevice.h"
#include "LogFileRows.h"
#include "Q9TesterDlg.h"
#include "TesterWorkspace.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 20s;

class EmulationEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override
    {
        m_workspace = std::make_unique<CTesterWorkspace>("q9-e2e-emulation");
        m_root = m_workspace->Root();
    }
    void TearDown() override
    {
        m_dialog.reset();
        m_device.reset();
        m_sim.reset();
        m_workspace.reset();
    }

    // The simulated Tester, recording what it is sent, and the dialog once
    // it has found it.
    void Start(std::vector<std::string> extra = {})
    {
        std::vector<std::string> arguments{"--pace", "real",     "--quiet", "--name",
                                           "sim",    "--record", Recorded()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        m_sim = std::make_unique<CChildProcess>(TESTER_SIM_PATH, arguments);
        ASSERT_TRUE(m_sim->Started());
        ASSERT_TRUE(WaitForFile((m_root / "run" / "q9tester-devices" / "sim").string(), kPatience));
        m_device = std::make_unique<CFtd2xxDevice>();
        m_dialog = std::make_unique<CQ9TesterDlg>(*m_device, nullptr);
        m_page = m_dialog->findChild<CEmulationPage*>();
        ASSERT_TRUE(Until([this] { return Button("canSend")->isEnabled(); })) << "no Tester found";
    }

    QPushButton* Button(const char* name)
    {
        return m_page->findChild<QPushButton*>(QString::fromLatin1(name));
    }

    void Send(const char* sequence)
    {
        auto* list = m_page->findChild<QComboBox*>("canList");
        list->setCurrentIndex(list->findText(QString::fromLatin1(sequence)));
        ASSERT_GE(list->currentIndex(), 0) << sequence;
        Button("canSend")->click();
    }

    // Runs the event loop until `done` or the patience ends.
    template <typename Condition> bool Until(Condition done)
    {
        return QTest::qWaitFor(done, static_cast<int>(std::chrono::milliseconds(kPatience).count()));
    }

    std::string Recorded() const { return (m_root / "recorded").string(); }

    // The CAN message commands on the wire, each up to its line feed.
    std::vector<std::string> CanCommands() const
    {
        const std::string bytes = ReadWholeFile(Recorded());
        std::vector<std::string> commands;
        for (auto at = bytes.find('m'); at != std::string::npos; at = bytes.find('m', at + 1))
            commands.push_back(bytes.substr(at, bytes.find('\n', at) - at + 1));
        return commands;
    }

    // Action, label, ID, short ID, CAN id and data of each CAN log file row.
    static std::vector<std::vector<std::string>> CanLog()
    {
        std::vector<std::vector<std::string>> rows = LogFileRows("CanMessage_");
        for (std::vector<std::string>& row : rows)
            row.resize(std::min<size_t>(row.size(), 6)); // the time of day goes
        return rows;
    }

    // Waits until the CAN log file holds `count` rows and returns them.
    std::vector<std::vector<std::string>> WaitForCanLog(size_t count)
    {
        Until([&] { return CanLog().size() >= count; });
        return CanLog();
    }

    std::unique_ptr<CTesterWorkspace> m_workspace;
    fs::path m_root;
    std::unique_ptr<CChildProcess> m_sim;
    std::unique_ptr<CFtd2xxDevice> m_device;
    std::unique_ptr<CQ9TesterDlg> m_dialog;
    CEmulationPage* m_page = nullptr;
};

using Rows = std::vector<std::vector<std::string>>;

} // namespace

TEST_F(EmulationEndToEnd, ASequenceGoesOutAtItsPaceAndIsLogged)
{
    Start();
    Send("Start timing");
    ASSERT_TRUE(Until([this] { return !Button("canSend")->isHidden(); })) << "the sequence did not end";
    EXPECT_EQ(WaitForCanLog(6), (Rows{
                                    {"Sending (1/3): Reset clock", "", "", "", "1A0", "01 FF 7E "},
                                    {"Sent", "", "", "", "", ""},
                                    {"Sending (2/3): Set gate", "", "", "", "1A1", "02 00 "},
                                    {"Sent", "", "", "", "", ""},
                                    {"Sending (3/3): Go", "", "", "", "1A2", "10 20 30 40 50 60 70 80 "},
                                    {"Sent", "", "", "", "", ""},
                                }));
    EXPECT_EQ(CanCommands(), (std::vector<std::string>{"m12,1a0,3,0,1,FF,7E\n", "m12,1a1,2,0,2,0\n",
                                                       "m12,1a2,8,0,10,20,30,40,50,60,70,80\n"}));
}

TEST_F(EmulationEndToEnd, MessagesTheTesterReceivesAreLogged)
{
    Start({"--rx-every", "1"});
    Send("Wake up decoder");
    EXPECT_EQ(WaitForCanLog(3), (Rows{
                                    {"Sending: Wake up", "", "", "", "1A0", "01 "},
                                    {"Sent", "", "", "", "", ""},
                                    {"Received", "", "12", "", "1A0", "01 "},
                                }));
    EXPECT_TRUE(Until([this] { return !Button("canSend")->isHidden(); })) << "#msg done did not end it";
}

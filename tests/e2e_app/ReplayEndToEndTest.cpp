// A session against tester-sim, recorded through the recording device as the
// program records it, then replayed into a fresh main dialog: both dialogs
// end with the same texts on every page. The log rows are compared by the
// program's own end-to-end test; the pages are not written anywhere, so the
// dialogs run in this process.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "ChildProcess.h"
#include "Ftd2xxDevice.h"
#include "MainTabCtrl.h"
#include "Q9TesterDlg.h"
#include "RecordingDevice.h"
#include "TesterWorkspace.h"

using namespace std::chrono_literals;

namespace {

constexpr int kPatienceMs = 60000;

using Fields = std::vector<std::string>;

// Swallows a page's timer ticks. The ticks only age what is shown (blank a
// field after reports stop, plot the graph), so when they fall depends on
// the machine's load; without them each field holds what the last report of
// its kind put there, which a faithful replay must reproduce exactly.
class CTickSwallower : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
};

// The main dialog, its pages' texts taken as the link is lost: in the turn
// that delivers the loss, so after every report before it and nothing
// later, and again once the dialog has handled it.
class CWatchedDialog : public CQ9TesterDlg {
  public:
    explicit CWatchedDialog(CTesterDevice& device) : CQ9TesterDlg(device, nullptr)
    {
        auto* tabs = findChild<CMainTabCtrl*>();
        for (int i = 0; i < tabs->count(); ++i)
            tabs->widget(i)->installEventFilter(&m_swallower);
    }
    void OnConnected() override
    {
        m_connected = true;
        CQ9TesterDlg::OnConnected();
    }
    void OnDisconnected() override
    {
        const bool lost = m_connected && m_atLoss.empty();
        if (lost)
            m_atLoss = Texts();
        CQ9TesterDlg::OnDisconnected();
        if (lost)
            m_afterLoss = Texts();
    }

    // "tab/name=text" of every label and line edit, in the pages' order.
    Fields Texts() const
    {
        Fields texts;
        auto* tabs = findChild<CMainTabCtrl*>();
        for (int i = 0; i < tabs->count(); ++i) {
            const QString prefix = tabs->tabText(i) + "/";
            for (auto* label : tabs->widget(i)->findChildren<QLabel*>())
                texts.push_back((prefix + label->objectName() + "=" + label->text()).toStdString());
            for (auto* edit : tabs->widget(i)->findChildren<QLineEdit*>())
                texts.push_back((prefix + edit->objectName() + "=" + edit->text()).toStdString());
        }
        return texts;
    }

    Fields m_atLoss;
    Fields m_afterLoss;

  private:
    CTickSwallower m_swallower;
    bool m_connected = false;
};

// Runs a dialog on `device` against the simulator started with `arguments`
// until the link is lost.
std::unique_ptr<CWatchedDialog> RunUntilLoss(const CTesterWorkspace& workspace, CTesterDevice& device,
                                             const std::vector<std::string>& arguments)
{
    CChildProcess sim(TESTER_SIM_PATH, arguments);
    EXPECT_TRUE(WaitForFile((workspace.RuntimeDir() / "q9tester-devices" / "sim").string(), 20s));
    auto dialog = std::make_unique<CWatchedDialog>(device);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->m_afterLoss.empty(); }, kPatienceMs)) << "no loss";
    return dialog;
}

} // namespace

TEST(ReplayEndToEnd, AReplayedRecordingLeavesEveryPageAsTheSessionDid)
{
    CTesterWorkspace workspace("q9-e2e-replay");
    const std::string recording = (workspace.Root() / "site.q9rec").string();
    Fields site;
    Fields siteAfterLoss;
    {
        CFtd2xxDevice device;
        CRecordingWriter writer;
        ASSERT_TRUE(writer.Open(recording, "q9tester", "test"));
        CRecordingDevice recorder(device, writer);
        const auto dialog = RunUntilLoss(workspace, recorder,
                                         {"--pace", "real", "--seed", "7", "--quiet", "--name", "sim",
                                          "--garbage-every", "9", "--unplug-after", "6"});
        site = dialog->m_atLoss;
        siteAfterLoss = dialog->m_afterLoss;
    }
    // What the session showed is worth comparing: a transponder and the
    // firmware were on their pages when the Tester went away.
    EXPECT_EQ(std::count(site.begin(), site.end(), "Transponder/id="), 0) << ::testing::PrintToString(site);
    EXPECT_EQ(std::count(site.begin(), site.end(), "About/firmware=Firmware version: 2.3"), 1);

    CFtd2xxDevice device;
    const auto desk = RunUntilLoss(workspace, device, {"--replay", recording, "--quiet", "--name", "sim"});
    EXPECT_EQ(desk->m_atLoss, site);
    EXPECT_EQ(desk->m_afterLoss, siteAfterLoss);
}

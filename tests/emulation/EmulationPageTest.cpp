// The page on a real link to a recording device; the sequence timer's ticks are called by hand.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <memory>
#include <vector>

#include "CanMessageLogPage.h"
#include "EmulationPage.h"
#include "LogListModel.h"
#include "LoggingListCtrl.h"
#include "LoggingTabCtrl.h"
#include "RecordingTesterDevice.h"
#include "TempFolder.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TransponderLogPage.h"
#include "WaitUntil.h"

namespace {

const char kDefinitions[] = R"(<?xml version="1.0"?>
<loopemulator>
  <messagesequence name="Three">
    <tbm>2.5</tbm>
    <canmessage name="M1"><twowayid>12</twowayid><canid>1A0</canid><data>01</data><data>FF</data><data>7E</data></canmessage>
    <canmessage name="M2"><twowayid>12</twowayid><canid>5</canid><rtr>1</rtr></canmessage>
    <canmessage name="M3"><twowayid>63</twowayid><canid>1A1</canid><data>0A</data></canmessage>
  </messagesequence>
  <messagesequence name="Empty"/>
  <messagesequence name="Nine">
    <canmessage name="Long"><twowayid>7</twowayid><canid>1A3</canid>
      <data>1</data><data>2</data><data>3</data><data>4</data><data>5</data><data>6</data><data>7</data><data>8</data><data>9</data>
    </canmessage>
  </messagesequence>
</loopemulator>
)";

// A CAN log row: action, CAN id and data cells.
using Row = std::vector<std::string>;

class EmulationPageTest : public testing::Test {
  protected:
    void SetUp() override
    {
        m_folder.MakeCurrent(); // the log files go here
        m_logTab.SetPages(new CTransponderLogPage, new CCanMessageLogPage);
        m_link.Start();
        // Commands queued before the link has found its Tester are dropped.
        ASSERT_TRUE(m_device.WaitForWritten("t"));
    }

    void CreatePage(const char* definitions)
    {
        const std::string path = (m_folder / "LoopEmulator.xml").string();
        if (definitions) {
            ASSERT_TRUE(WriteFileBytes(path, definitions));
        }
        m_page = std::make_unique<CEmulationPage>(path);
        m_page->SetTesterLink(&m_link);
        m_page->SetLogTabCtrl(&m_logTab);
        m_page->SetTesterConnected(true);
    }

    template <typename Control> Control* Find(const char* name)
    {
        return m_page->findChild<Control*>(QString::fromLatin1(name));
    }

    void Click(const char* button) { Find<QPushButton>(button)->click(); }
    // Chooses entry `index` of `list` and presses `button`; true once `written` is on the wire.
    bool Send(int index, const char* written = nullptr, const char* list = "canList",
              const char* button = "canSend")
    {
        Find<QComboBox>(list)->setCurrentIndex(index);
        Click(button);
        return !written || m_device.WaitForWritten(written);
    }
    QString Status() { return Find<QLabel>("status")->text(); }

    void ExpectState(bool sending, bool timerRunning)
    {
        EXPECT_EQ(Find<QPushButton>("canSend")->isHidden(), sending);
        EXPECT_EQ(Find<QPushButton>("canSend")->isEnabled(), !sending);
        EXPECT_EQ(Find<QComboBox>("canList")->isEnabled(), !sending);
        EXPECT_EQ(Find<QPushButton>("cancel")->isHidden(), !sending);
        EXPECT_EQ(Find<QPushButton>("cancel")->isEnabled(), sending);
        EXPECT_EQ(m_page->IsSequenceTimerRunning(), timerRunning);
    }

    // The CAN log rows added since the last call, oldest first.
    std::vector<Row> NewRows()
    {
        QCoreApplication::sendPostedEvents();
        const CLogRowStore& store = m_logTab.CanMessageLogPage()->List()->Model().Store();
        std::vector<Row> rows;
        for (; m_seenRows < store.Size(); ++m_seenRows)
            rows.push_back({std::string(store.Cell(m_seenRows, 0)), std::string(store.Cell(m_seenRows, 4)),
                            std::string(store.Cell(m_seenRows, 5))});
        return rows;
    }

    CTempFolder m_folder;
    CLoggingTabCtrl m_logTab;
    CRecordingTesterDevice m_device;
    CTesterLink m_link{m_device, nullptr};
    std::unique_ptr<CEmulationPage> m_page;
    size_t m_seenRows = 0;
};

} // namespace

TEST_F(EmulationPageTest, ShowsALoadFailureQueuesTheUsersChoicesAndWalksThroughIdleAndSending)
{
    CreatePage(nullptr); // no file
    EXPECT_TRUE(Status().startsWith("Error loading can message file: ")) << Status().toStdString();
    EXPECT_FALSE(Status().contains('\n'));
    EXPECT_FALSE(Find<QComboBox>("canList")->isEnabled());
    EXPECT_EQ(Find<QComboBox>("canList")->count(), 0);
    Click("transponderSend");
    ASSERT_TRUE(m_device.WaitForWritten("0"));

    CreatePage(kDefinitions);
    EXPECT_EQ(Find<QComboBox>("transponderList")->itemText(4), "5678901");
    ASSERT_TRUE(Send(3, "3", "transponderList", "transponderSend"));
    ASSERT_TRUE(Send(0, "l1\n", "decoderList", "loopSend"));
    EXPECT_EQ(Find<QComboBox>("canList")->itemText(0), "Three");
    ExpectState(false, false);

    // Three messages: the first at once, the others on the timer's ticks.
    Send(0);
    ExpectState(true, true);
    EXPECT_EQ(NewRows(), (std::vector<Row>{{"Sending (1/3): M1", "1A0", "01 FF 7E "}}));
    m_page->OnTimer();
    m_page->OnTransmitResult(kTransmitMsgDone); // for M1: not the last
    ExpectState(true, true);
    m_page->OnTimer();
    ExpectState(false, false);
    EXPECT_EQ(NewRows(),
              (std::vector<Row>{{"Sending (2/3): M2", "005", ""}, {"Sending (3/3): M3", "1A1", "0A "}}));
    ASSERT_TRUE(m_device.WaitForWritten("m63,1a1,1,0,A\n"));
    EXPECT_EQ(CountOccurrences(m_device.Written(), "m12,5,0,1\n"), 1);

    // One message: sending until the Tester has answered it; more than 8 data bytes go (and log) as none.
    ASSERT_TRUE(Send(2, "m7,1a3,0,0\n"));
    ExpectState(true, false);
    m_page->OnTransmitResult(kTransmitTxDone);
    EXPECT_EQ(NewRows(), (std::vector<Row>{{"Sending: Long", "1A3", ""}, {"Sent", "", ""}}));
    ExpectState(true, false);
    m_page->OnTransmitResult(kTransmitInvalidParameter);
    ExpectState(false, false);

    // No messages: nothing changes.
    Send(1);
    ExpectState(false, false);
    EXPECT_TRUE(NewRows().empty());

    // Cancel stops the timer at once.
    Send(0);
    Click("cancel");
    ExpectState(false, false);
    EXPECT_EQ(NewRows().size(), 1u);

    // A file without sequences: sending until cancelled, with nothing sent.
    CreatePage("<loopemulator/>");
    Click("canSend");
    ExpectState(true, false);
    Click("cancel");
    ExpectState(false, false);
    EXPECT_TRUE(NewRows().empty());
}

TEST_F(EmulationPageTest, AMessageTheLinkRefusesIsNeitherLoggedNorSkipped)
{
    CreatePage(kDefinitions);
    CTesterLink waiting{m_device, nullptr}; // not started yet: its queue of 4 fills up
    m_page->SetTesterLink(&waiting);
    waiting.EmulateTransponder(0);
    waiting.EmulateTransponder(0);
    Send(0);
    m_page->OnTimer();
    m_page->OnTimer(); // M3 finds the queue full
    ExpectState(true, true);
    EXPECT_EQ(waiting.RefusedCommands(), 1u);
    EXPECT_EQ(NewRows().size(), 2u);

    waiting.Start(); // empties the queue when it starts
    std::vector<Row> rows;
    EXPECT_TRUE(WaitUntil(
        [&] {
            m_page->OnTimer();
            rows = NewRows();
            return !rows.empty();
        },
        std::chrono::seconds(5), std::chrono::milliseconds(10)));
    EXPECT_EQ(rows, (std::vector<Row>{{"Sending (3/3): M3", "1A1", "0A "}}));
    ExpectState(false, false);
}

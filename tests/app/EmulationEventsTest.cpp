// The main dialog's emulation handlers: transmission results, received CAN
// messages and the emulation page's share of the connection handlers.

#include <QComboBox>
#include <QPushButton>
#include <fstream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "CanMessageLogPage.h"
#include "EmulationPage.h"
#include "FakeTesterDevice.h"
#include "LogListModel.h"
#include "LoggingListCtrl.h"
#include "LoopEmulatorPath.h"
#include "TesterLink.h"
#include "TesterRecords.h"

namespace {

// Five messages, one a second; the dialog's page reads it beside the program.
const char kFiveMessages[] = R"(<loopemulator>
  <messagesequence name="Five">
    <canmessage name="A"><twowayid>1</twowayid><canid>10</canid><data>1</data></canmessage>
    <canmessage name="B"><twowayid>1</twowayid><canid>11</canid><data>2</data></canmessage>
    <canmessage name="C"><twowayid>1</twowayid><canid>12</canid><data>3</data></canmessage>
    <canmessage name="D"><twowayid>1</twowayid><canid>13</canid><data>4</data></canmessage>
    <canmessage name="E"><twowayid>1</twowayid><canid>14</canid><data>5</data></canmessage>
  </messagesequence>
</loopemulator>
)";

class EmulationEventsTest : public AppTest {
  protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // Written whole under another name first: tests run side by side
        // read the same file.
        const std::string path = LoopEmulatorPath();
        const std::string written = path + "." + std::to_string(getpid());
        std::ofstream(written) << kFiveMessages;
        fs::rename(written, path);
        dialog = std::make_unique<CQ9TesterDlg>(device, nullptr);
        dialog->TesterLink().Stop(); // no lost-link reports of its own
        page = dialog->findChild<CEmulationPage*>();
    }
    void TearDown() override { dialog.reset(); }

    QPushButton* Button(const char* name) { return page->findChild<QPushButton*>(QString::fromLatin1(name)); }

    void ExpectSendButtons(bool enabled)
    {
        for (const char* name : {"transponderSend", "loopSend", "canSend"})
            EXPECT_EQ(Button(name)->isEnabled(), enabled) << name;
    }

    // The CAN log's rows, oldest first, without the time of day.
    std::vector<std::vector<std::string>> Rows()
    {
        QCoreApplication::sendPostedEvents();
        const CLogRowStore& store = LogTab(*dialog)->CanMessageLogPage()->List()->Model().Store();
        std::vector<std::vector<std::string>> rows;
        for (size_t r = 0; r < store.Size(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < 6; ++c)
                rows.back().emplace_back(store.Cell(r, c));
        }
        return rows;
    }

    CFakeTesterDevice device;
    std::unique_ptr<CQ9TesterDlg> dialog;
    CEmulationPage* page = nullptr;
};

} // namespace

TEST_F(EmulationEventsTest, ReceivedMessagesAreLoggedWithTheirTranslation)
{
    const uint8_t data[8] = {0xAA, 0xBB, 1, 2, 3, 4, 5, 6};
    dialog->OnCanReceived(1, 7, 0x1A2, 2, data);
    dialog->Translations().AddTail({7, 0, "Car 7"});
    dialog->Translations().AddTail({9, 42, "Car 9"});
    dialog->OnCanReceived(1, 7, 0x1A2, 2, data);
    dialog->OnCanReceived(1, 9, 0, 0, data);
    // More than the event's 8 bytes: the 8 there are.
    dialog->OnCanReceived(1, 9, 0x5, 200, data);

    EXPECT_EQ(Rows(), (std::vector<std::vector<std::string>>{
                          {"Received", "", "7", "", "1A2", "AA BB "},
                          {"Received", "Car 7", "7", "0", "1A2", "AA BB "},
                          {"Received", "Car 9", "42", "42", "", ""},
                          {"Received", "Car 9", "42", "42", "005", "AA BB 01 02 03 04 05 06 "},
                      }));
}

TEST_F(EmulationEventsTest, LosingTheTesterAbandonsTheSequenceUntilItIsBack)
{
    ExpectSendButtons(false); // until the first Tester connects
    dialog->OnConnected();
    ExpectSendButtons(true);
    ASSERT_EQ(page->findChild<QComboBox*>("canList")->currentText(), "Five");
    Button("canSend")->click();
    page->OnTimer();
    dialog->OnTransmitResult(kTransmitTxDone);
    ASSERT_TRUE(page->IsSequenceTimerRunning());

    dialog->OnDisconnected();
    EXPECT_FALSE(page->IsSequenceTimerRunning());
    EXPECT_FALSE(Button("canSend")->isHidden());
    EXPECT_TRUE(Button("cancel")->isHidden());
    EXPECT_FALSE(Button("cancel")->isEnabled());
    EXPECT_TRUE(page->findChild<QComboBox*>("canList")->isEnabled());
    ExpectSendButtons(false);
    dialog->TesterLink().Stop();

    dialog->OnConnected();
    ExpectSendButtons(true);

    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"Sending (2/5): B", "", "", "", "011", "02 "}));
    EXPECT_EQ(rows[2][0], "Sent");
}

// Reading LoopEmulator.xml: value rules, validation order, composed error texts; the timer period.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CanMessages.h"
#include "SequenceTimerPeriod.h"
#include "TempFolder.h"

namespace {

std::string Message(const std::string& children, const std::string& name = "M")
{
    return "<canmessage name='" + name + "'>" + children + "</canmessage>";
}

std::string Sequence(const std::string& children, const std::string& name = "S")
{
    return "<messagesequence name='" + name + "'>" + children + "</messagesequence>";
}

std::string File(const std::string& sequences)
{
    return "<?xml version=\"1.0\"?>\n<loopemulator>" + sequences + "</loopemulator>\n";
}

// A file of one message with these ids and rtr 1, so that it needs no data.
std::string Ids(const std::string& twoWayId, const std::string& canId)
{
    return File(
        Sequence(Message("<twowayid>" + twoWayId + "</twowayid><canid>" + canId + "</canid><rtr>1</rtr>")));
}

const std::string kValid = "<twowayid>12</twowayid><canid>1A0</canid><data>01</data>";

// Writes `text` as a LoopEmulator.xml of its own and loads it.
bool Load(const std::string& text, CCanMessages& messages)
{
    CTempFolder folder;
    const std::string path = (folder / "LoopEmulator.xml").string();
    return WriteFileBytes(path, text) && messages.Load(path);
}

TEST(CanMessages, AFaultFailsTheLoadWithTheComposedTextAndDropsWhatWasKept)
{
    const std::string inFirst = " (canmessage #1 in messagesequence: 'S') (messagesequence #1)";
    const std::string noName = "XML is not fomatted right, 'messagesequence' without name or no "
                               "'messagesequence' element found (messagesequence #";
    const std::string illFormed = File(Sequence(Message(kValid) + "</canid>"));
    const std::string length = std::to_string(illFormed.size());
    const struct {
        std::string file;
        std::string error;
    } cases[] = {
        {"<other><messagesequence name='S'/></other>",
         "XML is not fomatted right, element 'loopemulator' not found"},
        {File(Sequence(Message(kValid)) + Sequence("", "")), noName + "2)"},
        {Ids("256", "1"), "Invalid 2-way id: 0" + inFirst}, // truncated to a byte
        {Ids("255", "1"), "2-Way id not set" + inFirst},
        {Ids("1", "10000"), "Invalid Can id: 10000" + inFirst},
        {Ids("1", "100000000"), "Invalid Can id: 7FFFFFFF" + inFirst}, // saturated
        {Ids("1", "-1"), "CAN id not set" + inFirst},
        // The data rule comes before the range rules, the 2-way id before the CAN id.
        {File(Sequence(Message("<twowayid>0</twowayid><canid>0</canid>"))),
         "No data while RTR is zero" + inFirst},
        {Ids("99", "FFFFF"), "Invalid 2-way id: 99" + inFirst},
        {File(Sequence(Message(kValid)) +
              Sequence(Message(kValid) + Message(kValid) +
                           Message("<twowayid>70</twowayid><canid>1</canid><rtr>1</rtr>"),
                       "Start")),
         "Invalid 2-way id: 70 (canmessage #3 in messagesequence: 'Start') (messagesequence #2)"},
        {illFormed, "Error loading can message file: UTF-8 length " + length + " to windows-1252 length " +
                        length + " lone end tag 'canid' at offset " +
                        std::to_string(illFormed.find("</canid></messagesequence>"))},
    };
    CCanMessages messages;
    ASSERT_TRUE(Load(File(Sequence(Message(kValid))), messages));
    ASSERT_EQ(messages.GetSequenceCount(), 1);
    for (const auto& c : cases) {
        EXPECT_FALSE(Load(c.file, messages)) << c.error;
        EXPECT_EQ(messages.GetErrorText(), c.error);
        EXPECT_EQ(messages.GetSequenceCount(), 0);
    }

    CTempFolder folder;
    EXPECT_FALSE(messages.Load((folder / "LoopEmulator.xml").string()));
    EXPECT_EQ(messages.GetErrorText(), "Error loading can message file: No such file or directory");
}

TEST(CanMessages, TimeBetweenMessagesTakenOnlyFromOneSecondUpAndOnlyTheFirst)
{
    const struct {
        const char* tbm;
        double seconds;
    } cases[] = {{"0.5", 1.0}, {" 3.5s", 3.5}, {"abc", 1.0}, {"inf", 1.0}, {"0X1p4", 16.0}, {"0x1.8", 1.5}};
    for (const auto& c : cases) {
        CCanMessages messages;
        ASSERT_TRUE(Load(File(Sequence("<tbm>" + std::string(c.tbm) + "</tbm>" + Message(kValid))), messages))
            << messages.GetErrorText();
        EXPECT_DOUBLE_EQ(messages.GetSequence(0)->GetTimeBetweenMessages(), c.seconds) << c.tbm;
    }

    // Only the first counts, and messages before it are skipped.
    CCanMessages messages;
    const std::string invalid = Message("<canid>0</canid>", "before");
    ASSERT_TRUE(Load(File(Sequence(invalid + "<tbm>2</tbm>" + Message(kValid, "after") + "<tbm>5</tbm>" +
                                   Message(kValid, "last"))),
                     messages))
        << messages.GetErrorText();
    const CCanMessageSequence* sequence = messages.GetSequence(0);
    EXPECT_DOUBLE_EQ(sequence->GetTimeBetweenMessages(), 2.0);
    ASSERT_EQ(sequence->GetMessageCount(), 2);
    EXPECT_EQ(sequence->GetMessage(0)->GetName(), "after");
    EXPECT_EQ(sequence->GetMessage(1)->GetName(), "last");
}

TEST(CanMessages, TheSequenceTimerTakesTheTimeBetweenMessagesTruncatedToMillisecondsWithinItsRange)
{
    EXPECT_EQ(SequenceTimerPeriodMs(2.5), 2500);
    EXPECT_EQ(SequenceTimerPeriodMs(1.0019), 1001);
    EXPECT_EQ(SequenceTimerPeriodMs(0.0), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(std::nan("")), 10);
    EXPECT_EQ(SequenceTimerPeriodMs(2147483.648), 2147483647);
    EXPECT_EQ(SequenceTimerPeriodMs(1e300), 2147483647);
}

TEST(CanMessages, FieldValuesFollowTheCLibraryParsersAndOptionalPartsMayBeMissing)
{
    CCanMessages messages;
    ASSERT_TRUE(
        Load(File(Sequence(Message("<data>1FF</data><canid> 0x1a0 </canid><twowayid> 12abc</twowayid>"
                                   "<canid>2</canid><twowayid>13</twowayid><data>-1</data><data>zz</data>"
                                   "<rtr>2</rtr><rtr>0</rtr><other>9</other><data>7e</data>",
                                   "A &amp; B"))),
             messages))
        << messages.GetErrorText();
    const CCanMessage* message = messages.GetSequence(0)->GetMessage(0);
    EXPECT_EQ(message->GetName(), "A & B");
    EXPECT_EQ(message->GetCanId(), 0x1A0);
    EXPECT_EQ(message->GetTwoWayId(), 12);
    EXPECT_TRUE(message->GetRtr());
    EXPECT_EQ(message->GetData(), (std::vector<uint8_t>{0xFF, 0xFF, 0x00, 0x7E}));

    // Other elements are passed over; a message needs no name, nor data with rtr 1.
    const std::string rtrOnly =
        "<canmessage><twowayid>63</twowayid><canid>FFFF</canid><rtr>1</rtr></canmessage>";
    ASSERT_TRUE(Load(File("<note/>" + Sequence("<tbm>3</tbm>") + "<other/>" + Sequence(rtrOnly)), messages))
        << messages.GetErrorText();
    ASSERT_EQ(messages.GetSequenceCount(), 2);
    EXPECT_EQ(messages.GetSequence(0)->GetMessageCount(), 0);
    message = messages.GetSequence(1)->GetMessage(0);
    EXPECT_EQ(message->GetName(), "");
    EXPECT_EQ(message->GetCanId(), 0xFFFF);
    EXPECT_EQ(messages.GetSequence(-1), nullptr);
    EXPECT_EQ(messages.GetSequence(1)->GetMessage(1), nullptr);
}

} // namespace

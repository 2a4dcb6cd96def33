// Reading LoopEmulator.xml: the value rules, the validation order and the
// error texts composed from the inside out.
#include <gtest/gtest.h>

#include <string>

#include "CanMessages.h"
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

const std::string kValid = "<twowayid>12</twowayid><canid>1A0</canid><data>01</data>";

struct Loaded {
    bool ok;
    CCanMessages messages;
};

// Writes `text` as a LoopEmulator.xml of its own and loads it.
void Load(const std::string& text, Loaded& loaded)
{
    CTempFolder folder;
    const std::string path = (folder / "LoopEmulator.xml").string();
    ASSERT_TRUE(WriteFileBytes(path, text));
    loaded.ok = loaded.messages.Load(path);
    EXPECT_EQ(loaded.messages.GetFilePath(), path);
}

struct ErrorCase {
    const char* label;
    std::string file;
    std::string error;
};

// Test listings name a case by its label, not by a dump of its bytes.
void PrintTo(const ErrorCase& c, std::ostream* os)
{
    *os << c.label;
}

class CanMessagesError : public testing::TestWithParam<ErrorCase> {};

TEST_P(CanMessagesError, FailsWithTheComposedTextAndKeepsNothing)
{
    Loaded loaded;
    Load(GetParam().file, loaded);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.messages.GetErrorText(), GetParam().error);
    EXPECT_EQ(loaded.messages.GetSequenceCount(), 0);
}

std::string InFirst(const std::string& rule)
{
    return rule + " (canmessage #1 in messagesequence: 'S') (messagesequence #1)";
}

const std::string kIllFormed = File(Sequence(Message(kValid) + "</canid>"));

INSTANTIATE_TEST_SUITE_P(
    Rules, CanMessagesError,
    testing::Values(
        ErrorCase{"root_not_loopemulator", "<other><messagesequence name='S'/></other>",
                  "XML is not fomatted right, element 'loopemulator' not found"},
        ErrorCase{
            "sequence_without_name", File("<messagesequence><canmessage/></messagesequence>"),
            "XML is not fomatted right, 'messagesequence' without name or no 'messagesequence' element found "
            "(messagesequence #1)"},
        ErrorCase{
            "sequence_with_empty_name", File(Sequence(Message(kValid)) + Sequence("", "")),
            "XML is not fomatted right, 'messagesequence' without name or no 'messagesequence' element found "
            "(messagesequence #2)"},
        ErrorCase{"twowayid_256_truncates_to_0",
                  File(Sequence(Message("<twowayid>256</twowayid><canid>1</canid><rtr>1</rtr>"))),
                  InFirst("Invalid 2-way id: 0")},
        ErrorCase{"twowayid_255_is_not_set",
                  File(Sequence(Message("<twowayid>255</twowayid><canid>1</canid><rtr>1</rtr>"))),
                  InFirst("2-Way id not set")},
        ErrorCase{"canid_10000",
                  File(Sequence(Message("<twowayid>1</twowayid><canid>10000</canid><rtr>1</rtr>"))),
                  InFirst("Invalid Can id: 10000")},
        ErrorCase{"canid_overflow_saturates",
                  File(Sequence(Message("<twowayid>1</twowayid><canid>100000000</canid><rtr>1</rtr>"))),
                  InFirst("Invalid Can id: 7FFFFFFF")},
        ErrorCase{"canid_minus_one_reads_as_not_set",
                  File(Sequence(Message("<twowayid>1</twowayid><canid>-1</canid><rtr>1</rtr>"))),
                  InFirst("CAN id not set")},
        ErrorCase{"data_rule_before_range_rules",
                  File(Sequence(Message("<twowayid>0</twowayid><canid>0</canid>"))),
                  InFirst("No data while RTR is zero")},
        ErrorCase{"twowayid_rule_before_canid_rule",
                  File(Sequence(Message("<twowayid>99</twowayid><canid>FFFFF</canid><rtr>1</rtr>"))),
                  InFirst("Invalid 2-way id: 99")},
        ErrorCase{
            "composed_inside_out",
            File(Sequence(Message(kValid)) + Sequence(Message(kValid) + Message(kValid) +
                                                          Message("<twowayid>70</twowayid><canid>1</canid>"
                                                                  "<rtr>1</rtr>"),
                                                      "Start")),
            "Invalid 2-way id: 70 (canmessage #3 in messagesequence: 'Start') (messagesequence #2)"},
        ErrorCase{"ill_formed_file", kIllFormed,
                  "Error loading can message file: UTF-8 length " + std::to_string(kIllFormed.size()) +
                      " to windows-1252 length " + std::to_string(kIllFormed.size()) +
                      " lone end tag 'canid' at offset " +
                      std::to_string(kIllFormed.find("</canid></messagesequence>"))}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.label); });

TEST(CanMessages, MissingFileTellsTheReadersText)
{
    CTempFolder folder;
    CCanMessages messages;
    EXPECT_FALSE(messages.Load((folder / "LoopEmulator.xml").string()));
    EXPECT_EQ(messages.GetErrorText(), "Error loading can message file: No such file or directory");
}

TEST(CanMessages, TimeBetweenMessagesTakenOnlyFromOneSecondUp)
{
    const struct {
        const char* tbm;
        double seconds;
    } cases[] = {{"0.5", 1.0},   {"1", 1.0},     {" 3.5s", 3.5},   {"abc", 1.0},
                 {"inf", 1.0},   {"1e999", 1.0}, {"+2", 2.0},      {"0X1p4", 16.0},
                 {"0x1.8", 1.5}, {"0x", 1.0},    {"0x1p9999", 1.0}};
    for (const auto& c : cases) {
        Loaded loaded;
        Load(File(Sequence("<tbm>" + std::string(c.tbm) + "</tbm>" + Message(kValid))), loaded);
        ASSERT_TRUE(loaded.ok) << loaded.messages.GetErrorText();
        EXPECT_DOUBLE_EQ(loaded.messages.GetSequence(0)->GetTimeBetweenMessages(), c.seconds) << c.tbm;
    }
}

TEST(CanMessages, OnlyTheFirstTbmCountsAndMessagesBeforeItAreSkipped)
{
    Loaded loaded;
    const std::string invalid = Message("<canid>0</canid>", "before");
    Load(File(Sequence(invalid + "<tbm>2</tbm>" + Message(kValid, "after") + "<tbm>5</tbm>" +
                       Message(kValid, "last"))),
         loaded);
    ASSERT_TRUE(loaded.ok) << loaded.messages.GetErrorText();
    const CCanMessageSequence* sequence = loaded.messages.GetSequence(0);
    EXPECT_DOUBLE_EQ(sequence->GetTimeBetweenMessages(), 2.0);
    ASSERT_EQ(sequence->GetMessageCount(), 2);
    EXPECT_EQ(sequence->GetMessage(0)->GetName(), "after");
    EXPECT_EQ(sequence->GetMessage(1)->GetName(), "last");
}

TEST(CanMessages, FieldValuesFollowTheCLibraryParsers)
{
    Loaded loaded;
    Load(File(Sequence(Message("<data>1FF</data><canid> 0x1a0 </canid><twowayid> 12abc</twowayid>"
                               "<canid>2</canid><twowayid>13</twowayid><data>-1</data><data>zz</data>"
                               "<rtr>2</rtr><rtr>0</rtr><other>9</other><data>7e</data>",
                               "A &amp; B"))),
         loaded);
    ASSERT_TRUE(loaded.ok) << loaded.messages.GetErrorText();
    const CCanMessage* message = loaded.messages.GetSequence(0)->GetMessage(0);
    EXPECT_EQ(message->GetName(), "A & B");
    EXPECT_EQ(message->GetCanId(), 0x1A0);
    EXPECT_EQ(message->GetTwoWayId(), 12);
    EXPECT_TRUE(message->GetRtr());
    EXPECT_EQ(message->GetData(), (std::vector<uint8_t>{0xFF, 0xFF, 0x00, 0x7E}));
}

TEST(CanMessages, EmptySequencesAndFilesAndRtrWithoutDataAreValid)
{
    Loaded empty;
    Load(File(""), empty);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.messages.GetSequenceCount(), 0);
    EXPECT_EQ(empty.messages.GetErrorText(), "");

    Loaded loaded;
    const std::string rtrOnly =
        "<canmessage><twowayid>63</twowayid><canid>FFFF</canid><rtr>1</rtr></canmessage>";
    Load(File("<note/>" + Sequence("<tbm>3</tbm>", "Empty") + "<other/>" + Sequence(rtrOnly, "Full")),
         loaded);
    ASSERT_TRUE(loaded.ok) << loaded.messages.GetErrorText();
    ASSERT_EQ(loaded.messages.GetSequenceCount(), 2);
    EXPECT_EQ(loaded.messages.GetSequence(0)->GetName(), "Empty");
    EXPECT_EQ(loaded.messages.GetSequence(0)->GetMessageCount(), 0);
    EXPECT_EQ(loaded.messages.GetSequence(1)->GetName(), "Full");
    const CCanMessage* message = loaded.messages.GetSequence(1)->GetMessage(0);
    EXPECT_EQ(message->GetName(), "");
    EXPECT_EQ(message->GetCanId(), 0xFFFF);
    EXPECT_TRUE(message->GetData().empty());
    EXPECT_EQ(loaded.messages.GetSequence(2), nullptr);
    EXPECT_EQ(loaded.messages.GetSequence(-1), nullptr);
    EXPECT_EQ(loaded.messages.GetSequence(1)->GetMessage(1), nullptr);
}

TEST(CanMessages, FailedReloadDropsWhatAnEarlierLoadKept)
{
    CCanMessages messages;
    CTempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "good.xml", File(Sequence(Message(kValid)))));
    ASSERT_TRUE(messages.Load((folder / "good.xml").string()));
    ASSERT_EQ(messages.GetSequenceCount(), 1);
    ASSERT_TRUE(WriteFileBytes(folder / "bad.xml",
                               File(Sequence(Message(kValid)) + Sequence(Message("<canid>1</canid>")))));
    EXPECT_FALSE(messages.Load((folder / "bad.xml").string()));
    EXPECT_EQ(messages.GetSequenceCount(), 0);
    EXPECT_EQ(messages.GetErrorText(),
              "2-Way id not set (canmessage #1 in messagesequence: 'S') (messagesequence #2)");
}

} // namespace

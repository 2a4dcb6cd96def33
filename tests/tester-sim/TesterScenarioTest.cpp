#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "ReplyWriter.h"
#include "SimOptions.h"
#include "TesterScenario.h"

namespace {

SimCommand Cmd(const std::string& text)
{
    return {text[0], text};
}

std::vector<std::string> Transcript(uint32_t seed, int cycles)
{
    CTesterScenario scenario(ScenarioSettings{seed});
    std::vector<std::string> lines;
    for (int i = 0; i < cycles; ++i) {
        for (const char poll : std::string("tcbnx")) {
            const std::vector<std::string> answer = scenario.Answer(Cmd(std::string(1, poll)));
            lines.insert(lines.end(), answer.begin(), answer.end());
        }
    }
    return lines;
}

TEST(TesterScenario, PollRepliesAreWellFormedAndFollowTheSeed)
{
    EXPECT_EQ(Transcript(7, 50), Transcript(7, 50));
    EXPECT_NE(Transcript(7, 50), Transcript(8, 50));
    // Which devices the world holds is the end-to-end test's; here every line has a known form.
    const std::regex known(
        R"(#(t,\d+,\d+,[01],\d+|c,\d+,\d+|b,\d+,\d+,\d+,\d+|x,\d+,[A-Z]{2}-\d{5},\d+,\d+|n,\d+|no [a-z]+)\r\n)");
    int loops = 0;
    for (const std::string& line : Transcript(1, 200)) {
        ASSERT_LT(line.size(), 128u) << line;
        EXPECT_TRUE(std::regex_match(line, known)) << line;
        loops += line.rfind("#n,", 0) == 0;
    }
    EXPECT_EQ(loops, 200); // the loop once a cycle
}

TEST(TesterScenario,
     EveryNthCanMessageIsEchoedCommandsOutOfRangeAreRefusedAndEmulationRepliesFitTheHostsBuffer)
{
    ScenarioSettings settings;
    settings.rxEvery = 2;
    CTesterScenario scenario(settings);
    using Lines = std::vector<std::string>;
    // Every second CAN message is echoed inside the transmission wait.
    EXPECT_EQ(scenario.Answer(Cmd("m5,1a2,2,0,1,FF")), (Lines{"#tx done\r\n", "#msg done\r\n"}));
    EXPECT_EQ(scenario.Answer(Cmd("m5,1a2,2,0,1,FF")),
              (Lines{"#tx done\r\n", "#rx,5,1a2,2,0,1,ff\r\n", "#msg done\r\n"}));
    // --no-firmware: a Tester older than the version query stays silent.
    EXPECT_TRUE(CTesterScenario(ScenarioSettings{1, false}).Answer(Cmd("v")).empty());
    for (const char* refused : {"m256,1,0,0", "5", "l0", "l64"})
        EXPECT_EQ(scenario.Answer(Cmd(refused)), Lines{"#invalid parameter\r\n"}) << refused;
    for (const std::string& line : scenario.Answer(Cmd("3")))
        EXPECT_LE(line.size(), 63u) << "the host reads emulation replies into 64 bytes";
}

TEST(TesterScenario, DiagnosticsComeFromTheHeldQ9AndListeningHearsTrackSensorsEveryNthPoll)
{
    ScenarioSettings settings;
    settings.specialEvery = 3;
    CTesterScenario scenario(settings);
    // The Q9 heard last answers diagnostics and is then the only one heard for a while.
    std::string q9;
    for (int poll = 0; poll < 50 && (q9.empty() || q9 == "7001234"); ++poll) {
        const std::string line = scenario.Answer(Cmd("c"))[0];
        if (line.rfind("#c,", 0) == 0)
            q9 = line.substr(3, line.find(',', 3) - 3);
    }
    ASSERT_NE(q9, "7001234"); // not merely the first of the three
    EXPECT_EQ(scenario.Answer(Cmd("l1"))[0].rfind("#l," + q9 + ",", 0), 0u);
    for (int poll = 0; poll < 500; ++poll)
        ASSERT_EQ(scenario.Answer(Cmd("c"))[0].rfind("#c," + q9 + ",", 0), 0u) << poll;

    using Lines = std::vector<std::string>;
    EXPECT_EQ(scenario.Answer(Cmd("d")), Lines{"#no special\r\n"});
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#start listening special\r\n"});
    std::string heard;
    for (int i = 0; i < 6; ++i) {
        const Lines lines = scenario.Answer(Cmd("d"));
        ASSERT_EQ(lines.size(), 1u);
        if (lines[0] != "#no special\r\n")
            heard += lines[0];
    }
    // Both kinds of track sensor in turn, the code as FormatSpecialCode prints it.
    EXPECT_TRUE(std::regex_match(heard, std::regex(R"(#s,34788999,PCCW-34567,\d+,1,0,\d+,x\r\n)"
                                                   R"(#s,\d+,P[A-Z]{3}-\d{5},\d+,1,2,\d+,x\r\n)")))
        << heard;
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#stop listening special\r\n"});

    // Unplugged while listening, the Tester starts up again not listening.
    scenario.Answer(Cmd("a"));
    scenario.PowerOn();
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#start listening special\r\n"});
}

TEST(ReplyFaults, EachFaultHitsEveryNthLineOnly)
{
    const std::string line = "#n,17\r\n";
    EXPECT_EQ(ApplyFaults({.noCrEvery = 2}, 1, line), line);
    EXPECT_EQ(ApplyFaults({.noCrEvery = 2}, 2, line), "#n,17\n");

    const std::string prefixed = ApplyFaults({.prefixEvery = 1}, 5, line);
    EXPECT_TRUE(std::regex_match(prefixed, std::regex("[^#]+#n,17\r\n"))) << prefixed;

    const std::string padded = ApplyFaults({.longEvery = 3}, 3, line);
    EXPECT_GT(padded.size(), 127u);
    EXPECT_TRUE(std::regex_match(padded, std::regex("#n,17,[^\r\n]+\r\n"))) << padded;

    const std::string garbage = ApplyFaults({.garbageEvery = 4}, 8, line);
    EXPECT_NE(garbage, line);
    EXPECT_EQ(garbage[0], '#');
}

bool Parse(const std::string& line, SimOptions& options, std::string& message, bool& help)
{
    std::string words = "tester-sim " + line;
    std::vector<char*> argv;
    for (char* word = std::strtok(words.data(), " "); word != nullptr; word = std::strtok(nullptr, " "))
        argv.push_back(word);
    return ParseSimOptions(static_cast<int>(argv.size()), argv.data(), options, message, help);
}

TEST(SimOptions, RefusesBadValuesAndAnswersHelpAndVersion)
{
    SimOptions options;
    std::string message;
    bool help = true;
    for (const char* bad :
         {"--pace slow", "--seed -1", "--seed", "--usb-latency 256", "--bogus", "--name ../x"}) {
        SimOptions ignored;
        EXPECT_FALSE(Parse(bad, ignored, message, help)) << bad;
        EXPECT_FALSE(help);
    }
    ASSERT_TRUE(Parse("--pace 10x --unplug-after 1.5", options, message, help)) << message;
    EXPECT_DOUBLE_EQ(options.speedup, 10.0);
    EXPECT_DOUBLE_EQ(options.unplugAfter.value_or(0), 1.5);
    EXPECT_FALSE(Parse("--help", options, message, help));
    EXPECT_TRUE(help);
    EXPECT_NE(message.find("--unplug-after"), std::string::npos);
    EXPECT_FALSE(Parse("--version", options, message, help));
    EXPECT_TRUE(help);
    EXPECT_EQ(message, "tester-sim 2.5.0\n");
}

} // namespace

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
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
            for (const std::string& line : scenario.Answer(Cmd(std::string(1, poll)))) {
                lines.push_back(line);
            }
        }
    }
    return lines;
}

bool EndsWithCrLf(const std::string& line)
{
    return line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0;
}

TEST(TesterScenario, SameSeedSameRepliesOtherSeedOtherReplies)
{
    EXPECT_EQ(Transcript(7, 50), Transcript(7, 50));
    EXPECT_NE(Transcript(7, 50), Transcript(8, 50));
}

TEST(TesterScenario, PollRepliesAreWellFormedAndCoverEveryKind)
{
    int korvo = 0, korvoWithDriver = 0, korvoLowBattery = 0, q9 = 0, beacon = 0, loop = 0, mindlet = 0,
        nothing = 0;
    for (const std::string& line : Transcript(1, 200)) {
        ASSERT_TRUE(EndsWithCrLf(line)) << line;
        ASSERT_LT(line.size(), 128u) << line;
        unsigned a = 0, b = 0, c = 0, d = 0;
        char code[16] = {};
        if (std::sscanf(line.c_str(), "#t,%u,%u,%u,%u", &a, &b, &c, &d) == 4) {
            ++korvo;
            korvoWithDriver += d != 0;
            korvoLowBattery += c != 0;
        } else if (std::sscanf(line.c_str(), "#c,%u,%u", &a, &b) == 2) {
            ++q9;
        } else if (std::sscanf(line.c_str(), "#b,%u,%u,%u,%u", &a, &b, &c, &d) == 4) {
            ++beacon;
        } else if (std::sscanf(line.c_str(), "#n,%u", &a) == 1) {
            ++loop;
        } else if (std::sscanf(line.c_str(), "#x,%u,%15[^,],%u,%u", &a, code, &b, &c) == 4) {
            ++mindlet;
            EXPECT_EQ(std::string(code).size(), 8u) << "two letters, dash, five digits: " << code;
        } else if (line.rfind("#no ", 0) == 0) {
            ++nothing;
        } else {
            ADD_FAILURE() << "unexpected reply " << line;
        }
    }
    EXPECT_GT(korvoWithDriver, 0);
    EXPECT_GT(korvo - korvoWithDriver, 0);
    EXPECT_GT(korvoLowBattery, 0);
    EXPECT_GT(q9, 0);
    EXPECT_GT(beacon, 0);
    EXPECT_EQ(loop, 200);
    EXPECT_GT(mindlet, 0);
    EXPECT_GT(nothing, 0);
}

TEST(TesterScenario, CommandsGetTheTestersAnswers)
{
    CTesterScenario scenario(ScenarioSettings{});
    using Lines = std::vector<std::string>;
    EXPECT_EQ(scenario.Answer(Cmd("v")), Lines{"#v,2.3\r\n"});
    for (const char* refused : {"m256,1,0,0", "5", "l0", "l64"})
        EXPECT_EQ(scenario.Answer(Cmd(refused)), Lines{"#invalid parameter\r\n"}) << refused;
    for (const std::string& line : scenario.Answer(Cmd("3")))
        EXPECT_LE(line.size(), 63u) << "the host reads emulation replies into 64 bytes";

    CTesterScenario silent(ScenarioSettings{1, false});
    EXPECT_TRUE(silent.Answer(Cmd("v")).empty());
}

TEST(TesterScenario, DiagnosticsComeFromTheQ9TransponderHeldToTheTester)
{
    // The one answering is the one heard last, and it is all the Tester
    // hears for a while, so the diagnostics stay on the page.
    CTesterScenario scenario(ScenarioSettings{});
    std::string heard;
    for (int poll = 0; poll < 50 && (heard.empty() || heard == "7001234"); ++poll) {
        const std::string line = scenario.Answer(Cmd("c"))[0];
        if (line.rfind("#c,", 0) == 0)
            heard = line.substr(3, line.find(',', 3) - 3);
    }
    ASSERT_NE(heard, "7001234"); // not merely the first of the three
    EXPECT_EQ(scenario.Answer(Cmd("l1"))[0].rfind("#l," + heard + ",", 0), 0u);
    for (int poll = 0; poll < 500; ++poll)
        ASSERT_EQ(scenario.Answer(Cmd("c"))[0].rfind("#c," + heard + ",", 0), 0u) << poll;
}

TEST(TesterScenario, ListeningTogglesAndHearsTrackSensorsEveryNthPoll)
{
    ScenarioSettings settings;
    settings.specialEvery = 3;
    CTesterScenario scenario(settings);
    using Lines = std::vector<std::string>;
    EXPECT_EQ(scenario.Answer(Cmd("d")), Lines{"#no special\r\n"});
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#start listening special\r\n"});
    EXPECT_TRUE(scenario.Listening());
    std::vector<std::string> readings;
    for (int i = 0; i < 6; ++i) {
        const Lines lines = scenario.Answer(Cmd("d"));
        ASSERT_EQ(lines.size(), 1u);
        if (lines[0] != "#no special\r\n") {
            readings.push_back(lines[0]);
        }
    }
    // Both kinds of track sensor, in turn.
    const auto kind = [](const std::string& line) {
        unsigned number = 0, rssi = 0, flag = 0, kind = 0;
        char code[16] = {};
        return std::sscanf(line.c_str(), "#s,%u,%15[^,],%u,%u,%u,", &number, code, &rssi, &flag, &kind) == 5
                   ? static_cast<int>(kind)
                   : -1;
    };
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_EQ(kind(readings[0]), 0) << readings[0];
    EXPECT_EQ(kind(readings[1]), 2) << readings[1];
    // The code printed as the program prints it (FormatSpecialCode).
    EXPECT_NE(readings[0].find("#s,34788999,PCCW-34567,"), std::string::npos) << readings[0];
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#stop listening special\r\n"});
    EXPECT_FALSE(scenario.Listening());

    // Unplugged while listening, the Tester starts up again not listening.
    scenario.Answer(Cmd("a"));
    scenario.PowerOn();
    EXPECT_EQ(scenario.Answer(Cmd("a")), Lines{"#start listening special\r\n"});
}

TEST(ReplyFaults, EachFaultHitsEveryNthLineOnly)
{
    const std::string line = "#n,17\r\n";
    FaultPlan plan;
    EXPECT_EQ(ApplyFaults(plan, 1, line), line);

    plan.noCrEvery = 2;
    EXPECT_EQ(ApplyFaults(plan, 1, line), line);
    EXPECT_EQ(ApplyFaults(plan, 2, line), "#n,17\n");

    plan = FaultPlan{};
    plan.prefixEvery = 1;
    const std::string prefixed = ApplyFaults(plan, 5, line);
    EXPECT_EQ(prefixed.substr(prefixed.find('#')), line);
    EXPECT_GT(prefixed.find('#'), 0u);

    plan = FaultPlan{};
    plan.longEvery = 3;
    const std::string padded = ApplyFaults(plan, 3, line);
    EXPECT_GT(padded.size(), 127u);
    EXPECT_EQ(padded.rfind("#n,17,", 0), 0u);
    EXPECT_EQ(padded.substr(padded.size() - 2), "\r\n");

    plan = FaultPlan{};
    plan.garbageEvery = 4;
    const std::string garbage = ApplyFaults(plan, 8, line);
    EXPECT_NE(garbage, line);
    EXPECT_EQ(garbage[0], '#');
}

TEST(TesterScenario, EveryNthCanMessageIsEchoedInsideTheTransmissionWait)
{
    ScenarioSettings settings;
    settings.rxEvery = 2;
    CTesterScenario scenario(settings);
    using Lines = std::vector<std::string>;
    EXPECT_EQ(scenario.Answer(Cmd("m5,1a2,2,0,1,FF")), (Lines{"#tx done\r\n", "#msg done\r\n"}));
    EXPECT_EQ(scenario.Answer(Cmd("m5,1a2,2,0,1,FF")),
              (Lines{"#tx done\r\n", "#rx,5,1a2,2,0,1,ff\r\n", "#msg done\r\n"}));
}

// Parses the words of `line` as tester-sim's command line.
bool Parse(const std::string& line, SimOptions& options, std::string& message, bool& help)
{
    std::istringstream words(line);
    std::vector<std::string> args{"tester-sim"};
    for (std::string word; words >> word;)
        args.push_back(word);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return ParseSimOptions(static_cast<int>(argv.size()), argv.data(), options, message, help);
}

TEST(SimOptions, RefusesBadValuesAndAnswersHelpAndVersion)
{
    SimOptions options;
    std::string message;
    bool help = true;
    for (const char* bad :
         {"--pace slow", "--pace 0x", "--pace 10", "--seed -1", "--seed", "--firmware 2", "--usb-latency 256",
          "--unplug-on mm", "--bogus", "--name ../x", "--unplug-after soon"}) {
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

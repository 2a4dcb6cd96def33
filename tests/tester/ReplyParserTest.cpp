#include "ReplyParser.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "RecordingHandlers.h"
#include "TesterEventDispatch.h"

namespace {

// The handler calls an event makes, joined by "; "; "none" without an event.
std::string Calls(bool made, const testerevent_t& event)
{
    if (!made)
        return "none";
    CRecordingHandlers handlers;
    DispatchTesterEvent(event, handlers);
    std::string joined;
    for (const std::string& call : handlers.calls)
        joined += (joined.empty() ? "" : "; ") + call;
    return joined;
}

// What each exchange's parser makes of a line.
std::string Reply(const char* line)
{
    testerevent_t event;
    return Calls(CReplyParser::ParseReply(line, event), event);
}

std::string Version(const char* line)
{
    testerevent_t event;
    CReplyParser::ParseVersion(line, event);
    return Calls(true, event);
}

std::string SpecialPoll(const char* line)
{
    testerevent_t event;
    return Calls(CReplyParser::ParseSpecialPoll(line, event), event);
}

// The calls, then whether listening is on.
std::string Listen(const char* line)
{
    testerevent_t event;
    bool listening = true;
    const bool made = CReplyParser::ParseListen(line, event, listening);
    return Calls(made, event) + (listening ? " +on" : " +off");
}

// The step, then the calls of a line that makes an event.
std::string Transmit(const char* line)
{
    static const char* const kSteps[] = {"ignored", "go on", "succeeded", "failed"};
    testerevent_t event;
    const TransmitStep step = CReplyParser::ParseTransmit(line, event);
    const std::string name = kSteps[static_cast<int>(step)];
    return step == TransmitStep::kIgnored ? name : name + ": " + Calls(true, event);
}

struct Case {
    const char* line;
    const char* calls;
};

void ExpectCalls(std::string (*parse)(const char*), std::span<const Case> cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.line), c.calls) << c.line;
}

} // namespace

TEST(ReplyParser, EachExchangeTurnsOnlyItsOwnRepliesIntoHandlerCalls)
{
    const Case replies[] = {
        // Without CR LF the formats still accept the line.
        {"#t,1234567,80,0,0", "Transponder 1234567 80 0 0"},
        {"#t,5,80,1,300\r\n", "Transponder 5 80 1 44"},
        {"#t,5,80,256,-1\r\n", "Transponder 5 80 0 255"}, // low bytes only
        {"#t,1,2,3\r\n", "none"},                         // three fields are not enough
        {"#c,99,10\r\n", "Q9 99 10"},
        {"#b,42,90,37,64\r\n", "Beacon 42 90 4.2 20; BeaconDone"},
        {"#b,1,2,0,255\r\n", "Beacon 1 2 16.734375 -128; BeaconDone"},
        {"#b,1,2,300,-192\r\n", "Beacon 1 2 4.2 48; BeaconDone"},
        {"#x,100675641,CC-12345,75,0\r\n", "Mindlet 100675641 75 0"},
        {"#x,100675641,CC-12345,75,512\r\n", "Mindlet 100675641 75 0"},
        {"#x,100675641,CC-12345,75,3\r\n", "Mindlet 100675641 75 1"},
        {"#x,100675641,CCC-12345,75,0\r\n", "none"}, // the code has exactly two characters
        // Diagnostics: number, fw major, fw minor, ext V, battery V, level, time, temp, noise.
        {"#l,123,2,7,120,37,4,30,25,100\r\n", "Diagnostics 123 100 3.7 80 300 12 25 2 7"},
        {"#l,1,0,0,0,0,0,0,-5,0\r\n", "Diagnostics 1 0 0 0 0 0 251 0 0"},
        {"#l,1,0,0,0,0,255,255,0,0\r\n", "Diagnostics 1 0 0 5100 2550 0 0 0 0"},
        {"#l,1,2,3,4,5,6,7,8\r\n", "none"},
        {"#n,17\r\n", "Loop 17"},
        {"#n,-1\r\n", "Loop 255"},
        {"#n,\r\n", "none"},
        // Bytes before "#" never reach the parser, but whatever is left must not confuse it.
        {"#no \r\n", "none"},
        {"#no", "none"}, // fewer than four bytes: not the prefix, and no format either
        {"#n,5 and more", "Loop 5"},
        {"", "none"},
        {"#v,2.5\r\n", "none"},
        {"#tx done\r\n", "none"},
        {"#s,34788999,ZEVU-34567,60,1,0,215,x\r\n", "none"},
        {"garbage", "none"},
    };
    ExpectCalls(Reply, replies);
    const Case versions[] = {
        {"#v,2.5\r\n", "Version 2.5"},         {"#v,2.5", "Version 2.5"},
        {"#v,258.-1\r\n", "Version 2.255"},    {"#v,2\r\n", "Version unknown"},
        {"#v,2,5\r\n", "Version unknown"},     {"", "Version unknown"},
        {"#t,1,2,3,4\r\n", "Version unknown"},
    };
    ExpectCalls(Version, versions);
    // Listening goes on only when the Tester confirms it.
    const Case listens[] = {
        {"#start listening special\r\n", "Listening 0 +on"},
        {"#stop listening special\r\n", "Listening 1 +off"},
        {"#start listening special", "none +off"}, // exact replies need their CR LF
        {"#start listening special\r\n ", "none +off"},
        {"#START LISTENING SPECIAL\r\n", "none +off"},
        {"", "none +off"},
    };
    ExpectCalls(Listen, listens);
    const Case specialPolls[] = {
        {"#no special\r\n", "Special nothing"},
        {"#no special", "none"},
        {"#s,34788999,ZEVU-34567,60,1,0,215,x\r\n", "Special 3 34788999 60 1 0 21.5"},
        {"#s,34788999,ZEVU-34567,60,1,0,215,x", "Special 3 34788999 60 1 0 21.5"},
        {"#s,34788999,ZEVU-34567,60,1,1,215,x\r\n", "none"}, // kind 1 is not understood
        {"#s,34788999,ZEVU-34567,60,1,2,215,x\r\n", "Special 3 34788999 60 1 2 215000"},
        // Kind 2 scales in 32 bits: 4294968 x 1000 wraps to 704.
        {"#s,1,ABCD-1,60,0,2,4294968,x\r\n", "Special 3 1 60 0 2 704"},
        {"#s,1,ABCD-1,60,257,258,7,x\r\n", "Special 3 1 60 1 2 7000"}, // low bytes of flag and kind
        {"#s,1,ABCD-1,60,1,0,4294967295,x\r\n", "Special 3 1 60 1 0 429496729.5"},
        {"#s,1,ABCD-1,60,1,0,215\r\n", "Special 3 1 60 1 0 21.5"}, // the last token is not needed
        {"#s,1,ABC-1,60,1,0,215,x\r\n", "none"},                   // the code has four characters
        {"#t,1,2,3,4\r\n", "none"},
    };
    ExpectCalls(SpecialPoll, specialPolls);
    const Case transmits[] = {
        {"#invalid parameter\r\n", "failed: Transmit 2"},
        {"#tx done\r\n", "go on: Transmit 0"},
        {"#msg done\r\n", "succeeded: Transmit 3"},
        {"#msg done", "ignored"},
        {"#rx,7,1a2,2,0,aa,bb\r\n", "go on: Can 1 7 1a2 2 AA BB 00 00 00 00 00 00"},
        {"#rx,7,0x7FF,8,9,1,2,3,4,5,6,7,108\r\n", "go on: Can 1 7 7ff 8 01 02 03 04 05 06 07 08"},
        {"#rx,7,1a2,2,0\r\n", "go on: Can 1 7 1a2 2 00 00 00 00 00 00 00 00"},
        {"#rx,-1,ffffffff,1ff,0,zz\r\n", "go on: Can 1 4294967295 ffffffff 255 00 00 00 00 00 00 00 00"},
        {"#rx,7,1a2,2\r\n", "ignored"},
        {"", "ignored"},
        {"#t,1,2,3,4\r\n", "ignored"},
    };
    ExpectCalls(Transmit, transmits);
}

TEST(ReplyParser, CanDataBytesAreClearedForEveryLine)
{
    testerevent_t event;
    ASSERT_EQ(CReplyParser::ParseTransmit("#rx,1,2,8,0,1,2,3,4,5,6,7,8\r\n", event), TransmitStep::kGoOn);
    ASSERT_EQ(CReplyParser::ParseTransmit("#rx,1,2,1,0,9\r\n", event), TransmitStep::kGoOn);
    EXPECT_EQ(Calls(true, event), "Can 1 1 2 1 09 00 00 00 00 00 00 00");
}

#include "ReplyParser.h"

#include <gtest/gtest.h>

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

// What the parser of `command`'s exchange makes of a line: its calls, after the step of a transmit reply.
std::string Parse(char command, const char* line)
{
    static const char* const kSteps[] = {"ignored", "go on: ", "succeeded: ", "failed: "};
    testerevent_t event;
    switch (command) {
    case 'v':
        CReplyParser::ParseVersion(line, event);
        return Calls(true, event);
    case 'd':
        return Calls(CReplyParser::ParseSpecialPoll(line, event), event);
    case 'm': {
        const TransmitStep step = CReplyParser::ParseTransmit(line, event);
        const std::string name = kSteps[static_cast<int>(step)];
        return step == TransmitStep::kIgnored ? name : name + Calls(true, event);
    }
    default:
        return Calls(CReplyParser::ParseReply(line, event), event);
    }
}

} // namespace

// The link test shows each exchange's ordinary reply; here the edges.
TEST(ReplyParser, EachExchangeTurnsOnlyItsOwnRepliesIntoHandlerCalls)
{
    const struct {
        char command; // the exchange: "t" stands for every poll
        const char* line;
        const char* calls;
    } cases[] = {
        {'t', "#t,5,80,1,300\r\n", "Transponder 5 80 1 44"},
        {'t', "#t,5,80,256,-1\r\n", "Transponder 5 80 0 255"}, // low bytes only
        {'t', "#t,1,2,3\r\n", "none"},                         // three fields are not enough
        {'t', "#b,1,2,0,255\r\n", "Beacon 1 2 16.734375 -128; BeaconDone"},
        {'t', "#b,1,2,300,-192\r\n", "Beacon 1 2 4.2 48; BeaconDone"},
        {'t', "#x,100675641,CC-12345,75,512\r\n", "Mindlet 100675641 75 0"},
        {'t', "#x,100675641,CC-12345,75,3\r\n", "Mindlet 100675641 75 1"},
        {'t', "#x,100675641,CCC-12345,75,0\r\n", "none"}, // the code has exactly two characters
        // Diagnostics: number, fw major, fw minor, ext V, battery V, level, time, temp, noise.
        {'t', "#l,1,0,0,0,0,0,0,-5,0\r\n", "Diagnostics 1 0 0 0 0 0 251 0 0"},
        {'t', "#l,1,0,0,0,0,255,255,0,0\r\n", "Diagnostics 1 0 0 5100 2550 0 0 0 0"},
        {'t', "#l,1,2,3,4,5,6,7,8\r\n", "none"},
        {'t', "#n,-1\r\n", "Loop 255"},
        {'t', "#n,\r\n", "none"},
        // Bytes before "#" never reach the parser, but whatever is left must not confuse it.
        {'t', "#no", "none"}, // fewer than four bytes: not the prefix, and no format either
        {'t', "#n,5 and more", "Loop 5"},
        {'t', "", "none"},
        {'t', "#tx done\r\n", "none"},
        {'v', "#v,258.-1\r\n", "Version 2.255"},
        {'v', "#v,2\r\n", "Version unknown"},
        {'v', "#t,1,2,3,4\r\n", "Version unknown"},
        {'d', "#no special", "none"},
        {'d', "#s,34788999,ZEVU-34567,60,1,1,215,x\r\n", "none"}, // kind 1 is not understood
        // Kind 2 scales in 32 bits: 4294968 x 1000 wraps to 704.
        {'d', "#s,1,ABCD-1,60,0,2,4294968,x\r\n", "Special 3 1 60 0 2 704"},
        {'d', "#s,1,ABCD-1,60,257,258,7,x\r\n", "Special 3 1 60 1 2 7000"}, // low bytes of flag and kind
        {'d', "#s,1,ABCD-1,60,1,0,4294967295,x\r\n", "Special 3 1 60 1 0 429496729.5"},
        {'d', "#s,1,ABCD-1,60,1,0,215\r\n", "Special 3 1 60 1 0 21.5"}, // the last token is not needed
        {'d', "#s,1,ABC-1,60,1,0,215,x\r\n", "none"},                   // the code has four characters
        {'d', "#t,1,2,3,4\r\n", "none"},
        {'m', "#msg done", "ignored"},
        {'m', "#rx,7,0x7FF,8,9,1,2,3,4,5,6,7,108\r\n", "go on: Can 1 7 7ff 8 01 02 03 04 05 06 07 08"},
        {'m', "#rx,7,1a2,2,0\r\n", "go on: Can 1 7 1a2 2 00 00 00 00 00 00 00 00"},
        {'m', "#rx,-1,ffffffff,1ff,0,zz\r\n", "go on: Can 1 4294967295 ffffffff 255 00 00 00 00 00 00 00 00"},
        {'m', "#rx,7,1a2,2\r\n", "ignored"},
        {'m', "#t,1,2,3,4\r\n", "ignored"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(c.command, c.line), c.calls) << c.command << ' ' << c.line;

    // CAN data bytes are cleared for every line.
    testerevent_t event;
    ASSERT_EQ(CReplyParser::ParseTransmit("#rx,1,2,8,0,1,2,3,4,5,6,7,8\r\n", event), TransmitStep::kGoOn);
    ASSERT_EQ(CReplyParser::ParseTransmit("#rx,1,2,1,0,9\r\n", event), TransmitStep::kGoOn);
    EXPECT_EQ(Calls(true, event), "Can 1 1 2 1 09 00 00 00 00 00 00 00");
}

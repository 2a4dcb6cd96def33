// How many reply lines one core parses per second, the way the reader thread
// does it (the general parser after a poll), for each kind of line and for a
// mix like a busy polling cycle.
#include <benchmark/benchmark.h>

#include <vector>

#include "ReplyParser.h"

namespace {

void ParseLines(benchmark::State& state, const std::vector<const char*>& lines)
{
    testerevent_t event;
    std::size_t made = 0;
    for (auto _ : state) {
        for (const char* line : lines)
            made += CReplyParser::ParseReply(line, event) ? 1 : 0;
    }
    benchmark::DoNotOptimize(made);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
}

void BM_NothingToReport(benchmark::State& state)
{
    ParseLines(state, {"#no \r\n"});
}

void BM_Transponder(benchmark::State& state)
{
    ParseLines(state, {"#t,1234567,80,0,12\r\n"});
}

// The last format in the list: every earlier one is tried first.
void BM_LoopLevel(benchmark::State& state)
{
    ParseLines(state, {"#n,17\r\n"});
}

void BM_Diagnostics(benchmark::State& state)
{
    ParseLines(state, {"#l,123,2,7,120,37,4,30,25,100\r\n"});
}

void BM_Unknown(benchmark::State& state)
{
    ParseLines(state, {"#garbage that matches no format at all\r\n"});
}

// One busy polling cycle: a reply to each of the five polls.
void BM_PollCycleMix(benchmark::State& state)
{
    ParseLines(state, {"#t,1234567,80,0,12\r\n", "#c,99,10\r\n", "#b,42,90,37,64\r\n", "#n,17\r\n",
                       "#x,100675641,CC-12345,75,0\r\n"});
}

void BM_SpecialPoll(benchmark::State& state)
{
    testerevent_t event;
    std::size_t made = 0;
    for (auto _ : state)
        made += CReplyParser::ParseSpecialPoll("#s,34788999,ZEVU-34567,60,1,0,215,x\r\n", event) ? 1 : 0;
    benchmark::DoNotOptimize(made);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

void BM_TransmitCanReceived(benchmark::State& state)
{
    testerevent_t event;
    std::size_t made = 0;
    for (auto _ : state)
        made +=
            CReplyParser::ParseTransmit("#rx,7,1a2,8,0,1,2,3,4,5,6,7,8\r\n", event) != TransmitStep::kIgnored;
    benchmark::DoNotOptimize(made);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}

} // namespace

BENCHMARK(BM_NothingToReport);
BENCHMARK(BM_Transponder);
BENCHMARK(BM_LoopLevel);
BENCHMARK(BM_Diagnostics);
BENCHMARK(BM_Unknown);
BENCHMARK(BM_PollCycleMix);
BENCHMARK(BM_SpecialPoll);
BENCHMARK(BM_TransmitCanReceived);

BENCHMARK_MAIN();

// The recording device alone: one polling exchange ("t" and a 21-byte
// transponder reply read byte by byte, as the link does) on an in-memory
// Tester, bare, through a recording device that records nothing, and through
// one that writes each event to a file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "AbsentTesterDevice.h"
#include "RecordingDevice.h"

namespace {

class CEchoingTester : public CAbsentTesterDevice {
  public:
    bool Open(uint32_t) override { return true; }
    bool Write(uint8_t, uint32_t& transferred) override
    {
        m_next = 0;
        transferred = 1;
        return true;
    }
    bool Read(uint8_t& byte, uint32_t& transferred) override
    {
        byte = static_cast<uint8_t>(kReply[m_next++]);
        transferred = 1;
        return true;
    }

  private:
    static constexpr char kReply[] = "#t,1234567,80,0,12\r\n";
    size_t m_next = 0;
};

// Not inlined, so the device is called through its interface, as the link calls it.
__attribute__((noinline)) void Exchange(CTesterDevice& device)
{
    uint32_t transferred = 0;
    uint8_t byte = 0;
    device.Write('t', transferred);
    do {
        device.Read(byte, transferred);
        benchmark::DoNotOptimize(byte);
    } while (byte != '\n');
}

void BM_Bare(benchmark::State& state)
{
    CEchoingTester tester;
    for (auto _ : state)
        Exchange(tester);
    state.SetItemsProcessed(state.iterations());
}

void BM_RecordingNothing(benchmark::State& state)
{
    CEchoingTester tester;
    CRecordingWriter writer; // not opened: the program without --record
    CRecordingDevice recorder(tester, writer);
    recorder.Open(0);
    for (auto _ : state)
        Exchange(recorder);
    state.SetItemsProcessed(state.iterations());
}

void BM_RecordingToAFile(benchmark::State& state)
{
    CEchoingTester tester;
    const std::string file = "/tmp/q9-bench-recording-device.q9rec";
    CRecordingWriter writer;
    writer.Open(file, "bench", "0");
    CRecordingDevice recorder(tester, writer);
    recorder.Open(0);
    for (auto _ : state)
        Exchange(recorder);
    state.SetItemsProcessed(state.iterations());
    std::remove(file.c_str());
}

} // namespace

BENCHMARK(BM_Bare);
BENCHMARK(BM_RecordingNothing);
BENCHMARK(BM_RecordingToAFile);
BENCHMARK_MAIN();

// The server-access library against ividiv-sim on loopback: what arrives,
// in which order, on which thread, and what a failure leaves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "IvidivSimProcess.h"
#include "TamrixSDK.h"
#include "WaitUntil.h"

namespace {

using namespace std::chrono_literals;

thread_local bool t_pumping = false;

// What the callbacks of one connection saw, as "s1 s3 c1 t0/<count>".
struct recorder_t {
    std::string events;
    int outsidePump = 0;

    void Add(char kind, uint32_t value, int64_t count = -1)
    {
        outsidePump += t_pumping ? 0 : 1;
        events.append(events.empty() ? "" : " ").append(1, kind).append(std::to_string(value));
        if (count >= 0)
            events.append("/").append(std::to_string(count));
    }
    bool Ended() const
    {
        const std::string last = events.substr(events.rfind(' ') + 1);
        return last == "s2" || last == "s4" || last[0] == 't';
    }
};

void OnState(ptc_handle_t, int32_t state, void* context)
{
    static_cast<recorder_t*>(context)->Add('s', static_cast<uint32_t>(state));
}
void OnConnect(ptc_handle_t, uint8_t connected, void* context)
{
    static_cast<recorder_t*>(context)->Add('c', connected);
}
void OnTransponder(ptc_handle_t, uint32_t event, uint32_t count, uint32_t, void* context)
{
    static_cast<recorder_t*>(context)->Add('t', event, count);
}

int32_t Pump(hub_sdk_handle_t hub)
{
    t_pumping = true;
    const int32_t ran = hub_sdk_messagequeue_process(hub, 0, 0, 0);
    t_pumping = false;
    return ran;
}

// Pumps `times` times, `pause` apart, and says whether any callback ran.
bool PumpIdle(hub_sdk_handle_t hub, int times, std::chrono::milliseconds pause = {})
{
    int32_t ran = 0;
    for (int i = 0; i < times; ++i, std::this_thread::sleep_for(pause))
        ran += Pump(hub);
    return ran != 0;
}

// One connection on its own hub, set up as the server page does it.
class CClient {
  public:
    CClient() : m_hub(hub_sdk_alloc("Q9 Tester", 0)), m_handle(ptc_handle_alloc(m_hub, &m_recorder))
    {
        ptc_notify_connect(m_handle, OnConnect);
        ptc_notify_connectionstate(m_handle, OnState);
        ptc_notify_transponder(m_handle, OnTransponder);
        ptc_objectdata_subscribe(m_handle, PTC_OBJECTDATA_TRANSPONDER);
    }
    ~CClient() { hub_sdk_dealloc(m_hub); }

    void Connect(const char* password = CIvidivSimProcess::kPasswordWindows1252,
                 const char* host = "127.0.0.1")
    {
        ptc_connect(m_handle, host, CIvidivSimProcess::kUser, password, PTC_CONNECT_VERIFY);
    }
    void PumpUntil(const std::function<bool()>& done)
    {
        WaitUntil([&] {
            Pump(m_hub);
            return done();
        });
    }
    std::string Sync(const char* password = CIvidivSimProcess::kPasswordWindows1252,
                     const char* host = "127.0.0.1")
    {
        Connect(password, host);
        PumpUntil([this] { return m_recorder.Ended(); });
        return m_recorder.events;
    }
    // Copied out with their labels: a label runs on past the record's struct.
    // As "id shortId label" each.
    std::vector<std::string> Records() const
    {
        std::vector<std::string> records;
        for (auto* r = ptc_transponder_get_head(m_handle); r != nullptr;
             r = ptc_transponder_get_next(m_handle))
            records.push_back(std::to_string(r->id) + ' ' + std::to_string(r->short_id) + ' ' + r->label);
        return records;
    }

    hub_sdk_handle_t m_hub;
    recorder_t m_recorder;
    ptc_handle_t m_handle;
};

} // namespace

TEST(TamrixSdk, RecordsArriveFieldByFieldInTheServersOrder)
{
    const std::string csv = "/tmp/tamrixsdk-records-" + std::to_string(::getpid()) + ".csv";
    std::ofstream(csv) << "id,short id,label\n"
                          "7,,\"Zoë, \"\"Café\"\"\"\n" // quoted: comma and quotes
                          "4294967295,12,€ 日本\n"     // outside Windows-1252: '?'
                          "7,3,second\ttab\n"          // a duplicate id; the tab becomes a blank
                       << "9,0," << std::string(300, 'L') << "\n";
    CIvidivSimProcess sim({"--transponders", csv});
    std::remove(csv.c_str());
    ASSERT_NE(sim.Port(), 0) << sim.Log();
    sim.UseForLibrary();
    CClient client;

    // Every callback comes inside the pump, on its thread, though another thread connected.
    // The password holds a character beyond ASCII: it must reach the server as UTF-8.
    std::string sequence;
    std::thread pumper([&] { sequence = client.Sync(); });
    pumper.join();
    EXPECT_EQ(sequence, "s1 s3 c1 t0/4");
    EXPECT_EQ(client.m_recorder.outsidePump, 0);

    EXPECT_EQ(client.Records(),
              (std::vector<std::string>{"7 4294967295 Zo\xEB, \"Caf\xE9\"", "4294967295 12 \x80 ??",
                                        "7 3 second tab", "9 0 " + std::string(PTC_LABEL_MAX, 'L')}));
    // The server was told goodbye, and the password never reached the log.
    EXPECT_NE(sim.Log().find("DELETE /api/v1/session 204"), std::string::npos);
    EXPECT_EQ(sim.Log().find("pass"), std::string::npos);
}

TEST(TamrixSdk, PagedAndEmptyRecordSets)
{
    CIvidivSimProcess many({"--generate", "12345"});
    ASSERT_NE(many.Port(), 0) << many.Log();
    many.UseForLibrary();
    CClient client;
    EXPECT_EQ(client.Sync(), "s1 s3 c1 t0/12345");
    const std::vector<std::string> records = client.Records();
    ASSERT_EQ(records.size(), 12345u);
    for (uint32_t id = 1; id <= records.size(); ++id) { // every tenth without a short id
        const std::string number = std::to_string(id);
        ASSERT_EQ(records[id - 1], number + ' ' + (id % 10 ? number : "4294967295") + " Car " + number);
    }

    CIvidivSimProcess none({});
    none.UseForLibrary();
    CClient empty;
    EXPECT_EQ(empty.Sync(), "s1 s3 c1 t0/0");
    EXPECT_EQ(ptc_transponder_get_head(empty.m_handle), nullptr);
}

TEST(TamrixSdk, FailuresEndWithTheirStateAndNothingAfter)
{
    struct failure_t {
        const char* name;
        std::vector<std::string> simArguments;
        const char* expected;
    };
    const std::vector<failure_t> cases = {
        // The right password's UTF-8 bytes, taken as Windows-1252, are another one.
        {"wrong password", {}, "s1 s3 s4"},
        {"closed port", {}, "s1 s2"},
        {"untrusted certificate", {}, "s1 s2"},
        {"certificate for another host", {"--listen", "127.0.0.2"}, "s1 s2"},
        {"stalled page", {"--generate", "10", "--stall-ms", "10000"}, "s1 s3 c1 s2"},
        {"malformed page", {"--generate", "10", "--malformed"}, "s1 s3 c1 s2"},
        {"cut mid-download", {"--generate", "6000", "--fault-page", "1", "--cut"}, "s1 s3 c1 s2"},
        {"oversized page", {"--generate", "10", "--oversize"}, "s1 s3 c1 s2"},
        {"unexpected status", {"--generate", "10", "--status", "503"}, "s1 s3 c1 s2"},
    };
    const CIvidivSimProcess stranger({}); // whose certificate no other server has
    for (const failure_t& c : cases) {
        SCOPED_TRACE(c.name);
        CIvidivSimProcess sim(c.simArguments);
        ASSERT_NE(sim.Port(), 0) << sim.Log();
        sim.UseForLibrary();
        const std::string name = c.name;
        // Short, but long enough for a loaded machine's sanitizer builds to hash the password within it.
        ::setenv("TAMRIX_SDK_STALL_TIMEOUT_MS", name == "stalled page" ? "1500" : "15000", 1);
        if (name == "closed port") // a simulator's that has ended again
            ::setenv("TAMRIX_SDK_PORT", std::to_string(CIvidivSimProcess({}).Port()).c_str(), 1);
        if (name == "untrusted certificate")
            ::setenv("TAMRIX_SDK_CA_FILE", stranger.Certificate().c_str(), 1);
        CClient client;
        EXPECT_EQ(client.Sync(name == "wrong password" ? CIvidivSimProcess::kPassword
                                                       : CIvidivSimProcess::kPasswordWindows1252,
                              name == "certificate for another host" ? "127.0.0.2" : "127.0.0.1"),
                  c.expected);
        PumpIdle(client.m_hub, 20);
        EXPECT_TRUE(client.m_recorder.Ended());
        EXPECT_EQ(ptc_transponder_get_head(client.m_handle), nullptr);
        if (std::string(c.expected) == "s1 s2") { // no credentials to a server not trusted
            EXPECT_EQ(sim.Log().find("/api/v1/"), std::string::npos) << sim.Log();
        }
    }
    ::unsetenv("TAMRIX_SDK_STALL_TIMEOUT_MS");
}

TEST(TamrixSdk, ReleasedAndStaleHandlesCancelAndDoNothing)
{
    CIvidivSimProcess sim({"--generate", "10", "--delay-ms", "200"});
    ASSERT_NE(sim.Port(), 0) << sim.Log();
    sim.UseForLibrary();

    // Released mid-transfer, then the hub with a transfer of its own.
    CClient client;
    client.Connect();
    client.PumpUntil([&] { return client.m_recorder.events.find("s3") != std::string::npos; }); // under way
    ptc_handle_dealloc(client.m_hub, client.m_handle);
    const ptc_handle_t second = ptc_handle_alloc(client.m_hub, &client.m_recorder);
    ptc_notify_connectionstate(second, OnState);
    ptc_connect(second, "127.0.0.1", CIvidivSimProcess::kUser, CIvidivSimProcess::kPasswordWindows1252, 1);
    hub_sdk_dealloc(client.m_hub);
    EXPECT_FALSE(PumpIdle(client.m_hub, 50, 10ms));
    EXPECT_EQ(client.m_recorder.events, "s1 s3");

    // Stale and zero handles everywhere.
    for (const ptc_handle_t handle : {ptc_handle_t{0}, client.m_handle, second}) {
        EXPECT_EQ(ptc_notify_connect(handle, OnConnect), 0);
        EXPECT_EQ(ptc_objectdata_subscribe(handle, PTC_OBJECTDATA_TRANSPONDER), 0);
        EXPECT_EQ(ptc_connect(handle, "127.0.0.1", "u", "p", 1), 0);
        EXPECT_EQ(ptc_transponder_get_head(handle), nullptr);
        EXPECT_EQ(ptc_transponder_get_next(handle), nullptr);
        ptc_disconnect(handle);
        ptc_handle_dealloc(client.m_hub, handle);
    }
    EXPECT_EQ(ptc_handle_alloc(client.m_hub, nullptr), 0u);
    EXPECT_EQ(hub_sdk_messagequeue_process(0, 0, 0, 0), 0);
    hub_sdk_dealloc(0);
}

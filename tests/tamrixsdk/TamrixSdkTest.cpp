// The server-access library against ividiv-sim on loopback: what arrives,
// in which order, on which thread, and what a failure leaves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
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
    std::function<void(const std::string&)> onEvent;

    void Add(char kind, uint32_t value, int64_t count = -1)
    {
        // Appended piece by piece: g++ 12 at -O3 reports a false -Wrestrict
        // for "s" + std::to_string(...).
        std::string event(1, kind);
        event.append(std::to_string(value));
        if (count >= 0)
            event.append("/").append(std::to_string(count));
        outsidePump += t_pumping ? 0 : 1;
        events.append(events.empty() ? "" : " ").append(event);
        if (onEvent)
            onEvent(event);
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

struct record_t {
    uint32_t id;
    uint32_t short_id;
    std::string label;
    bool operator==(const record_t&) const = default;
};

// One connection on its own hub, set up as the server page does it.
class CClient {
  public:
    explicit CClient(bool subscribe = true)
        : m_hub(hub_sdk_alloc("Q9 Tester", 0)), m_handle(ptc_handle_alloc(m_hub, &m_recorder))
    {
        ptc_notify_connect(m_handle, OnConnect);
        ptc_notify_connectionstate(m_handle, OnState);
        ptc_notify_transponder(m_handle, OnTransponder);
        if (subscribe) {
            ptc_objectdata_subscribe(m_handle, PTC_OBJECTDATA_TRANSPONDER);
        }
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
    std::vector<record_t> Records() const
    {
        std::vector<record_t> records;
        for (auto* r = ptc_transponder_get_head(m_handle); r != nullptr;
             r = ptc_transponder_get_next(m_handle)) {
            records.push_back({r->id, r->short_id, r->label});
        }
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

    // The pump runs on another thread than the one that connected: every
    // callback must come on the pumping thread, inside the pump. The password
    // holds a character beyond ASCII: it must reach the server as UTF-8.
    std::string sequence;
    std::thread pumper([&] { sequence = client.Sync(); });
    pumper.join();
    EXPECT_EQ(sequence, "s1 s3 c1 t0/4");
    EXPECT_EQ(client.m_recorder.outsidePump, 0);

    EXPECT_EQ(client.Records(), (std::vector<record_t>{{7, PTC_SHORT_ID_NONE, "Zo\xEB, \"Caf\xE9\""},
                                                       {4294967295u, 12, "\x80 ??"},
                                                       {7, 3, "second tab"},
                                                       {9, 0, std::string(PTC_LABEL_MAX, 'L')}}));
    // The server was told goodbye, and the password never reached the log.
    EXPECT_NE(sim.Log().find("DELETE /api/v1/session 204"), std::string::npos);
    EXPECT_EQ(sim.Log().find("pass"), std::string::npos);
}

TEST(TamrixSdk, PagedEmptyAndUnsubscribedRecordSets)
{
    CIvidivSimProcess many({"--generate", "12345"});
    ASSERT_NE(many.Port(), 0) << many.Log();
    many.UseForLibrary();
    CClient client;
    EXPECT_EQ(client.Sync(), "s1 s3 c1 t0/12345");
    const std::vector<record_t> records = client.Records();
    ASSERT_EQ(records.size(), 12345u);
    for (uint32_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(records[i].id, i + 1);
        ASSERT_EQ(records[i].short_id, (i + 1) % 10 == 0 ? PTC_SHORT_ID_NONE : i + 1);
    }
    EXPECT_EQ(records[12344].label, "Car 12345");

    CIvidivSimProcess none({});
    none.UseForLibrary();
    // Without a subscription it logs in and out and fetches nothing.
    CClient unsubscribed(false);
    unsubscribed.Connect();
    unsubscribed.PumpUntil([&] { return none.Log().find("DELETE /api/v1/session") != std::string::npos; });
    for (int i = 0; i < 20; ++i)
        Pump(unsubscribed.m_hub);
    EXPECT_EQ(unsubscribed.m_recorder.events, "s1 s3 c1");
    EXPECT_EQ(none.Log().find("/api/v1/transponders"), std::string::npos);

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
    for (const failure_t& c : cases) {
        SCOPED_TRACE(c.name);
        CIvidivSimProcess sim(c.simArguments);
        ASSERT_NE(sim.Port(), 0) << sim.Log();
        sim.UseForLibrary();
        const std::string name = c.name;
        // Short, but long enough for a loaded machine's sanitizer builds to
        // hash the password within it.
        ::setenv("TAMRIX_SDK_STALL_TIMEOUT_MS", name == "stalled page" ? "1500" : "15000", 1);
        std::unique_ptr<CIvidivSimProcess> other;
        if (name == "closed port") {
            const int closed = CIvidivSimProcess({}).Port(); // ended again at once
            ::setenv("TAMRIX_SDK_PORT", std::to_string(closed).c_str(), 1);
        } else if (name == "untrusted certificate") {
            // Another simulator's certificate as the trust anchor.
            other = std::make_unique<CIvidivSimProcess>(std::vector<std::string>{});
            ::setenv("TAMRIX_SDK_CA_FILE", other->Certificate().c_str(), 1);
        }
        CClient client;
        const bool otherHost = name == "certificate for another host";
        EXPECT_EQ(client.Sync(name == "wrong password" ? CIvidivSimProcess::kPassword
                                                       : CIvidivSimProcess::kPasswordWindows1252,
                              otherHost ? "127.0.0.2" : "127.0.0.1"),
                  c.expected);
        for (int i = 0; i < 20; ++i) {
            Pump(client.m_hub);
        }
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
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(Pump(client.m_hub), 0);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(client.m_recorder.events, "s1 s3");

    // A callback that releases its own handle stops the rest of its run.
    CClient own;
    own.m_recorder.onEvent = [&](const std::string& event) {
        if (event == "s3") {
            ptc_handle_dealloc(own.m_hub, own.m_handle);
        }
    };
    own.Connect();
    own.PumpUntil([&] { return sim.Log().find("POST /api/v1/session") != std::string::npos; });
    for (int i = 0; i < 30; ++i) {
        Pump(own.m_hub);
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(own.m_recorder.events, "s1 s3");

    // Stale and zero handles everywhere.
    for (const ptc_handle_t handle : {ptc_handle_t{0}, client.m_handle, second, own.m_handle}) {
        EXPECT_EQ(ptc_notify_connect(handle, OnConnect), 0);
        EXPECT_EQ(ptc_objectdata_subscribe(handle, PTC_OBJECTDATA_TRANSPONDER), 0);
        EXPECT_EQ(ptc_connect(handle, "127.0.0.1", "u", "p", 1), 0);
        EXPECT_EQ(ptc_transponder_get_head(handle), nullptr);
        EXPECT_EQ(ptc_transponder_get_next(handle), nullptr);
        ptc_disconnect(handle);
        ptc_handle_dealloc(own.m_hub, handle);
    }
    EXPECT_EQ(ptc_handle_alloc(client.m_hub, nullptr), 0u);
    EXPECT_EQ(hub_sdk_messagequeue_process(0, 0, 0, 0), 0);
    hub_sdk_dealloc(0);
}

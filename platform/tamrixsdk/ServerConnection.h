#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "HttpsRequest.h"
#include "RecordStore.h"
#include "SdkEvent.h"

// One connection handle: its callbacks and context, and the run of requests
// of one synchronisation (reachability, session, record pages, end of the
// session), each step started when the previous one's answer is in. Outcomes
// become events queued on the hub; nothing here calls back.
class CServerConnection {
  public:
    struct callbacks_t {
        ptc_connect_callback_t connect = nullptr;
        ptc_connectionstate_callback_t state = nullptr;
        ptc_transponder_callback_t transponder = nullptr;
    };

    CServerConnection(ptc_handle_t handle, CURLM* multi, const std::string& userAgent,
                      std::vector<sdkevent_t>& events, void* context);
    ~CServerConnection();

    callbacks_t& Callbacks() { return m_callbacks; }
    void* Context() const { return m_context; }
    uint64_t Generation() const { return m_generation; }
    void Subscribe() { m_subscribed = true; }

    // Starts over; copies the credentials (Windows-1252) as UTF-8 and wipes
    // its copy once sent.
    void Connect(const std::string& host, const char* user, const char* password);
    void Disconnect();

    // The hub's multi handle reported the end of this connection's request.
    void OnTransferDone(CURLcode result);
    // Fails the request that has been silent for too long.
    void CheckStall(std::chrono::steady_clock::time_point now);

    const ptc_transponder_t* Head() { return m_complete ? m_records.Head() : nullptr; }
    const ptc_transponder_t* Next() { return m_complete ? m_records.Next() : nullptr; }

  private:
    enum class Step { kIdle, kPing, kSession, kPage, kEndSession };

    void Post(sdkevent_t::Kind kind, uint32_t first, uint32_t second = 0, uint32_t third = 0);
    void Start(Step step, const char* method, const std::string& path, std::vector<std::string> headers,
               size_t maxBody);
    void StartPing();
    void StartSession();
    void StartPage();
    void StartEndSession();
    void Fail(int32_t state);
    void Finish();
    void OnPing(long status);
    void OnSession(long status);
    void OnPage(long status);
    // Drops the transfer under way and wipes the credentials.
    void Stop();

    ptc_handle_t m_handle;
    CURLM* m_multi;
    const std::string& m_userAgent;
    std::vector<sdkevent_t>& m_events;
    void* m_context;
    callbacks_t m_callbacks;
    bool m_subscribed = false;

    uint64_t m_generation = 0;
    Step m_step = Step::kIdle;
    sdksettings_t m_settings;
    std::string m_baseUrl;
    std::string m_basicAuth; // "user:password" in UTF-8, wiped once sent
    std::string m_token;     // wiped at the end of the session
    std::unique_ptr<CHttpsRequest> m_request;
    CRecordStore m_records;
    uint64_t m_offset = 0;
    size_t m_altered = 0;
    bool m_complete = false;
};

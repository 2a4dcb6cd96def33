#include "Hub.h"

#include <chrono>
#include <utility>

namespace {

// A pump runs on the caller's user-interface thread: it goes on while answers
// complete, but no longer than this.
constexpr std::chrono::milliseconds kPumpBudget{4};

} // namespace

CHub::CHub(std::string userAgent) : m_userAgent(std::move(userAgent)), m_multi(curl_multi_init()) {}

CHub::~CHub()
{
    m_connections.clear(); // their transfers leave the multi handle first
    if (m_multi != nullptr) {
        curl_multi_cleanup(m_multi);
    }
}

CServerConnection& CHub::AddConnection(ptc_handle_t handle, void* context)
{
    auto connection = std::make_unique<CServerConnection>(handle, m_multi, m_userAgent, m_events, context);
    return *(m_connections[handle] = std::move(connection));
}

void CHub::RemoveConnection(ptc_handle_t handle)
{
    m_connections.erase(handle);
}

CServerConnection* CHub::Find(ptc_handle_t handle)
{
    const auto found = m_connections.find(handle);
    return found == m_connections.end() ? nullptr : found->second.get();
}

bool CHub::PerformOnce()
{
    int running = 0;
    curl_multi_perform(m_multi, &running);
    bool finished = false;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg != CURLMSG_DONE) {
            continue;
        }
        auto* connection = static_cast<CServerConnection*>(CHttpsRequest::Owner(message->easy_handle));
        // The connection may start its next request, which changes the
        // multi handle's message list: read the result first.
        const CURLcode result = message->data.result;
        connection->OnTransferDone(result);
        finished = true;
    }
    return finished;
}

std::vector<sdkevent_t> CHub::Pump()
{
    const auto start = std::chrono::steady_clock::now();
    while (PerformOnce() && std::chrono::steady_clock::now() - start < kPumpBudget) {
    }
    const auto now = std::chrono::steady_clock::now();
    for (auto& [handle, connection] : m_connections) {
        connection->CheckStall(now);
    }
    return std::exchange(m_events, {});
}

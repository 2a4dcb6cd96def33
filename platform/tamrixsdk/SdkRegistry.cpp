#include "SdkRegistry.h"

#include <cstring>

namespace {

constexpr size_t kMaxAppName = 64;

// The application name as a User-Agent: printable ASCII, bounded.
std::string UserAgent(const char* appName)
{
    std::string agent;
    for (size_t i = 0; appName != nullptr && appName[i] != '\0' && i < kMaxAppName; ++i) {
        const char c = appName[i];
        agent += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return (agent.empty() ? std::string("TamrixSDK") : agent) + " TamrixSDK/1";
}

} // namespace

CSdkRegistry& CSdkRegistry::Instance()
{
    static CSdkRegistry registry;
    return registry;
}

CHub* CSdkRegistry::FindHub(hub_sdk_handle_t hub)
{
    const auto found = m_hubs.find(hub);
    return found == m_hubs.end() ? nullptr : found->second.get();
}

CServerConnection* CSdkRegistry::FindConnection(ptc_handle_t handle)
{
    const auto found = m_connectionHubs.find(handle);
    if (found == m_connectionHubs.end()) {
        return nullptr;
    }
    CHub* hub = FindHub(found->second);
    return hub == nullptr ? nullptr : hub->Find(handle);
}

hub_sdk_handle_t CSdkRegistry::AllocHub(const char* appName)
{
    static std::once_flag curlReady;
    static bool curlOk = false;
    std::call_once(curlReady, [] { curlOk = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    if (!curlOk) {
        return 0;
    }
    auto hub = std::make_unique<CHub>(UserAgent(appName));
    if (!hub->Valid()) {
        return 0;
    }
    std::lock_guard lock(m_mutex);
    const hub_sdk_handle_t handle = ++m_lastHandle;
    m_hubs[handle] = std::move(hub);
    return handle;
}

void CSdkRegistry::DeallocHub(hub_sdk_handle_t hub)
{
    std::unique_ptr<CHub> gone;
    std::lock_guard lock(m_mutex);
    const auto found = m_hubs.find(hub);
    if (found == m_hubs.end()) {
        return;
    }
    gone = std::move(found->second);
    m_hubs.erase(found);
    std::erase_if(m_connectionHubs, [hub](const auto& entry) { return entry.second == hub; });
}

ptc_handle_t CSdkRegistry::AllocConnection(hub_sdk_handle_t hub, void* context)
{
    std::lock_guard lock(m_mutex);
    CHub* owner = FindHub(hub);
    if (owner == nullptr) {
        return 0;
    }
    const ptc_handle_t handle = ++m_lastHandle;
    owner->AddConnection(handle, context);
    m_connectionHubs[handle] = hub;
    return handle;
}

void CSdkRegistry::DeallocConnection(hub_sdk_handle_t hub, ptc_handle_t handle)
{
    std::lock_guard lock(m_mutex);
    const auto found = m_connectionHubs.find(handle);
    CHub* owner = FindHub(hub);
    if (found == m_connectionHubs.end() || found->second != hub || owner == nullptr) {
        return;
    }
    owner->RemoveConnection(handle);
    m_connectionHubs.erase(found);
}

int32_t CSdkRegistry::Process(hub_sdk_handle_t hub)
{
    std::vector<sdkevent_t> events;
    {
        std::lock_guard lock(m_mutex);
        CHub* owner = FindHub(hub);
        if (owner == nullptr || owner->Pumping()) {
            return 0;
        }
        events = owner->Pump();
        owner->SetPumping(true);
    }
    int32_t ran = 0;
    for (const sdkevent_t& event : events) {
        ran += Deliver(hub, event) ? 1 : 0;
    }
    std::lock_guard lock(m_mutex);
    if (CHub* owner = FindHub(hub)) {
        owner->SetPumping(false);
    }
    return ran;
}

bool CSdkRegistry::Deliver(hub_sdk_handle_t hub, const sdkevent_t& event)
{
    CServerConnection::callbacks_t callbacks;
    void* context = nullptr;
    {
        std::lock_guard lock(m_mutex);
        CHub* owner = FindHub(hub);
        CServerConnection* connection = owner == nullptr ? nullptr : owner->Find(event.handle);
        if (connection == nullptr || connection->Generation() != event.generation) {
            return false;
        }
        callbacks = connection->Callbacks();
        context = connection->Context();
    }
    switch (event.kind) {
    case sdkevent_t::Kind::kState:
        if (callbacks.state != nullptr) {
            callbacks.state(event.handle, static_cast<int32_t>(event.values[0]), context);
            return true;
        }
        break;
    case sdkevent_t::Kind::kConnect:
        if (callbacks.connect != nullptr) {
            callbacks.connect(event.handle, static_cast<uint8_t>(event.values[0]), context);
            return true;
        }
        break;
    case sdkevent_t::Kind::kTransponder:
        if (callbacks.transponder != nullptr) {
            callbacks.transponder(event.handle, event.values[0], event.values[1], event.values[2], context);
            return true;
        }
        break;
    }
    return false;
}

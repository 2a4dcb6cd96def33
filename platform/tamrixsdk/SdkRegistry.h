#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "Hub.h"

// Every live handle of the process. Handles are numbers that are never used
// twice, so a stale one finds nothing. One lock guards all library state; it
// is never held while a callback runs, so callbacks may call the library.
class CSdkRegistry {
  public:
    static CSdkRegistry& Instance();

    hub_sdk_handle_t AllocHub(const char* appName);
    void DeallocHub(hub_sdk_handle_t hub);
    int32_t Process(hub_sdk_handle_t hub);

    ptc_handle_t AllocConnection(hub_sdk_handle_t hub, void* context);
    void DeallocConnection(hub_sdk_handle_t hub, ptc_handle_t handle);

    // Runs `action` on the live connection under the lock; false when none.
    template <typename Action> bool WithConnection(ptc_handle_t handle, Action action)
    {
        std::lock_guard lock(m_mutex);
        CServerConnection* connection = FindConnection(handle);
        if (connection == nullptr) {
            return false;
        }
        action(*connection);
        return true;
    }

  private:
    CSdkRegistry() = default;

    CHub* FindHub(hub_sdk_handle_t hub);
    CServerConnection* FindConnection(ptc_handle_t handle);
    // Runs one due callback, unless its handle went or started over.
    bool Deliver(hub_sdk_handle_t hub, const sdkevent_t& event);

    std::mutex m_mutex;
    uint64_t m_lastHandle = 0;
    std::map<hub_sdk_handle_t, std::unique_ptr<CHub>> m_hubs;
    std::map<ptc_handle_t, hub_sdk_handle_t> m_connectionHubs;
};

#pragma once

#include <curl/curl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SdkEvent.h"
#include "ServerConnection.h"

// A library handle: the multi handle that drives the transfers of its
// connections, the connections themselves, and the callbacks that are due.
class CHub {
  public:
    explicit CHub(std::string userAgent);
    ~CHub();
    CHub(const CHub&) = delete;
    CHub& operator=(const CHub&) = delete;

    bool Valid() const { return m_multi != nullptr; }

    CServerConnection& AddConnection(ptc_handle_t handle, void* context);
    void RemoveConnection(ptc_handle_t handle);
    CServerConnection* Find(ptc_handle_t handle);

    // Moves the transfers on without waiting, for a bounded time, and hands
    // back the callbacks that became due (with those queued before).
    std::vector<sdkevent_t> Pump();

    // Set while the hub's callbacks run, so a nested pump does nothing.
    bool Pumping() const { return m_pumping; }
    void SetPumping(bool pumping) { m_pumping = pumping; }

  private:
    bool PerformOnce();

    std::string m_userAgent;
    CURLM* m_multi;
    std::vector<sdkevent_t> m_events;
    std::map<ptc_handle_t, std::unique_ptr<CServerConnection>> m_connections;
    bool m_pumping = false;
};

#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TamrixSDK.h"

// The server-access library's thirteen functions without a network: every
// call is recorded as text ("ptc_connect(1,host,user,password,1)"), and the
// callbacks a test queues run only inside hub_sdk_messagequeue_process, on the
// newest connection handle, through what was registered on it.
struct fakerecord_t {
    uint32_t id;
    uint32_t shortId;
    std::string label;
};

class CFakeTamrixSdk {
  public:
    static constexpr hub_sdk_handle_t kHub = 100;

    static CFakeTamrixSdk& Instance();
    void Reset() { *this = CFakeTamrixSdk(); }

    // Run at the next pump, in order. `withContext` false passes no context.
    void QueueState(int32_t state, bool withContext = true);
    void QueueConnect(bool connected);
    void QueueTransponder(uint32_t event);
    // What ptc_transponder_get_head/next walk from now on.
    void SetRecords(const std::vector<fakerecord_t>& records);

    std::vector<std::string> calls;
    std::map<ptc_handle_t, void*> contexts;
    int pumps = 0;
    bool badPumpArguments = false;
    bool refuseConnect = false; // ptc_connect returns 0

    // Used by the library functions.
    struct handle_t {
        ptc_connect_callback_t connect = nullptr;
        ptc_connectionstate_callback_t state = nullptr;
        ptc_transponder_callback_t transponder = nullptr;
        bool live = true;
    };
    struct queued_t {
        char kind; // 's' state, 'c' connect, 't' transponder
        uint32_t value;
        bool withContext;
    };
    std::map<ptc_handle_t, handle_t> handles;
    ptc_handle_t newest = 0;
    std::vector<queued_t> queue;
    std::vector<std::vector<uint64_t>> blocks; // one per record, 8-byte aligned
    size_t cursor = 0;

    void RunQueue();
};

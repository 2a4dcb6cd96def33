#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "TamrixSDK.h"

struct fakerecord_t {
    uint32_t id;
    uint32_t shortId;
    std::string label;
};

// The server-access library's thirteen functions without a network: each call
// but the pump and the record walk is recorded as text
// ("ptc_connect(1,host,user,password,1)"); queued callbacks run only inside
// hub_sdk_messagequeue_process, on the newest handle, through what was
// registered on it.
struct CFakeTamrixSdk {
    static constexpr hub_sdk_handle_t kHub = 100;
    static CFakeTamrixSdk& Instance();
    void Reset() { *this = CFakeTamrixSdk(); }

    // kind: 's' state, 'c' connect, 't' transponder event.
    void Queue(char kind, uint32_t value, bool withContext = true)
    {
        queue.push_back({kind, value, withContext});
    }
    void SetRecords(const std::vector<fakerecord_t>& records);
    void RunQueue();

    struct handle_t {
        ptc_connect_callback_t connect = nullptr;
        ptc_connectionstate_callback_t state = nullptr;
        ptc_transponder_callback_t transponder = nullptr;
        void* context = nullptr;
        bool live = true;
    };
    struct queued_t {
        char kind;
        uint32_t value;
        bool withContext;
    };

    std::vector<std::string> calls;
    std::map<ptc_handle_t, handle_t> handles;
    std::vector<queued_t> queue;
    std::vector<std::vector<uint64_t>> records; // one 8-byte aligned block each
    size_t cursor = 0;
    int pumps = 0;
    bool badPumpArguments = false;
    bool refuseConnect = false; // ptc_connect returns 0
};

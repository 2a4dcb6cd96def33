#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TamrixSDK.h"

struct fakerecord_t {
    uint32_t id;
    uint32_t shortId;
    std::string label;
};

// The server-access library's thirteen functions without a network: each call
// but the record walk is recorded as text ("ptc_connect(1,host,user,password,1)");
// queued callbacks run only inside hub_sdk_messagequeue_process, through what was
// registered on the newest handle.
struct CFakeTamrixSdk {
    static constexpr hub_sdk_handle_t kHub = 100;
    void Reset() { *this = CFakeTamrixSdk(); }

    // kind: 's' state, 'c' connect, 't' transponder event.
    void Queue(char kind, uint32_t value) { queue.emplace_back(kind, value); }
    void SetRecords(const std::vector<fakerecord_t>& records);
    void RunQueue();

    std::vector<std::string> calls;
    ptc_handle_t newest = 0;
    void* context = nullptr;
    ptc_connect_callback_t connect = nullptr;
    ptc_connectionstate_callback_t state = nullptr;
    ptc_transponder_callback_t transponder = nullptr;
    std::vector<std::pair<char, uint32_t>> queue;
    std::vector<std::vector<uint64_t>> records; // one 8-byte aligned block each
    size_t cursor = 0;
    bool refuseConnect = false; // ptc_connect returns 0
};

extern CFakeTamrixSdk g_fakeTamrixSdk;

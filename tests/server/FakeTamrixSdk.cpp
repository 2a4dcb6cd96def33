#include "FakeTamrixSdk.h"

#include <cstring>
#include <sstream>
#include <utility>

namespace {

template <typename... Args> void Record(const char* name, const Args&... args)
{
    std::ostringstream call;
    call << name << '(';
    const char* separator = "";
    ((call << separator << args, separator = ","), ...);
    call << ')';
    g_fakeTamrixSdk.calls.push_back(call.str());
}

const ptc_transponder_t* RecordAt(size_t index)
{
    const auto& records = g_fakeTamrixSdk.records;
    return index < records.size() ? reinterpret_cast<const ptc_transponder_t*>(records[index].data())
                                  : nullptr;
}

} // namespace

CFakeTamrixSdk g_fakeTamrixSdk;

void CFakeTamrixSdk::SetRecords(const std::vector<fakerecord_t>& list)
{
    records.clear();
    for (const fakerecord_t& record : list) {
        // The label runs past the declared array, as the library's do.
        std::vector<uint64_t> block((offsetof(ptc_transponder_t, label) + record.label.size() + 8) / 8, 0);
        auto* head = reinterpret_cast<ptc_transponder_t*>(block.data());
        head->id = record.id;
        head->short_id = record.shortId;
        std::memcpy(reinterpret_cast<char*>(block.data()) + offsetof(ptc_transponder_t, label),
                    record.label.c_str(), record.label.size() + 1);
        records.push_back(std::move(block));
    }
}

void CFakeTamrixSdk::RunQueue()
{
    for (const auto& [kind, value] : std::exchange(queue, {})) {
        if (kind == 's')
            state(newest, static_cast<int32_t>(value), context);
        if (kind == 'c')
            connect(newest, static_cast<uint8_t>(value), context);
        if (kind == 't')
            transponder(newest, value, static_cast<uint32_t>(records.size()), 0, context);
    }
}

extern "C" {

hub_sdk_handle_t hub_sdk_alloc(const char* appName, uint32_t flags)
{
    Record("hub_sdk_alloc", appName, flags);
    return CFakeTamrixSdk::kHub;
}

int32_t hub_sdk_messagequeue_process(hub_sdk_handle_t hub, uint32_t reserved1, uint32_t reserved2,
                                     uint32_t reserved3)
{
    Record("hub_sdk_messagequeue_process", hub, reserved1, reserved2, reserved3);
    g_fakeTamrixSdk.RunQueue();
    return 0;
}

void hub_sdk_dealloc(hub_sdk_handle_t hub)
{
    Record("hub_sdk_dealloc", hub);
}

ptc_handle_t ptc_handle_alloc(hub_sdk_handle_t hub, void* context)
{
    Record("ptc_handle_alloc", hub);
    g_fakeTamrixSdk.context = context;
    return ++g_fakeTamrixSdk.newest;
}

void ptc_handle_dealloc(hub_sdk_handle_t hub, ptc_handle_t handle)
{
    Record("ptc_handle_dealloc", hub, handle);
}

int32_t ptc_notify_connect(ptc_handle_t handle, ptc_connect_callback_t callback)
{
    Record("ptc_notify_connect", handle);
    g_fakeTamrixSdk.connect = callback;
    return 1;
}

int32_t ptc_notify_connectionstate(ptc_handle_t handle, ptc_connectionstate_callback_t callback)
{
    Record("ptc_notify_connectionstate", handle);
    g_fakeTamrixSdk.state = callback;
    return 1;
}

int32_t ptc_notify_transponder(ptc_handle_t handle, ptc_transponder_callback_t callback)
{
    Record("ptc_notify_transponder", handle);
    g_fakeTamrixSdk.transponder = callback;
    return 1;
}

int32_t ptc_objectdata_subscribe(ptc_handle_t handle, uint32_t objectType)
{
    Record("ptc_objectdata_subscribe", handle, objectType);
    return 1;
}

int32_t ptc_connect(ptc_handle_t handle, const char* host, const char* user, const char* password,
                    int32_t verify)
{
    Record("ptc_connect", handle, host, user, password, verify);
    return g_fakeTamrixSdk.refuseConnect ? 0 : 1;
}

const ptc_transponder_t* ptc_transponder_get_head(ptc_handle_t)
{
    return RecordAt(g_fakeTamrixSdk.cursor = 0);
}

const ptc_transponder_t* ptc_transponder_get_next(ptc_handle_t)
{
    return RecordAt(++g_fakeTamrixSdk.cursor);
}

void ptc_disconnect(ptc_handle_t handle)
{
    Record("ptc_disconnect", handle);
}

} // extern "C"

#include "FakeTamrixSdk.h"

#include <cstring>

namespace {

CFakeTamrixSdk& Fake()
{
    return CFakeTamrixSdk::Instance();
}

std::string Text(const char* text)
{
    return text ? text : "<null>";
}

const ptc_transponder_t* RecordAt(size_t index)
{
    auto& blocks = Fake().blocks;
    return index < blocks.size() ? reinterpret_cast<const ptc_transponder_t*>(blocks[index].data()) : nullptr;
}

} // namespace

CFakeTamrixSdk& CFakeTamrixSdk::Instance()
{
    static CFakeTamrixSdk s_fake;
    return s_fake;
}

void CFakeTamrixSdk::QueueState(int32_t state, bool withContext)
{
    queue.push_back({'s', static_cast<uint32_t>(state), withContext});
}

void CFakeTamrixSdk::QueueConnect(bool connected)
{
    queue.push_back({'c', connected ? 1u : 0u, true});
}

void CFakeTamrixSdk::QueueTransponder(uint32_t event)
{
    queue.push_back({'t', event, true});
}

void CFakeTamrixSdk::SetRecords(const std::vector<fakerecord_t>& records)
{
    blocks.clear();
    for (const fakerecord_t& record : records) {
        const size_t bytes = offsetof(ptc_transponder_t, label) + record.label.size() + 1;
        std::vector<uint64_t> block((bytes + 7) / 8, 0);
        auto* head = reinterpret_cast<ptc_transponder_t*>(block.data());
        head->id = record.id;
        head->short_id = record.shortId;
        head->record_size = static_cast<uint32_t>(block.size() * 8);
        std::memcpy(reinterpret_cast<char*>(block.data()) + offsetof(ptc_transponder_t, label),
                    record.label.c_str(), record.label.size() + 1);
        blocks.push_back(std::move(block));
    }
}

void CFakeTamrixSdk::RunQueue()
{
    const std::vector<queued_t> due = std::move(queue);
    queue.clear();
    for (const queued_t& item : due) {
        const auto found = handles.find(newest);
        if (found == handles.end() || !found->second.live)
            continue;
        const handle_t& handle = found->second;
        void* context = item.withContext ? contexts[newest] : nullptr;
        if (item.kind == 's' && handle.state)
            handle.state(newest, static_cast<int32_t>(item.value), context);
        if (item.kind == 'c' && handle.connect)
            handle.connect(newest, static_cast<uint8_t>(item.value), context);
        if (item.kind == 't' && handle.transponder)
            handle.transponder(newest, item.value, static_cast<uint32_t>(blocks.size()), 0, context);
    }
}

extern "C" {

hub_sdk_handle_t hub_sdk_alloc(const char* appName, uint32_t flags)
{
    Fake().calls.push_back("hub_sdk_alloc(" + Text(appName) + "," + std::to_string(flags) + ")");
    return CFakeTamrixSdk::kHub;
}

int32_t hub_sdk_messagequeue_process(hub_sdk_handle_t hub, uint32_t reserved1, uint32_t reserved2,
                                     uint32_t reserved3)
{
    ++Fake().pumps;
    Fake().badPumpArguments |= hub != CFakeTamrixSdk::kHub || reserved1 || reserved2 || reserved3;
    Fake().RunQueue();
    return 0;
}

void hub_sdk_dealloc(hub_sdk_handle_t hub)
{
    Fake().calls.push_back("hub_sdk_dealloc(" + std::to_string(hub) + ")");
}

ptc_handle_t ptc_handle_alloc(hub_sdk_handle_t hub, void* context)
{
    Fake().calls.push_back("ptc_handle_alloc(" + std::to_string(hub) + ")");
    const ptc_handle_t handle = Fake().handles.size() + 1;
    Fake().handles[handle] = {};
    Fake().contexts[handle] = context;
    Fake().newest = handle;
    return handle;
}

void ptc_handle_dealloc(hub_sdk_handle_t hub, ptc_handle_t handle)
{
    Fake().calls.push_back("ptc_handle_dealloc(" + std::to_string(hub) + "," + std::to_string(handle) + ")");
    Fake().handles[handle].live = false;
}

int32_t ptc_notify_connect(ptc_handle_t handle, ptc_connect_callback_t callback)
{
    Fake().calls.push_back("ptc_notify_connect(" + std::to_string(handle) + ")");
    Fake().handles[handle].connect = callback;
    return 1;
}

int32_t ptc_notify_connectionstate(ptc_handle_t handle, ptc_connectionstate_callback_t callback)
{
    Fake().calls.push_back("ptc_notify_connectionstate(" + std::to_string(handle) + ")");
    Fake().handles[handle].state = callback;
    return 1;
}

int32_t ptc_notify_transponder(ptc_handle_t handle, ptc_transponder_callback_t callback)
{
    Fake().calls.push_back("ptc_notify_transponder(" + std::to_string(handle) + ")");
    Fake().handles[handle].transponder = callback;
    return 1;
}

int32_t ptc_objectdata_subscribe(ptc_handle_t handle, uint32_t objectType)
{
    Fake().calls.push_back("ptc_objectdata_subscribe(" + std::to_string(handle) + "," +
                           std::to_string(objectType) + ")");
    return 1;
}

int32_t ptc_connect(ptc_handle_t handle, const char* host, const char* user, const char* password,
                    int32_t verify)
{
    Fake().calls.push_back("ptc_connect(" + std::to_string(handle) + "," + Text(host) + "," + Text(user) +
                           "," + Text(password) + "," + std::to_string(verify) + ")");
    return Fake().refuseConnect ? 0 : 1;
}

const ptc_transponder_t* ptc_transponder_get_head(ptc_handle_t)
{
    Fake().cursor = 0;
    return RecordAt(0);
}

const ptc_transponder_t* ptc_transponder_get_next(ptc_handle_t)
{
    return RecordAt(++Fake().cursor);
}

void ptc_disconnect(ptc_handle_t handle)
{
    Fake().calls.push_back("ptc_disconnect(" + std::to_string(handle) + ")");
}

} // extern "C"

// The library's C entry points. Every one catches what the C++ inside might
// throw (allocation failure), so nothing unwinds into the caller.
#include "TamrixSDK.h"

#include "SdkRegistry.h"

#define TAMRIX_EXPORT __attribute__((visibility("default")))

namespace {

template <typename Result, typename Body> Result Guarded(Result failure, Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

template <typename Action> int32_t OnConnection(ptc_handle_t handle, Action action) noexcept
{
    return Guarded<int32_t>(0,
                            [&] { return CSdkRegistry::Instance().WithConnection(handle, action) ? 1 : 0; });
}

} // namespace

extern "C" {

TAMRIX_EXPORT hub_sdk_handle_t hub_sdk_alloc(const char* appName, uint32_t)
{
    return Guarded<hub_sdk_handle_t>(0, [&] { return CSdkRegistry::Instance().AllocHub(appName); });
}

TAMRIX_EXPORT int32_t hub_sdk_messagequeue_process(hub_sdk_handle_t hub, uint32_t, uint32_t, uint32_t)
{
    return Guarded<int32_t>(0, [&] { return CSdkRegistry::Instance().Process(hub); });
}

TAMRIX_EXPORT void hub_sdk_dealloc(hub_sdk_handle_t hub)
{
    Guarded<int32_t>(0, [&] { return CSdkRegistry::Instance().DeallocHub(hub), 0; });
}

TAMRIX_EXPORT ptc_handle_t ptc_handle_alloc(hub_sdk_handle_t hub, void* context)
{
    return Guarded<ptc_handle_t>(0, [&] { return CSdkRegistry::Instance().AllocConnection(hub, context); });
}

TAMRIX_EXPORT void ptc_handle_dealloc(hub_sdk_handle_t hub, ptc_handle_t handle)
{
    Guarded<int32_t>(0, [&] { return CSdkRegistry::Instance().DeallocConnection(hub, handle), 0; });
}

TAMRIX_EXPORT int32_t ptc_notify_connect(ptc_handle_t handle, ptc_connect_callback_t callback)
{
    return OnConnection(handle, [&](CServerConnection& c) { c.Callbacks().connect = callback; });
}

TAMRIX_EXPORT int32_t ptc_notify_connectionstate(ptc_handle_t handle, ptc_connectionstate_callback_t callback)
{
    return OnConnection(handle, [&](CServerConnection& c) { c.Callbacks().state = callback; });
}

TAMRIX_EXPORT int32_t ptc_notify_transponder(ptc_handle_t handle, ptc_transponder_callback_t callback)
{
    return OnConnection(handle, [&](CServerConnection& c) { c.Callbacks().transponder = callback; });
}

TAMRIX_EXPORT int32_t ptc_objectdata_subscribe(ptc_handle_t handle, uint32_t objectType)
{
    if (objectType != PTC_OBJECTDATA_TRANSPONDER) {
        return 0;
    }
    return OnConnection(handle, [](CServerConnection& c) { c.Subscribe(); });
}

TAMRIX_EXPORT int32_t ptc_connect(ptc_handle_t handle, const char* host, const char* user,
                                  const char* password, int32_t)
{
    return OnConnection(handle, [&](CServerConnection& c) {
        c.Connect(host != nullptr ? host : "", user != nullptr ? user : "",
                  password != nullptr ? password : "");
    });
}

TAMRIX_EXPORT const ptc_transponder_t* ptc_transponder_get_head(ptc_handle_t handle)
{
    const ptc_transponder_t* record = nullptr;
    OnConnection(handle, [&](CServerConnection& c) { record = c.Head(); });
    return record;
}

TAMRIX_EXPORT const ptc_transponder_t* ptc_transponder_get_next(ptc_handle_t handle)
{
    const ptc_transponder_t* record = nullptr;
    OnConnection(handle, [&](CServerConnection& c) { record = c.Next(); });
    return record;
}

TAMRIX_EXPORT void ptc_disconnect(ptc_handle_t handle)
{
    OnConnection(handle, [](CServerConnection& c) { c.Disconnect(); });
}

} // extern "C"

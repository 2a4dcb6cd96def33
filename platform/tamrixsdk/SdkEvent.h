#pragma once

#include <cstdint>

#include "TamrixSDK.h"

// A callback that is due, queued until the hub's caller pumps it. The
// generation ties it to one ptc_connect: a later start or a release drops it.
struct sdkevent_t {
    enum class Kind { kState, kConnect, kTransponder };
    ptc_handle_t handle = 0;
    uint64_t generation = 0;
    Kind kind = Kind::kState;
    uint32_t values[3] = {0, 0, 0};
};

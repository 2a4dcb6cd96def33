#pragma once

#include "TamrixTesterHandlers.h"
#include "TesterRecords.h"

// Calls the handler operation that belongs to `event`'s kind, with the
// arguments made from its fields. A record of an unknown kind calls nothing.
void DispatchTesterEvent(const testerevent_t& event, CTamrixTesterHandlers& handlers);

#pragma once

// By its path: the device pages include this header without the server
// folder on theirs.
#include "../server/ServerLogin.h"

// The four persisted settings, owned by the main dialog; pages read them
// through the pointer it hands them. The server page sees only the host and
// login part.
struct AppSettings : serverlogin_t {
    int unitCelsius = 1; // any non-zero value counts as Celsius
    int showLog = 0;

    bool IsCelsius() const { return unitCelsius != 0; }
};

#pragma once

#include <string>

// What the server page reads at start and keeps after a successful connect:
// the host field's text (a ":port" included) and the user name. The password
// is never kept. Windows-1252, as every text of the program.
struct serverlogin_t {
    std::string host;
    std::string login;
};

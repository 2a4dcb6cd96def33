#pragma once

#include <string>

// The simulator's own certificate: a self-signed P-256 certificate for
// localhost, 127.0.0.1 and ::1, made once in the state folder and kept.
struct certificatefiles_t {
    std::string certificate; // the file clients trust
    std::string key;
};

// The files, made first when missing; empty paths and `error` on failure.
certificatefiles_t EnsureCertificate(const std::string& folder, std::string& error);

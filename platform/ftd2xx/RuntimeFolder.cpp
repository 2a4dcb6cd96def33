#include "RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

bool IsPrivateFolder(const std::string& folder)
{
    struct stat info {};
    return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string PrivateRuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime)) {
        return runtime;
    }
    std::string fallback = "/tmp/q9tester-" + std::to_string(::getuid());
    ::mkdir(fallback.c_str(), 0700);
    return fallback;
}

#pragma once

#include <string>

// True when `folder` is a folder (not a symbolic link) of this user that
// nobody else may write into.
bool IsPrivateFolder(const std::string& folder);

// Where this user's programs meet at run time (the single-instance lock, the
// simulated Testers' registry): $XDG_RUNTIME_DIR when it is an absolute path
// to a private folder; otherwise, a value that is relative or not private
// counting as unset, /tmp/q9tester-<uid>, created with mode 0700 if missing.
// A shared folder would let another user's program take our lock or plant a
// fake Tester, and a relative one would differ from one working folder to the
// next, letting two copies run.
std::string PrivateRuntimeFolder();

#pragma once

#include <string>

// The simulator's private folder: created with mode 0700 and refused when
// others may read or write it, as it holds the key and the password hashes.
// Returns the folder, or an empty text with the reason in `error`.
std::string PrepareStateFolder(const std::string& requested, std::string& error);

// Writes `text` to `path` with mode 0600, through a temporary file and a
// rename, so a reader never sees half of it.
bool WritePrivateFile(const std::string& path, const std::string& text);

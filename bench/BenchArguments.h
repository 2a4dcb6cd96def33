#pragma once

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// A benchmark program's arguments: up to `maxCount` whole numbers above 0.
// "--help" or "-h" prints `usage` and sets exit code 0; anything else that is
// not such a number prints it as an error and sets 2. False in both cases:
// the program then ends with `exitCode` instead of measuring.
inline bool ReadCountArguments(int argc, char** argv, const char* usage, std::size_t maxCount,
                               std::vector<int>& numbers, int& exitCode)
{
    for (int i = 1; i < argc; ++i) {
        const char* text = argv[i];
        if (std::strcmp(text, "--help") == 0 || std::strcmp(text, "-h") == 0) {
            std::printf("usage: %s\n", usage);
            exitCode = 0;
            return false;
        }
        const char* end = text + std::strlen(text);
        long value = 0;
        const auto [stop, error] = std::from_chars(text, end, value);
        if (error != std::errc() || stop != end || value <= 0 || value > INT_MAX ||
            numbers.size() == maxCount) {
            std::fprintf(stderr, "%s: unexpected argument \"%s\"\nusage: %s\n", argv[0], text, usage);
            exitCode = 2;
            return false;
        }
        numbers.push_back(static_cast<int>(value));
    }
    return true;
}

#pragma once

#include <cstddef>

#include "TesterDevice.h"

// Reply line buffers: every reply but the one to the transponder emulation.
inline constexpr std::size_t kReplyLineSize = 128;
inline constexpr std::size_t kEmulationReplyLineSize = 64;

// Reads one reply line from `device` into `buffer` (`size` bytes, at least 2),
// one byte per read. Bytes before the first "#" are skipped, and a line feed
// among them ends the read with an empty line. From the "#" on every byte is
// stored up to and including the line feed; when size - 1 bytes are stored the
// read ends there and the rest of the Tester's line is left for the next read.
// The stored bytes are always NUL-terminated.
// Returns false when a read failed or timed out; the line then holds what came
// before it.
bool ReadLine(CTesterDevice& device, char* buffer, std::size_t size);

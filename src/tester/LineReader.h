#pragma once

#include <atomic>
#include <cstddef>

#include "TesterDevice.h"

// Reply line buffers: every reply but the one to the transponder emulation.
inline constexpr std::size_t kReplyLineSize = 128;
inline constexpr std::size_t kEmulationReplyLineSize = 64;

// More bytes before a "#" than any reply holds: a device that sends this much
// without starting a line is babbling, not answering.
inline constexpr std::size_t kMaxSkippedBytes = 4096;

// Reads one reply line from `device` into `buffer` (`size` bytes, at least 2),
// one byte per read. Bytes before the first "#" are skipped, and a line feed
// among them ends the read with an empty line; so does skipping
// kMaxSkippedBytes bytes. From the "#" on every byte is stored up to and
// including the line feed; when size - 1 bytes are stored the read ends there
// and the rest of the Tester's line is left for the next read. The read also
// ends, with what it has, as soon as `keepReading` is false, so a device that
// never stops sending cannot hold up the link's stop.
// The stored bytes are always NUL-terminated.
// Returns false when a read failed or timed out; the line then holds what came
// before it.
bool ReadLine(CTesterDevice& device, char* buffer, std::size_t size, const std::atomic<bool>& keepReading);

// Feeds arbitrary bytes to CCanMessages::Load through an in-memory file, so
// the fuzzed path is the program's own: file reading, decoding, parsing and
// the CAN rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "CanMessages.h"

namespace {

// One memory-backed file for the whole run, rewritten for each input.
int MemoryFile()
{
    static const int fd = memfd_create("LoopEmulator.xml", MFD_CLOEXEC);
    if (fd < 0)
        std::abort();
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    CCanMessages messages;
    const bool loaded = messages.Load("/proc/self/fd/" + std::to_string(fd));
    // A failed load keeps nothing and says why; a good one holds only valid messages.
    if (!loaded && (messages.GetErrorText().empty() || messages.GetSequenceCount() != 0))
        std::abort();
    for (int s = 0; s < messages.GetSequenceCount(); ++s) {
        const CCanMessageSequence* sequence = messages.GetSequence(s);
        if (sequence->GetName().empty() || sequence->GetTimeBetweenMessages() < 1.0)
            std::abort();
        for (int m = 0; m < sequence->GetMessageCount(); ++m) {
            const CCanMessage* message = sequence->GetMessage(m);
            const bool valid = message->GetTwoWayId() >= 1 && message->GetTwoWayId() <= 63 &&
                               message->GetCanId() >= 1 && message->GetCanId() <= 0xFFFF &&
                               (message->GetRtr() || !message->GetData().empty());
            if (!valid)
                std::abort();
        }
    }
    return 0;
}

#include "LineReader.h"

bool ReadLine(CTesterDevice& device, char* buffer, std::size_t size, const std::atomic<bool>& keepReading)
{
    std::size_t stored = 0;
    std::size_t skipped = 0;
    bool ok = true;
    while (stored + 1 < size && keepReading) {
        uint8_t byte = 0;
        uint32_t transferred = 0;
        if (!device.Read(byte, transferred) || transferred != 1) {
            ok = false;
            break;
        }
        if (stored == 0 && byte != '#') {
            if (byte == '\n' || ++skipped == kMaxSkippedBytes)
                break;
            continue;
        }
        buffer[stored++] = static_cast<char>(byte);
        if (byte == '\n')
            break;
    }
    buffer[stored] = '\0';
    return ok;
}

#include "SdkSettings.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// An unsigned number from the environment within [low, high], else `fallback`.
uint32_t NumberFromEnvironment(const char* name, uint32_t low, uint32_t high, uint32_t fallback)
{
    const char* text = std::getenv(name);
    if (text == nullptr) {
        return fallback;
    }
    const char* end = text + std::strlen(text);
    uint32_t value = 0;
    const auto [rest, error] = std::from_chars(text, end, value);
    if (error != std::errc() || rest != end || value < low || value > high) {
        return fallback;
    }
    return value;
}

} // namespace

sdksettings_t ReadSdkSettings()
{
    sdksettings_t settings;
    settings.port = static_cast<uint16_t>(NumberFromEnvironment("TAMRIX_SDK_PORT", 1, 65535, 443));
    if (const char* caFile = std::getenv("TAMRIX_SDK_CA_FILE"); caFile != nullptr) {
        settings.caFile = caFile;
    }
    settings.stallTimeout =
        std::chrono::milliseconds(NumberFromEnvironment("TAMRIX_SDK_STALL_TIMEOUT_MS", 100, 600000, 15000));
    return settings;
}

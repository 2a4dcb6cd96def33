#include "RecordingTesterDevice.h"

#include <thread>

#include "WaitUntil.h"

CRecordingTesterDevice::CRecordingTesterDevice()
{
    SetResponder([](const std::string& command) -> std::optional<std::string> {
        return command[0] == 'm' ? std::nullopt : std::optional<std::string>("");
    });
    SetIdleInput("\n");
    // Keeps the reader thread from spinning at full speed.
    SetIdleHook([](std::size_t) { std::this_thread::sleep_for(std::chrono::microseconds(200)); });
}

bool CRecordingTesterDevice::WaitForWritten(const std::string& text, int times,
                                            std::chrono::milliseconds limit) const
{
    return WaitUntil([&] { return CountOccurrences(Written(), text) >= times; }, limit,
                     std::chrono::milliseconds(2));
}

int CountOccurrences(const std::string& haystack, const std::string& text)
{
    int count = 0;
    for (auto at = haystack.find(text); at != std::string::npos; at = haystack.find(text, at + text.size()))
        ++count;
    return count;
}

#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "RecordingHandlers.h"
#include "ScriptedDevice.h"
#include "TesterLink.h"

// A link on a scripted device whose pauses take no time and are written into
// the device's transcript, so tests see them in order with the bytes.
struct LinkHarness {
    explicit LinkHarness(std::vector<std::string> descriptions = {"TAMRIX TESTER"})
        : device(std::move(descriptions))
    {
    }

    // Delivers events (as the UI thread) until `done` holds; false after 10 s.
    bool DeliverUntil(const std::function<bool(const CRecordingHandlers&)>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            link.DeliverEvents(handlers);
            if (done(handlers))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    bool WaitForClose()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (device.CloseCount() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return device.CloseCount() > 0;
    }

    CScriptedDevice device;
    CRecordingHandlers handlers;
    std::atomic<int> notified{0};
    // Runs on the reader thread at each pause; set before Start.
    std::function<void(std::chrono::milliseconds)> onPause;
    CTesterLink link{device, [this] { ++notified; },
                     [this](std::chrono::milliseconds duration) {
                         device.NotePause(duration);
                         if (onPause)
                             onPause(duration);
                     }};
};

// The transcript holds `text` at least `times` times.
inline std::function<bool(const std::string&)> Holds(const std::string& text, int times = 1)
{
    return [text, times](const std::string& transcript) {
        int found = 0;
        for (std::size_t at = transcript.find(text); at != std::string::npos;
             at = transcript.find(text, at + 1))
            ++found;
        return found >= times;
    };
}

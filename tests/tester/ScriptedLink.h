#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "RecordingHandlers.h"
#include "RecordingTesterDevice.h"
#include "ScriptedDevice.h"
#include "TesterLink.h"
#include "WaitUntil.h"

// A link on a scripted device whose pauses take no time and are written into
// the device's transcript, so tests see them in order with the bytes.
struct CScriptedLink {
    explicit CScriptedLink(std::vector<std::string> descriptions = {"TAMRIX TESTER"})
        : device(std::move(descriptions))
    {
    }

    // Delivers events (as the UI thread) until `done` holds; false after 10 s.
    bool DeliverUntil(const std::function<bool(const CRecordingHandlers&)>& done)
    {
        return WaitUntil(
            [&] {
                link.DeliverEvents(handlers);
                return done(handlers);
            },
            std::chrono::seconds(10));
    }

    bool WaitForClose()
    {
        return WaitUntil([&] { return device.CloseCount() > 0; }, std::chrono::seconds(10));
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
    return
        [text, times](const std::string& transcript) { return CountOccurrences(transcript, text) >= times; };
}

#pragma once

#include <chrono>
#include <string>

#include "ScriptedDevice.h"

// A Tester that answers every read with an empty line (a CAN message command
// with "#msg done", so that the link goes on) and records every byte written
// to it, so tests can see what a page made the link send.
class CRecordingTesterDevice : public CScriptedDevice {
  public:
    CRecordingTesterDevice();

    std::string Written() const { return Transcript(); }
    // Waits (at most `limit`) until the bytes written contain `text` at least
    // `times` times; true when they do.
    bool WaitForWritten(const std::string& text, int times = 1,
                        std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
};

// How often `text` occurs in `haystack`.
int CountOccurrences(const std::string& haystack, const std::string& text);

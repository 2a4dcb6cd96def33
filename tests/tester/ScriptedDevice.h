#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "TesterDevice.h"

// An in-memory Tester for the link's tests. Every complete command written to
// it (a single byte, or a line ending in "\n" for "l" and "m") is answered from
// a script; every byte written and every pause the link takes is recorded in one
// transcript, so the bytes on the wire and their order can be checked exactly.
// A read with nothing to answer times out at once (no real time passes).
class CScriptedDevice : public CTesterDevice {
  public:
    // Returns the reply to `command`, or nothing to use the Tester's usual one.
    using Responder = std::function<std::optional<std::string>(const std::string& command)>;

    explicit CScriptedDevice(std::vector<std::string> descriptions = {"TAMRIX TESTER"});

    // Set before the link starts.
    void SetResponder(Responder responder) { responder_ = std::move(responder); }
    void SetEnumerationFails() { enumerationFails_ = true; }
    void SetUnreadable(uint32_t index) { unreadable_.push_back(index); }
    // Open fails, and OpenFailure tells `reason`.
    void SetOpenFails(std::string reason = {})
    {
        openFails_ = true;
        openFailure_ = std::move(reason);
    }
    // When nothing is pending, reads fail instead of timing out.
    void SetReadsFailWhenIdle() { readsFailWhenIdle_ = true; }
    // When nothing is pending, reads return these bytes over and over.
    void SetIdleInput(std::string bytes) { idleInput_ = std::move(bytes); }
    // Called on the reader thread with the count of idle bytes handed out so
    // far, after each one; it may block to hold the reader there.
    void SetIdleHook(std::function<void(std::size_t)> hook) { idleHook_ = std::move(hook); }
    // The next write of `byte` fails (`shortWrite`: reports 0 bytes written).
    void FailNextWriteOf(char byte, bool shortWrite);

    // Bytes for the line reader, as if the Tester had sent them.
    void Feed(const std::string& bytes);

    // Records a pause of the link as "|<ms>|" in the transcript.
    void NotePause(std::chrono::milliseconds duration);

    std::string Transcript() const;
    // Waits (up to 10 s) until `done` holds for the transcript.
    bool WaitForTranscript(const std::function<bool(const std::string&)>& done) const;

    int OpenedIndex() const;
    std::size_t IdleBytesRead() const;
    int CloseCount() const;
    std::vector<std::string> Configuration() const;

    // The Tester's usual replies: "#no " to polls, version 2.5, the listen
    // toggle alternating start and stop, "#no special" to the special poll,
    // "#msg done" to a CAN message, "#no " to anything else.
    static std::string UsualReply(const std::string& command, bool& listening);

    bool CreateDeviceInfoList(uint32_t& count) override;
    bool GetDeviceDescription(uint32_t index, std::string& description) override;
    bool Open(uint32_t index) override;
    std::string OpenFailure() const override { return openFailure_; }
    bool SetBaudRate(uint32_t baud) override;
    bool SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override;
    bool Purge(uint32_t mask) override;
    bool SetTimeouts(uint32_t readMs, uint32_t writeMs) override;
    bool SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff) override;
    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Write(uint8_t byte, uint32_t& transferred) override;
    void Close() override;

  private:
    void Answer(const std::string& command);
    void Record(const std::string& text);

    const std::vector<std::string> descriptions_;
    Responder responder_;
    bool enumerationFails_ = false;
    std::vector<uint32_t> unreadable_;
    bool openFails_ = false;
    std::string openFailure_;
    bool readsFailWhenIdle_ = false;
    std::string idleInput_;
    std::function<void(std::size_t)> idleHook_;
    std::size_t idlePosition_ = 0;

    mutable std::mutex mutex_; // guards everything below
    mutable std::condition_variable changed_;
    std::string transcript_;
    std::deque<char> input_;
    std::string command_; // the command being written
    bool listening_ = false;
    int failWrite_ = -1;
    bool failShort_ = false;
    int opened_ = -1;
    int closed_ = 0;
    std::vector<std::string> configuration_;
};

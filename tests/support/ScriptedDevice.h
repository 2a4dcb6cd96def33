#pragma once

#include <chrono>
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
    void SetResponder(Responder responder) { m_responder = std::move(responder); }
    void SetEnumerationFails() { m_enumerationFails = true; }
    void SetUnreadable(uint32_t index) { m_unreadable.push_back(index); }
    // Open fails, and OpenFailure tells `reason`.
    void SetOpenFails(std::string reason = {})
    {
        m_openFails = true;
        m_openFailure = std::move(reason);
    }
    // When nothing is pending, reads fail instead of timing out.
    void SetReadsFailWhenIdle() { m_readsFailWhenIdle = true; }
    // When nothing is pending, reads return these bytes over and over.
    void SetIdleInput(std::string bytes) { m_idleInput = std::move(bytes); }
    // Called on the reader thread with the count of idle bytes handed out so
    // far, after each one; it may block to hold the reader there.
    void SetIdleHook(std::function<void(std::size_t)> hook) { m_idleHook = std::move(hook); }
    // The next write of `byte` fails (`shortWrite`: reports 0 bytes written).
    void FailNextWriteOf(char byte, bool shortWrite);

    // Bytes for the line reader, as if the Tester had sent them.
    void Feed(const std::string& bytes);

    // Records a pause of the link as "|<ms>|" in the transcript.
    void NotePause(std::chrono::milliseconds duration);

    std::string Transcript() const { return Locked(m_transcript); }
    // Waits (up to 10 s) until `done` holds for the transcript.
    bool WaitForTranscript(const std::function<bool(const std::string&)>& done) const;

    int OpenedIndex() const { return Locked(m_opened); }
    std::size_t IdleBytesRead() const { return Locked(m_idlePosition); }
    int CloseCount() const { return Locked(m_closed); }
    std::vector<std::string> Configuration() const { return Locked(m_configuration); }

    bool CreateDeviceInfoList(uint32_t& count) override;
    bool GetDeviceDescription(uint32_t index, std::string& description) override;
    bool Open(uint32_t index) override;
    std::string OpenFailure() const override { return m_openFailure; }
    bool SetBaudRate(uint32_t baud) override { return Configure("baud", baud); }
    bool SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override
    {
        return !Configure("data", wordLength, stopBits, parity); // fails: the link must not care
    }
    bool Purge(uint32_t mask) override;
    bool SetTimeouts(uint32_t readMs, uint32_t writeMs) override
    {
        return Configure("timeouts", readMs, writeMs);
    }
    bool SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff) override
    {
        return Configure("flow", flowControl, xon, xoff);
    }
    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Write(uint8_t byte, uint32_t& transferred) override;
    void Close() override;

  private:
    void Answer(const std::string& command);
    // A copy of `value`, taken under the lock.
    template <typename T> T Locked(const T& value) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return value;
    }
    // Records the setting as "<name> <value> ..." in the configuration.
    template <typename... Values> bool Configure(const char* name, Values... values)
    {
        std::string setting = name;
        ((setting += ' ', setting += std::to_string(values)), ...);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_configuration.push_back(setting);
        return true;
    }

    const std::vector<std::string> m_descriptions;
    Responder m_responder;
    bool m_enumerationFails = false;
    std::vector<uint32_t> m_unreadable;
    bool m_openFails = false;
    std::string m_openFailure;
    bool m_readsFailWhenIdle = false;
    std::string m_idleInput;
    std::function<void(std::size_t)> m_idleHook;
    std::size_t m_idlePosition = 0;

    mutable std::mutex m_mutex; // guards everything below
    std::string m_transcript;
    std::deque<char> m_input;
    std::string m_command; // the command being written
    bool m_listening = false;
    int m_failWrite = -1;
    bool m_failShort = false;
    int m_opened = -1;
    int m_closed = 0;
    std::vector<std::string> m_configuration;
};

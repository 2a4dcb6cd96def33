#pragma once

#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <string>

#include "CommandReader.h"
#include "RecordingPlayer.h"
#include "ReplyWriter.h"
#include "SimOptions.h"
#include "SimulatedDeviceRegistry.h"
#include "SimulatedPort.h"
#include "TesterScenario.h"

// The simulator's main loop: plugs in, reads the host's commands, answers
// them from the scenario and plugs itself out and in again on its timers.
class CTesterSimulator {
  public:
    explicit CTesterSimulator(const SimOptions& options);
    ~CTesterSimulator();
    CTesterSimulator(const CTesterSimulator&) = delete;
    CTesterSimulator& operator=(const CTesterSimulator&) = delete;

    // Runs until `stop` becomes nonzero; returns the process exit code.
    int Run(const volatile std::sig_atomic_t& stop);

  private:
    using Clock = std::chrono::steady_clock;

    bool Start(std::string& error);
    bool Plug();
    void Unplug();
    void ServeInput();
    void Answer(const SimCommand& command);
    // With --replay: the reply the recording has at this point, whatever the
    // command, so the host hears what the program heard on site.
    void AnswerFromRecording(const SimCommand& command);
    void NoteDifference(const SimCommand& command, const recordedexchange_t& exchange);
    void UnplugAsRecorded(const recordedexchange_t& exchange, Clock::time_point when);
    // The pause before the next reply (or the unplug) of an exchange, `recorded`
    // after the one before it.
    Clock::duration ReplayStep(std::chrono::microseconds recorded) const;
    void FinishReplay();
    Clock::duration Scaled(std::chrono::microseconds recorded) const;
    void Record(const uint8_t* bytes, size_t count);
    // When the unplug or replug timer fires next, if it is set.
    std::optional<Clock::time_point> NextChange() const;
    bool ChangeDue() const;
    int PollTimeoutMs() const;
    void RunTimers();
    void Say(const std::string& text) const;

    SimOptions m_options;
    CSimulatedDeviceRegistry m_registry;
    CSimulatedPort m_port;
    CTesterScenario m_scenario;
    CReplyWriter m_writer;
    CCommandReader m_reader;
    std::unique_ptr<CRecordingPlayer> m_player; // with --replay
    CReplyWriter m_replayWriter;                // the recorded bytes, unpaced and unchanged
    std::optional<Clock::time_point> m_replugAt;
    bool m_replayDiffers = false; // the last command was not the recorded one
    uint64_t m_replayed = 0;
    uint64_t m_differed = 0;
    bool m_finished = false;
    int m_recordFd = -1;
    Clock::time_point m_changedAt; // last plug-in or unplug
    bool m_unplugOnArmed = false;
};

#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CommandReader.h"

struct ScenarioSettings {
    uint32_t seed = 1;
    bool answerVersion = true;
    std::string version = "2.3";
    // While listening, every n-th special poll hears a track sensor; at the
    // host's 250 ms poll step the default 12 is one reading every 3 s.
    unsigned specialEvery = 12;
    // Every n-th CAN message command is answered by its node as well: one
    // received message inside the transmission wait (0 never).
    unsigned rxEvery = 0;
};

// The Tester's side of the conversation: what it answers to each command,
// from a deterministic, seeded world of transponders, a beacon, a loop and
// track sensors. The same seed and the same commands give the same replies.
class CTesterScenario {
  public:
    explicit CTesterScenario(const ScenarioSettings& settings);

    // The lines (each with its "\r\n") written in answer to `command`; empty
    // when the Tester says nothing.
    std::vector<std::string> Answer(const SimCommand& command);

    bool Listening() const { return m_listening; }

    // A Tester that is plugged in starts up not listening.
    void PowerOn();

  private:
    std::string PollKorvo();
    std::string PollQ9();
    std::string PollBeacon();
    std::string PollLoopLevel();
    std::string PollMindlet();
    std::string Diagnostics(const std::string& text);
    std::string Emulate(char digit);
    std::vector<std::string> TransmitCan(const std::string& text);
    std::string ToggleListening();
    std::string SpecialPoll();

    uint32_t Random(uint32_t range);
    bool Chance(uint32_t percent);

    ScenarioSettings m_settings;
    std::mt19937 m_random;
    bool m_listening = false;
    unsigned m_specialPolls = 0;
    unsigned m_specialReadings = 0;
    unsigned m_canCommands = 0;
    unsigned m_loopStep = 0;
    size_t m_korvoNext = 0;
    size_t m_q9Next = 0;
    uint32_t m_heldQ9;        // the Q9 transponder in front of the Tester
    unsigned m_holdPolls = 0; // Q9 polls left that hear only m_heldQ9
    size_t m_mindletNext = 0;
};

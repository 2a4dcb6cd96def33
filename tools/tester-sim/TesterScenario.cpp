#include "TesterScenario.h"

#include <cstdio>

#include "CanCommand.h"
#include "TransponderCodes.h"

namespace {

constexpr const char* kInvalidParameter = "#invalid parameter\r\n";

struct Korvo {
    uint32_t number;
    int lowBattery;
    int driverNumber; // 0 = none
};
constexpr Korvo kKorvos[] = {
    {1234567, 0, 0}, {2345678, 0, 12}, {3456789, 1, 0}, {4567890, 1, 7}, {5678901, 0, 44},
};

constexpr uint32_t kQ9Transponders[] = {7001234, 7005678, 8123456};

// Mindlet transponders; the Tester prints each with its code.
struct Mindlet {
    uint32_t number;
    int lowBattery;
};
constexpr Mindlet kMindlets[] = {
    {100675641, 0},
    {100763338, 1},
    {102163303, 0},
};

// Track sensors: number, value kind (0 temperature in tenths of a degree, 2 a
// value in thousandths) and the raw value. The Tester prints each with its code.
struct TrackSensor {
    uint32_t number;
    int kind;
    uint32_t raw;
};
constexpr TrackSensor kTrackSensors[] = {
    {34788999, 0, 215},
    {136217735, 2, 1234},
};

constexpr uint32_t kBeaconNumber = 42;
// A technician asking for diagnostics holds one two-way transponder to the
// Tester and keeps it there while reading them: for this many Q9 polls (about
// ten seconds at the Tester's own pace) only that transponder is heard.
constexpr unsigned kHoldPolls = 1000;
constexpr const char* kEmulatedNumbers[] = {"1234567", "2345678", "3456789", "4567890", "5678901"};

template <typename... Args> std::string Line(const char* format, Args... args)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

bool ParseLoopParameter(const std::string& text, unsigned& parameter)
{
    if (text.size() < 2 || text.size() > 4) {
        return false;
    }
    parameter = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        parameter = parameter * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return parameter >= 1 && parameter <= 63;
}

} // namespace

CTesterScenario::CTesterScenario(const ScenarioSettings& settings)
    : m_settings(settings), m_random(settings.seed), m_heldQ9(kQ9Transponders[0])
{
}

void CTesterScenario::PowerOn()
{
    m_listening = false;
    m_specialPolls = 0;
}

uint32_t CTesterScenario::Random(uint32_t range)
{
    return static_cast<uint32_t>(m_random() % range);
}

bool CTesterScenario::Chance(uint32_t percent)
{
    return Random(100) < percent;
}

std::vector<std::string> CTesterScenario::Answer(const SimCommand& command)
{
    switch (command.letter) {
    case 'v':
        if (!m_settings.answerVersion) {
            return {};
        }
        return {"#v," + m_settings.version + "\r\n"};
    case 't':
        return {PollKorvo()};
    case 'c':
        return {PollQ9()};
    case 'b':
        return {PollBeacon()};
    case 'n':
        return {PollLoopLevel()};
    case 'x':
        return {PollMindlet()};
    case 'l':
        return {Diagnostics(command.text)};
    case 'm':
        return TransmitCan(command.text);
    case 'a':
        return {ToggleListening()};
    case 'd':
        return {SpecialPoll()};
    default:
        if (command.letter >= '0' && command.letter <= '9') {
            return {Emulate(command.letter)};
        }
        return {};
    }
}

std::string CTesterScenario::PollKorvo()
{
    if (Chance(20)) {
        return "#no transponder\r\n";
    }
    const Korvo& korvo = kKorvos[m_korvoNext++ % std::size(kKorvos)];
    return Line("#t,%u,%u,%d,%d\r\n", korvo.number, 40 + Random(90), korvo.lowBattery, korvo.driverNumber);
}

std::string CTesterScenario::PollQ9()
{
    if (m_holdPolls > 0) {
        --m_holdPolls;
    } else if (Chance(30)) {
        return "#no transponder\r\n";
    } else {
        m_heldQ9 = kQ9Transponders[m_q9Next++ % std::size(kQ9Transponders)];
    }
    return Line("#c,%u,%u\r\n", m_heldQ9, 30 + Random(100));
}

std::string CTesterScenario::PollBeacon()
{
    if (Chance(40)) {
        return "#no beacon\r\n";
    }
    // Raw temperature 37..39 is 20..28 degrees; raw battery 58..64 is 3.8..4.2 V.
    return Line("#b,%u,%u,%u,%u\r\n", kBeaconNumber, 50 + Random(60), 37 + Random(3), 58 + Random(7));
}

std::string CTesterScenario::PollLoopLevel()
{
    // A slow triangle wave with a little noise: what a loop looks like while
    // the Tester is carried across it.
    const unsigned phase = m_loopStep++ % 200;
    const unsigned level = (phase < 100 ? phase : 200 - phase) * 2 + Random(8);
    return Line("#n,%u\r\n", level);
}

std::string CTesterScenario::PollMindlet()
{
    if (Chance(40)) {
        return "#no transponder\r\n";
    }
    const Mindlet& mindlet = kMindlets[m_mindletNext++ % std::size(kMindlets)];
    return Line("#x,%u,%s,%u,%d\r\n", mindlet.number, FormatTransponderCode(mindlet.number).c_str(),
                35 + Random(80), mindlet.lowBattery);
}

std::string CTesterScenario::Diagnostics(const std::string& text)
{
    unsigned parameter = 0;
    if (!ParseLoopParameter(text, parameter)) {
        return kInvalidParameter;
    }
    // The transponder heard last answers for itself. Firmware 1.4, 12.1 V
    // external, 3.6..3.8 V battery at 80 %, 300 min left, 23 degrees, raw
    // noise 170..189.
    m_holdPolls = kHoldPolls;
    return Line("#l,%u,1,4,121,%u,4,30,23,%u\r\n", m_heldQ9, 36 + Random(3), 170 + Random(20));
}

std::string CTesterScenario::Emulate(char digit)
{
    const unsigned index = static_cast<unsigned>(digit - '0');
    if (index >= std::size(kEmulatedNumbers)) {
        return kInvalidParameter;
    }
    return Line("#emulating %s\r\n", kEmulatedNumbers[index]);
}

std::vector<std::string> CTesterScenario::TransmitCan(const std::string& text)
{
    CanCommand can;
    if (!ParseCanCommand(text, can)) {
        return {kInvalidParameter};
    }
    std::vector<std::string> lines{"#tx done\r\n"};
    // A remote request is answered by the node it asks: one received message
    // with the same identifiers and as many data bytes as requested.
    if (can.rtr == 1) {
        std::string rx = Line("#rx,%u,%x,%x,0", can.twoWayId, can.canId, can.count);
        for (uint32_t i = 0; i < can.count; ++i) {
            rx += Line(",%x", (can.canId + i * 17) & 0xFF);
        }
        lines.push_back(rx + "\r\n");
    } else if (m_settings.rxEvery != 0 && ++m_canCommands % m_settings.rxEvery == 0) {
        // The node echoes what it was sent.
        std::string rx = Line("#rx,%u,%x,%x,0", can.twoWayId, can.canId, can.count);
        for (uint32_t i = 0; i < can.count; ++i) {
            rx += Line(",%x", can.data[i]);
        }
        lines.push_back(rx + "\r\n");
    }
    lines.emplace_back("#msg done\r\n");
    return lines;
}

std::string CTesterScenario::ToggleListening()
{
    m_listening = !m_listening;
    m_specialPolls = 0;
    return m_listening ? "#start listening special\r\n" : "#stop listening special\r\n";
}

std::string CTesterScenario::SpecialPoll()
{
    if (!m_listening || m_settings.specialEvery == 0 || ++m_specialPolls % m_settings.specialEvery != 0) {
        return "#no special\r\n";
    }
    const TrackSensor& sensor = kTrackSensors[m_specialReadings++ % std::size(kTrackSensors)];
    return Line("#s,%u,%s,%u,1,%d,%u,x\r\n", sensor.number, FormatSpecialCode(sensor.number).c_str(),
                55 + Random(20), sensor.kind, sensor.raw);
}

#include "TesterSimulator.h"

#include "RecordingFormat.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

std::string EntryName(const SimOptions& options)
{
    return options.entryName.empty() ? "tester-sim-" + std::to_string(::getpid()) : options.entryName;
}

std::string RuntimeDir(const SimOptions& options)
{
    return options.runtimeDir.empty() ? CSimulatedDeviceRegistry::DefaultFolder() : options.runtimeDir;
}

// The longest the loop sleeps when no timer is due, so a stop request that
// slipped in between the flag check and poll() is seen soon.
constexpr int kIdleWaitMs = 250;
// How long an unplug waits for the host to take the bytes already sent.
constexpr int kDrainWaitMs = 2000;
// The host's read time-out, and the longest a replayed reply that came in
// time on site may take: the rest is left for the host's own delays.
constexpr std::chrono::milliseconds kHostReadTimeout{200};
constexpr std::chrono::milliseconds kLatestInTime{150};

} // namespace

CTesterSimulator::CTesterSimulator(const SimOptions& options)
    : m_options(options), m_registry(RuntimeDir(options)),
      m_port(m_registry, EntryName(options), options.description), m_scenario(options.scenario),
      m_writer(options.faults, options.speedup, options.usbLatencyMs), m_replayWriter(FaultPlan{}, 0)
{
}

CTesterSimulator::~CTesterSimulator()
{
    m_port.Unplug();
    if (m_recordFd >= 0) {
        ::close(m_recordFd);
    }
}

void CTesterSimulator::Say(const std::string& text) const
{
    if (!m_options.quiet) {
        std::printf("tester-sim: %s\n", text.c_str());
        std::fflush(stdout);
    }
}

bool CTesterSimulator::Start(std::string& error)
{
    if (!m_options.recordFile.empty()) {
        m_recordFd = ::open(m_options.recordFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (m_recordFd < 0) {
            error = "cannot write " + m_options.recordFile + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!m_options.replayFile.empty()) {
        m_player = std::make_unique<CRecordingPlayer>();
        if (!m_player->Open(m_options.replayFile, error)) {
            return false;
        }
        Say("replaying " + m_options.replayFile + " (" + m_player->Writer() + ")");
    }
    if (!m_registry.CreateFolder(error)) {
        return false;
    }
    m_registry.RemoveStaleEntries();
    return true;
}

bool CTesterSimulator::Plug()
{
    std::string error;
    m_changedAt = Clock::now();
    if (!m_port.Plug(error)) {
        std::fprintf(stderr, "tester-sim: %s\n", error.c_str());
        return false;
    }
    m_reader = CCommandReader();
    m_replugAt.reset();
    m_scenario.PowerOn();
    m_unplugOnArmed = m_options.unplugOn != 0;
    Say("plugged in: \"" + m_options.description + "\" on " + m_port.SlavePath() + " (registered in " +
        m_registry.Folder() + ")");
    return true;
}

void CTesterSimulator::Unplug()
{
    m_port.Unplug();
    m_changedAt = Clock::now();
    Say("unplugged");
}

void CTesterSimulator::Record(const uint8_t* bytes, size_t count)
{
    // Written straight through, so a test sees the bytes as soon as the
    // simulator has read them.
    if (m_recordFd >= 0 && ::write(m_recordFd, bytes, count) != static_cast<ssize_t>(count)) {
        std::fprintf(stderr, "tester-sim: recording failed: %s\n", std::strerror(errno));
    }
}

void CTesterSimulator::Answer(const SimCommand& command)
{
    if (m_player) {
        AnswerFromRecording(command);
        return;
    }
    const bool unplugNow = m_unplugOnArmed && command.letter == m_options.unplugOn;
    std::vector<std::string> lines = m_scenario.Answer(command);
    if (unplugNow) {
        m_unplugOnArmed = false;
        // Inside a transmission the host is left waiting for the rest; the
        // first line must reach it before the line drops.
        if (command.letter == 'm' && !lines.empty()) {
            m_writer.Write(m_port.Master(), lines.front());
            m_port.WaitUntilRead(kDrainWaitMs);
        }
        Unplug();
        return;
    }
    for (const std::string& line : lines) {
        m_writer.Write(m_port.Master(), line);
    }
}

CTesterSimulator::Clock::duration CTesterSimulator::Scaled(std::chrono::microseconds recorded) const
{
    if (m_options.speedup <= 0) {
        return Clock::duration::zero();
    }
    return std::chrono::duration_cast<Clock::duration>(recorded / m_options.speedup);
}

void CTesterSimulator::AnswerFromRecording(const SimCommand& command)
{
    const Clock::time_point arrived = Clock::now();
    recordedexchange_t exchange;
    if (!m_player->Next(exchange)) {
        FinishReplay();
        return;
    }
    ++m_replayed;
    NoteDifference(command, exchange);
    Clock::time_point due = arrived;
    std::chrono::microseconds previous{0};
    for (const recordedreply_t& reply : exchange.replies) {
        due += ReplayStep(reply.after - previous);
        previous = reply.after;
        std::this_thread::sleep_until(due);
        m_replayWriter.Write(m_port.Master(), reply.bytes);
    }
    if (exchange.unplug) {
        UnplugAsRecorded(exchange, due + ReplayStep(exchange.unplugAfter - previous));
    }
}

CTesterSimulator::Clock::duration CTesterSimulator::ReplayStep(std::chrono::microseconds recorded) const
{
    // What reached the host before its read time-out on site must do so here
    // too, although the host's and our own delays come on top of the recorded
    // ones: a pause that came close to the time-out is shortened to stay clear
    // of it, one that passed it (a recorded time-out) is kept.
    const Clock::duration scaled = Scaled(recorded);
    return recorded < kHostReadTimeout ? std::min<Clock::duration>(scaled, kLatestInTime) : scaled;
}

void CTesterSimulator::NoteDifference(const SimCommand& command, const recordedexchange_t& exchange)
{
    const bool differs = command.text != exchange.command;
    if (differs && !m_replayDiffers) {
        // Said once for a run of differing commands, not for every poll.
        Say("the host sent \"" + EscapedText(command.text) + "\" where the recording has \"" +
            EscapedText(exchange.command) + "\"; going on with the recording");
    }
    m_differed += differs ? 1 : 0;
    m_replayDiffers = differs;
}

void CTesterSimulator::UnplugAsRecorded(const recordedexchange_t& exchange, Clock::time_point when)
{
    std::this_thread::sleep_until(when);
    // A hang-up throws away what the host has not read: let it take the
    // replies first, as it did on site.
    m_port.WaitUntilRead(kDrainWaitMs);
    Unplug();
    if (!exchange.replug) {
        FinishReplay();
        return;
    }
    m_replugAt = Clock::now() + Scaled(exchange.awayFor);
}

void CTesterSimulator::FinishReplay()
{
    Say("end of the recording: " + std::to_string(m_replayed) + " exchanges replayed, " +
        std::to_string(m_differed) + " commands differed from the recording");
    if (m_port.IsPlugged()) {
        m_port.WaitUntilRead(kDrainWaitMs);
        Unplug();
    }
    m_finished = true;
}

void CTesterSimulator::ServeInput()
{
    uint8_t buffer[256];
    const ssize_t n = ::read(m_port.Master(), buffer, sizeof buffer);
    if (n <= 0) {
        return; // EAGAIN, or EIO while no slave is open (ours always is)
    }
    Record(buffer, static_cast<size_t>(n));
    for (ssize_t i = 0; i < n && m_port.IsPlugged(); ++i) {
        SimCommand command;
        if (m_reader.Feed(buffer[i], command)) {
            Answer(command);
        }
    }
}

std::optional<CTesterSimulator::Clock::time_point> CTesterSimulator::NextChange() const
{
    if (m_player) {
        return m_port.IsPlugged() ? std::nullopt : m_replugAt;
    }
    const std::optional<double>& after = m_port.IsPlugged() ? m_options.unplugAfter : m_options.replugAfter;
    if (!after) {
        return std::nullopt;
    }
    return m_changedAt + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(*after));
}

int CTesterSimulator::PollTimeoutMs() const
{
    const std::optional<Clock::time_point> due = NextChange();
    if (!due) {
        return kIdleWaitMs;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*due - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, kIdleWaitMs));
}

bool CTesterSimulator::ChangeDue() const
{
    const std::optional<Clock::time_point> due = NextChange();
    return due && Clock::now() >= *due;
}

void CTesterSimulator::RunTimers()
{
    if (!ChangeDue()) {
        return;
    }
    if (m_port.IsPlugged()) {
        Unplug();
    } else {
        Plug();
    }
}

int CTesterSimulator::Run(const volatile std::sig_atomic_t& stop)
{
    std::string error;
    if (!Start(error)) {
        std::fprintf(stderr, "tester-sim: %s\n", error.c_str());
        return 1;
    }
    if (!Plug()) {
        return 1;
    }
    // A host that stops reading makes the writer wait; a stop request or a
    // due unplug ends that wait.
    m_writer.SetKeepWaiting([this, &stop] { return stop == 0 && !ChangeDue(); });
    m_replayWriter.SetKeepWaiting([&stop] { return stop == 0; });
    while (stop == 0 && !m_finished) {
        pollfd pfd{m_port.Master(), POLLIN, 0}; // fd -1 while unplugged: poll only sleeps
        const int ready = ::poll(&pfd, 1, PollTimeoutMs());
        if (ready > 0 && (pfd.revents & POLLIN) != 0) {
            ServeInput();
        }
        RunTimers();
    }
    m_port.Unplug();
    Say("stopped");
    return 0;
}

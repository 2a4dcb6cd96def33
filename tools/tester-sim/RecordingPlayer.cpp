#include "RecordingPlayer.h"

#include "CommandReader.h"

namespace {

// The command the program sent, as the simulator's command reader splits the
// host's bytes; bytes that make no command are kept as they are.
std::string CommandText(const std::string& bytes)
{
    CCommandReader reader;
    SimCommand command;
    for (const char byte : bytes)
        if (reader.Feed(static_cast<uint8_t>(byte), command))
            return command.text;
    return bytes;
}

std::chrono::microseconds Between(uint64_t from, uint64_t to)
{
    return std::chrono::microseconds(static_cast<int64_t>(to - from));
}

} // namespace

bool CRecordingPlayer::Open(const std::string& path, std::string& error)
{
    if (!CheckRecordingFile(path, m_writer, error)) {
        error = path + ": " + error;
        return false;
    }
    m_in.open(path, std::ios::binary);
    m_reader = std::make_unique<CRecordingReader>(m_in);
    return true;
}

bool CRecordingPlayer::NextEvent(recordingevent_t& event)
{
    if (m_pending) {
        event = std::move(*m_pending);
        m_pending.reset();
        return true;
    }
    return m_reader->Next(event);
}

bool CRecordingPlayer::Next(recordedexchange_t& exchange)
{
    exchange = recordedexchange_t{};
    recordingevent_t event;
    // What the Tester sent before any command of an opening is no answer.
    do {
        if (!NextEvent(event))
            return false;
    } while (event.kind != RecordingKind::kTx);
    exchange.command = CommandText(event.bytes);
    const uint64_t sentAt = event.micros;
    while (NextEvent(event)) {
        switch (event.kind) {
        case RecordingKind::kTx:
            m_pending = std::move(event);
            return true;
        case RecordingKind::kRx:
            exchange.replies.push_back({Between(sentAt, event.micros), std::move(event.bytes)});
            break;
        case RecordingKind::kUnplug:
            exchange.unplug = true;
            exchange.unplugAfter = Between(sentAt, event.micros);
            FindReplug(exchange, event.micros);
            return true;
        default:
            break; // a time-out needs no answer; a close and a plug of the same Tester need none either
        }
    }
    return true;
}

void CRecordingPlayer::FindReplug(recordedexchange_t& exchange, uint64_t unpluggedAt)
{
    recordingevent_t event;
    while (NextEvent(event)) {
        if (event.kind == RecordingKind::kPlug) {
            exchange.replug = true;
            exchange.awayFor = Between(unpluggedAt, event.micros);
            return;
        }
    }
}

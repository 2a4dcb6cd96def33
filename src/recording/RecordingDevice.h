#pragma once

#include <cstddef>
#include <cstdint>

#include "RecordingFormat.h"
#include "RecordingWriter.h"
#include "TesterDevice.h"

// The Tester's driver with a recorder in between: every call goes to `inner`
// unchanged, and the bytes that went each way, the read time-outs and the
// moments the Tester was opened, went away and was closed are written to
// `writer`. The link cannot tell it from the driver itself.
//
// Bytes are gathered into one event per run in one direction, ended by a
// line feed, a turn of direction, a time-out, a failure or a full buffer, so
// the reader thread pays one write() per reply line, not one per byte, and
// allocates nothing. Only the reader thread calls it, as it does the driver.
class CRecordingDevice : public CTesterDevice {
  public:
    CRecordingDevice(CTesterDevice& inner, CRecordingWriter& writer);

    bool CreateDeviceInfoList(uint32_t& count) override;
    bool GetDeviceDescription(uint32_t index, std::string& description) override;
    bool Open(uint32_t index) override;
    std::string OpenFailure() const override;

    bool SetBaudRate(uint32_t baud) override;
    bool SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity) override;
    bool Purge(uint32_t mask) override;
    bool SetTimeouts(uint32_t readMs, uint32_t writeMs) override;
    bool SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff) override;

    bool Read(uint8_t& byte, uint32_t& transferred) override;
    bool Write(uint8_t byte, uint32_t& transferred) override;

    void Close() override;

  private:
    void Gather(RecordingKind direction, uint8_t byte);
    void Flush();
    void Record(RecordingKind kind);
    // After a failed read or write: the Tester went away, said once.
    void RecordUnplug();

    CTesterDevice& m_inner;
    CRecordingWriter& m_writer;
    bool m_open = false; // between a recorded plug and its close
    bool m_gone = false; // the unplug of this opening is recorded
    RecordingKind m_direction = RecordingKind::kTx;
    uint64_t m_chunkStart = 0;
    size_t m_chunkSize = 0;
    uint8_t m_chunk[CRecordingWriter::kMaxEventBytes];
};

#include "RecordingDevice.h"

CRecordingDevice::CRecordingDevice(CTesterDevice& inner, CRecordingWriter& writer)
    : m_inner(inner), m_writer(writer)
{
}

bool CRecordingDevice::CreateDeviceInfoList(uint32_t& count)
{
    return m_inner.CreateDeviceInfoList(count);
}

bool CRecordingDevice::GetDeviceDescription(uint32_t index, std::string& description)
{
    return m_inner.GetDeviceDescription(index, description);
}

bool CRecordingDevice::Open(uint32_t index)
{
    if (!m_inner.Open(index))
        return false;
    if (m_open)
        Record(RecordingKind::kClose); // opened again without a close: the first opening ended here
    m_open = true;
    m_gone = false;
    Record(RecordingKind::kPlug);
    return true;
}

std::string CRecordingDevice::OpenFailure() const
{
    return m_inner.OpenFailure();
}

bool CRecordingDevice::SetBaudRate(uint32_t baud)
{
    return m_inner.SetBaudRate(baud);
}

bool CRecordingDevice::SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    return m_inner.SetDataCharacteristics(wordLength, stopBits, parity);
}

bool CRecordingDevice::Purge(uint32_t mask)
{
    return m_inner.Purge(mask);
}

bool CRecordingDevice::SetTimeouts(uint32_t readMs, uint32_t writeMs)
{
    return m_inner.SetTimeouts(readMs, writeMs);
}

bool CRecordingDevice::SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff)
{
    return m_inner.SetFlowControl(flowControl, xon, xoff);
}

bool CRecordingDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    if (m_direction == RecordingKind::kTx)
        Flush(); // the command is complete before the wait for its reply
    const bool ok = m_inner.Read(byte, transferred);
    if (!ok) {
        RecordUnplug();
    } else if (transferred == 0) {
        Record(RecordingKind::kTimeout);
    } else {
        Gather(RecordingKind::kRx, byte);
    }
    return ok;
}

bool CRecordingDevice::Write(uint8_t byte, uint32_t& transferred)
{
    if (m_direction == RecordingKind::kRx)
        Flush();
    const bool ok = m_inner.Write(byte, transferred);
    if (!ok)
        RecordUnplug();
    else if (transferred == 1)
        Gather(RecordingKind::kTx, byte);
    return ok;
}

void CRecordingDevice::Close()
{
    m_inner.Close();
    // The link closes after every search, also when it found nothing; only
    // the close of an opened Tester belongs in the recording.
    if (!m_open)
        return;
    Record(RecordingKind::kClose);
    m_open = false;
}

void CRecordingDevice::Gather(RecordingKind direction, uint8_t byte)
{
    if (m_gone || !m_writer.IsRecording())
        return; // what the link still does with a Tester that went away is not the session
    if (m_chunkSize == 0) {
        m_direction = direction;
        m_chunkStart = m_writer.Now();
    }
    m_chunk[m_chunkSize++] = byte;
    if (byte == '\n' || m_chunkSize == sizeof m_chunk)
        Flush();
}

void CRecordingDevice::Flush()
{
    if (m_chunkSize == 0)
        return;
    m_writer.Write(m_chunkStart, m_direction, m_chunk, m_chunkSize);
    m_chunkSize = 0;
}

void CRecordingDevice::Record(RecordingKind kind)
{
    Flush();
    if (!m_gone || kind == RecordingKind::kClose || kind == RecordingKind::kPlug)
        m_writer.Write(m_writer.Now(), kind);
}

void CRecordingDevice::RecordUnplug()
{
    if (m_gone || !m_open)
        return;
    Record(RecordingKind::kUnplug);
    m_gone = true;
}

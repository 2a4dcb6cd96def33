#pragma once

#include <cstdint>
#include <string>

// One open serial tty (a USB-serial port or the slave of a pseudo-terminal)
// with the driver's semantics: single-byte reads and writes bounded by
// time-outs, where a time-out is not a failure but a vanished device is.
class CSerialPort {
  public:
    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens `path` blocking, in raw mode at 115200 8N1 without flow control,
    // with exclusive access if `exclusive`, and asks the driver for low
    // latency if `lowLatency` (once; a refusal is no failure). Closes
    // whatever was open before. On failure OpenError gives the errno.
    bool Open(const std::string& path, bool exclusive = true, bool lowLatency = true);
    int OpenError() const { return m_openError; }
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    bool SetBaudRate(uint32_t baud);
    enum class StopBits { kOne, kTwo };
    enum class Parity { kNone, kOdd, kEven };
    enum class FlowControl { kNone, kRtsCts, kXonXoff };

    // wordLength 7 or 8; anything else is refused.
    bool SetDataCharacteristics(uint8_t wordLength, StopBits stopBits, Parity parity);
    // XON/XOFF uses the given characters; the others ignore them.
    bool SetFlowControl(FlowControl flow, uint8_t xon, uint8_t xoff);
    // mask bit 0 drops pending input, bit 1 pending output.
    bool Purge(uint32_t mask);
    void SetTimeouts(uint32_t readMs, uint32_t writeMs);

    // False when the device failed or hung up; true with transferred 0 when
    // the time-out passed without a byte. Like the vendor driver, the port
    // takes whatever the tty holds in one read and hands it out a byte at a
    // time, so a reply line costs a couple of system calls, not two a byte.
    bool ReadByte(uint8_t& byte, uint32_t& transferred);
    bool WriteByte(uint8_t byte, uint32_t& transferred);

    static constexpr uint32_t kDefaultTimeoutMs = 200;

  private:
    enum class Wait { kReady, kTimeout, kFailed };
    Wait WaitFor(short events, uint32_t timeoutMs) const;
    template <typename Change> bool ChangeAttributes(Change change);

    bool FillInput();

    bool FailOpen();

    int m_fd = -1;
    int m_openError = 0;
    uint8_t m_input[512] = {};
    size_t m_inputBegin = 0;
    size_t m_inputEnd = 0;
    bool m_exclusive = false;
    uint32_t m_readTimeoutMs = kDefaultTimeoutMs;
    uint32_t m_writeTimeoutMs = kDefaultTimeoutMs;
};

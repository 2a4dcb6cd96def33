#include "Ftd2xxDevice.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

#include "SysfsSerialPorts.h"

namespace {

// A vanished device must never end the program: writes to it fail with an
// error instead of a signal.
void IgnoreSigpipe()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

// The device layer's reason in words that say what to look at.
std::string OpenFailureText(int error, const std::string& path)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return "no permission for " + path;
    case EBUSY:
        return path + " is in use by another program";
    case ENOTTY:
        return path + " is not a terminal";
    default:
        return "cannot open " + path + ": " + std::strerror(error);
    }
}

} // namespace

CFtd2xxDevice::CFtd2xxDevice() : CFtd2xxDevice("/sys", CSimulatedDeviceRegistry::DefaultFolder()) {}

CFtd2xxDevice::CFtd2xxDevice(std::string sysfsRoot, std::string runtimeDir)
    : m_sysfsRoot(std::move(sysfsRoot)), m_registry(std::move(runtimeDir))
{
    IgnoreSigpipe();
}

CFtd2xxDevice::~CFtd2xxDevice() = default;

bool CFtd2xxDevice::CreateDeviceInfoList(uint32_t& count)
{
    m_list = ListUsbSerialPorts(m_sysfsRoot);
    std::vector<DeviceListEntry> simulated = m_registry.List();
    m_list.insert(m_list.end(), simulated.begin(), simulated.end());
    count = static_cast<uint32_t>(m_list.size());
    return true;
}

bool CFtd2xxDevice::GetDeviceDescription(uint32_t index, std::string& description)
{
    if (index >= m_list.size()) {
        return false;
    }
    description = m_list[index].description;
    return true;
}

std::string CFtd2xxDevice::DevicePath(uint32_t index) const
{
    return index < m_list.size() ? m_list[index].path : std::string();
}

bool CFtd2xxDevice::Open(uint32_t index)
{
    if (index >= m_list.size()) {
        m_openFailure = "no device " + std::to_string(index) + " in the list";
        return false;
    }
    const DeviceListEntry& entry = m_list[index];
    // A real Tester is kept to ourselves. A simulator keeps its end of the
    // pseudo-terminal open, so the exclusive flag would outlive a program
    // killed while connected and lock every later start out. Nor has it a
    // USB bridge whose latency timer to shorten.
    if (!m_port.Open(entry.path, !entry.simulated, !entry.simulated)) {
        m_openFailure = OpenFailureText(m_port.OpenError(), entry.path);
        return false;
    }
    m_openFailure.clear();
    return true;
}

std::string CFtd2xxDevice::OpenFailure() const
{
    return m_openFailure;
}

bool CFtd2xxDevice::SetBaudRate(uint32_t baud)
{
    return m_port.SetBaudRate(baud);
}

bool CFtd2xxDevice::SetDataCharacteristics(uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    // The driver's codes: stop bits 0 one, 2 two; parity 0 none, 1 odd, 2
    // even. Mark and space parity have no termios form.
    using Port = CSerialPort;
    if ((stopBits != 0 && stopBits != 2) || parity > 2) {
        return false;
    }
    const Port::StopBits stop = stopBits == 2 ? Port::StopBits::kTwo : Port::StopBits::kOne;
    const Port::Parity kParities[] = {Port::Parity::kNone, Port::Parity::kOdd, Port::Parity::kEven};
    return m_port.SetDataCharacteristics(wordLength, stop, kParities[parity]);
}

bool CFtd2xxDevice::Purge(uint32_t mask)
{
    return m_port.Purge(mask);
}

bool CFtd2xxDevice::SetTimeouts(uint32_t readMs, uint32_t writeMs)
{
    if (!m_port.IsOpen()) {
        return false;
    }
    m_port.SetTimeouts(readMs, writeMs);
    return true;
}

bool CFtd2xxDevice::SetFlowControl(uint16_t flowControl, uint8_t xon, uint8_t xoff)
{
    // The driver's codes: 0 none, 0x0100 RTS/CTS, 0x0400 XON/XOFF; DTR/DSR
    // (0x0200) has no termios form.
    using Flow = CSerialPort::FlowControl;
    switch (flowControl) {
    case 0:
        return m_port.SetFlowControl(Flow::kNone, xon, xoff);
    case 0x0100:
        return m_port.SetFlowControl(Flow::kRtsCts, xon, xoff);
    case 0x0400:
        return m_port.SetFlowControl(Flow::kXonXoff, xon, xoff);
    default:
        return false;
    }
}

bool CFtd2xxDevice::Read(uint8_t& byte, uint32_t& transferred)
{
    return m_port.ReadByte(byte, transferred);
}

bool CFtd2xxDevice::Write(uint8_t byte, uint32_t& transferred)
{
    return m_port.WriteByte(byte, transferred);
}

void CFtd2xxDevice::Close()
{
    m_port.Close();
}

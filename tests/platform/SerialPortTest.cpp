#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include "PtyPair.h"
#include "SerialPort.h"

namespace {

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_pty.Ok());
        // Exclusive and asking for low latency, which a pseudo-terminal refuses without failing.
        ASSERT_TRUE(m_port.Open(m_pty.SlavePath(), true, true));
    }

    CPtyPair m_pty;
    CSerialPort m_port;
    uint8_t m_byte = 0;
    uint32_t m_transferred = 0;
};

TEST_F(SerialPortTest, EveryByteValuePassesUnchangedPurgeDropsPendingInputAndTheTestersLineSettingsApply)
{
    // A cooked or XON/XOFF line would alter line ends, control and flow characters or high bytes.
    for (int value = 0; value < 256; ++value) {
        const auto sent = static_cast<uint8_t>(value);
        ASSERT_TRUE(m_port.WriteByte(sent, m_transferred));
        ASSERT_EQ(m_transferred, 1u);
        ASSERT_TRUE(m_pty.ReadMaster(m_byte)) << value;
        EXPECT_EQ(m_byte, sent);

        ASSERT_EQ(::write(m_pty.Master(), &sent, 1), 1);
        ASSERT_TRUE(m_port.ReadByte(m_byte, m_transferred));
        ASSERT_EQ(m_transferred, 1u) << value;
        EXPECT_EQ(m_byte, sent);
    }

    ASSERT_EQ(::write(m_pty.Master(), "abcdef", 6), 6);
    ASSERT_TRUE(m_port.ReadByte(m_byte, m_transferred));
    ASSERT_EQ(m_transferred, 1u);
    EXPECT_EQ(m_byte, 'a');
    EXPECT_TRUE(m_port.Purge(1));
    EXPECT_TRUE(m_port.ReadByte(m_byte, m_transferred)); // a quiet line is a time-out
    EXPECT_EQ(m_transferred, 0u) << "left after purge: " << m_byte;
    ASSERT_EQ(::write(m_pty.Master(), "z", 1), 1);
    ASSERT_TRUE(m_port.ReadByte(m_byte, m_transferred));
    EXPECT_EQ(m_byte, 'z');

    EXPECT_TRUE(m_port.SetBaudRate(115200));
    EXPECT_TRUE(m_port.SetDataCharacteristics(8, CSerialPort::StopBits::kOne, CSerialPort::Parity::kNone));
    EXPECT_TRUE(m_port.SetFlowControl(CSerialPort::FlowControl::kNone, 0, 0));
    termios tio{};
    ASSERT_EQ(::tcgetattr(m_pty.Slave(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_FALSE(m_port.SetBaudRate(12345));
    EXPECT_FALSE(m_port.SetDataCharacteristics(5, CSerialPort::StopBits::kOne, CSerialPort::Parity::kNone));
}

TEST_F(SerialPortTest, ExclusiveWhileOpenAndAHangUpIsAFailureNotATimeOut)
{
    int exclusive = -1;
    ASSERT_EQ(::ioctl(m_pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    m_port.Close();
    ASSERT_EQ(::ioctl(m_pty.Slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    EXPECT_FALSE(m_port.ReadByte(m_byte, m_transferred)); // closed: neither reads nor writes
    EXPECT_FALSE(m_port.WriteByte(m_byte, m_transferred));

    // A hang-up taken for a time-out would read as success with nothing read.
    ASSERT_TRUE(m_port.Open(m_pty.SlavePath()));
    m_port.SetTimeouts(5000, 5000);
    m_pty.CloseMaster();
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(m_port.ReadByte(m_byte, m_transferred));
        EXPECT_EQ(m_transferred, 0u);
    }
    EXPECT_FALSE(m_port.WriteByte('t', m_transferred));
    EXPECT_EQ(m_transferred, 0u);
}

} // namespace

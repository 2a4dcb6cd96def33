#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "ReplyWriter.h"

TEST(ReplyWriter, WaitsForTheHostInsteadOfDroppingBytesAndGivesUpWhenAskedTo)
{
    // The simulator's pseudo-terminal: non-blocking master, raw slave.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(slave, 0);
    termios tio{};
    ASSERT_EQ(::tcgetattr(slave, &tio), 0);
    ::cfmakeraw(&tio);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &tio), 0);

    CReplyWriter writer(FaultPlan{}, 0);
    std::atomic<bool> keepWaiting{true};
    writer.SetKeepWaiting([&] { return keepWaiting.load(); });

    // Far more than the pty holds, taken by a host that starts late.
    std::string sent;
    for (int i = 0; i < 200; ++i)
        sent += "#" + std::string(500, static_cast<char>('a' + i % 26)) + "\r\n";
    std::string received;
    std::thread host([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        char buffer[4096];
        pollfd pfd{slave, POLLIN, 0};
        while (received.size() < sent.size() && ::poll(&pfd, 1, 5000) == 1) {
            const ssize_t n = ::read(slave, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
        }
    });
    bool allWritten = true;
    for (std::size_t at = 0; at < sent.size() && allWritten; at += 503)
        allWritten = writer.Write(master, sent.substr(at, 503));
    host.join();
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(received, sent);

    // Nobody reads any more: once the line is full, being asked to stop ends
    // the wait instead of holding the simulator.
    keepWaiting = false;
    bool written = true;
    for (int i = 0; i < 1000 && written; ++i)
        written = writer.Write(master, sent.substr(0, 503));
    EXPECT_FALSE(written);
    ::close(slave);
    ::close(master);
}

#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <string>
#include <thread>

#include "PtyPair.h"
#include "ReplyWriter.h"

TEST(ReplyWriter, WaitsForTheHostInsteadOfDroppingBytesAndGivesUpWhenAskedTo)
{
    const CPtyPair pty(O_NONBLOCK); // as the simulator's master
    ASSERT_TRUE(pty.Ok());
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
        pollfd pfd{pty.Slave(), POLLIN, 0};
        while (received.size() < sent.size() && ::poll(&pfd, 1, 5000) == 1) {
            const ssize_t n = ::read(pty.Slave(), buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
        }
    });
    bool allWritten = true;
    for (std::size_t at = 0; at < sent.size() && allWritten; at += 503)
        allWritten = writer.Write(pty.Master(), sent.substr(at, 503));
    host.join();
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(received, sent);

    // Nobody reads any more: asked to stop, the writer ends its wait for room.
    keepWaiting = false;
    bool written = true;
    for (int i = 0; i < 1000 && written; ++i)
        written = writer.Write(pty.Master(), sent.substr(0, 503));
    EXPECT_FALSE(written);
}

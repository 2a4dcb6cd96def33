// tester-monitor: the Tester link on the console. See --help.
#include <csignal>
#include <cstdio>

#include "EventPrinter.h"
#include "Ftd2xxDevice.h"
#include "MonitorOptions.h"
#include "RecordingDevice.h"
#include "RecordingReplay.h"
#include "SimulatedDeviceRegistry.h"
#include "StopSignal.h"
#include "TesterLink.h"
#include "ToolOptions.h"
#include "WakePipe.h"

namespace {

// What the options ask the Tester to do, after every connection.
void QueueRequestedCommands(const MonitorOptions& options, CTesterLink& link)
{
    if (options.listen) {
        link.StartListening();
    }
    if (options.diagnostics) {
        link.SendLoop(1);
    }
    if (options.emulate) {
        link.EmulateTransponder(*options.emulate);
    }
    if (options.can) {
        const MonitorCanMessage& can = *options.can;
        link.SendCanMessage(can.twoWayId, can.canId, can.count, can.rtr, can.data);
    }
}

} // namespace

int main(int argc, char** argv)
{
    MonitorOptions options;
    std::string message;
    bool help = false;
    if (!ParseMonitorOptions(argc, argv, options, message, help)) {
        return ReportOptionStop("tester-monitor", message, help);
    }
    if (!options.replayFile.empty()) {
        return PrintRecording(options.replayFile, stdout);
    }
    const volatile std::sig_atomic_t& stop = InstallStopSignals();

    const std::string runtimeDir =
        options.runtimeDir.empty() ? CSimulatedDeviceRegistry::DefaultFolder() : options.runtimeDir;
    CFtd2xxDevice device(options.sysfsRoot, runtimeDir);
    CWakePipe wake;
    if (!wake.IsOpen()) {
        std::perror("tester-monitor: pipe");
        return 1;
    }
    // Recorded only when asked; a recording that fails says so and the link
    // goes on without it.
    CRecordingWriter recording;
    CRecordingDevice recorder(device, recording);
    if (!options.recordFile.empty()) {
        recording.Open(options.recordFile, "tester-monitor", Q9_VERSION);
    }
    CTesterDevice& linkDevice = options.recordFile.empty() ? static_cast<CTesterDevice&>(device) : recorder;
    CTesterLink link(linkDevice, [&wake] { wake.Notify(); });
    // As the program does: a lost link is stopped and started again, which
    // searches anew 100 ms later.
    CEventPrinter printer(
        stdout, [&] { QueueRequestedCommands(options, link); },
        [&link, &printer] {
            printer.ShowSearchFailure(link.SearchFailure());
            link.Stop();
            link.Start();
        });

    std::printf("tester-monitor: looking for \"%s\" in %s/class/tty and %s\n", kTesterDescription,
                options.sysfsRoot.c_str(), runtimeDir.c_str());
    std::fflush(stdout);
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(options.seconds.value_or(0)));
    link.Start();
    while (stop == 0 && (!options.seconds || Clock::now() < end)) {
        wake.Wait(100);
        link.DeliverEvents(printer);
    }
    link.Stop();
    std::printf("tester-monitor: %llu events, %llu connections, %llu link losses, %llu records refused\n",
                static_cast<unsigned long long>(printer.Events()),
                static_cast<unsigned long long>(printer.Connections()),
                static_cast<unsigned long long>(printer.LinkLosses()),
                static_cast<unsigned long long>(link.RefusedEvents() + link.RefusedCommands()));
    return 0;
}

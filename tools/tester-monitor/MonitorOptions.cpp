#include "MonitorOptions.h"
#include "ToolOptions.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

bool ToNumber(const std::string& text, int base, unsigned long max, unsigned long& value)
{
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, base);
    return *end == '\0' && errno == 0 && value <= max;
}

} // namespace

bool ParseCanMessageText(const std::string& text, MonitorCanMessage& message)
{
    std::vector<std::string> fields;
    std::istringstream in(text);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field);
    }
    unsigned long twoWay = 0, canId = 0, rtr = 0;
    if (fields.size() < 3 || fields.size() > 11 || !ToNumber(fields[0], 10, 255, twoWay) ||
        !ToNumber(fields[1], 16, 0x1FFFFFFF, canId) || !ToNumber(fields[2], 10, 1, rtr)) {
        return false;
    }
    message = MonitorCanMessage{static_cast<uint8_t>(twoWay),
                                static_cast<uint32_t>(canId),
                                static_cast<uint8_t>(rtr),
                                static_cast<uint8_t>(fields.size() - 3),
                                {}};
    for (size_t i = 3; i < fields.size(); ++i) {
        unsigned long byte = 0;
        if (!ToNumber(fields[i], 16, 0xFF, byte)) {
            return false;
        }
        message.data[i - 3] = static_cast<uint8_t>(byte);
    }
    return true;
}

std::string MonitorUsage()
{
    return R"(Usage: tester-monitor [options]
Finds the Tester (on USB, or a tester-sim), connects, and prints every
event the Tester reports, one line each. Reconnects by itself when the Tester
is lost. Ctrl-C ends it.

  --seconds N          end after N seconds
  --listen             start listening for track sensors once connected
  --diagnostics        ask for the two-way transponder diagnostics once connected
  --emulate I          emulate transponder I (0 to 4) once connected
  --send-can TEXT      send a CAN message once connected; TEXT is
                       <two-way id>,<CAN id hex>,<rtr>[,<byte hex>...]
                       e.g. 5,1a2,0,01,FF
  --record FILE        record the Tester's traffic to FILE (a field recording
                       that tester-sim --replay plays back)
  --replay FILE        print the events of a recording, without a Tester, and end
  --runtime-dir DIR    where simulated Testers register (default
                       $XDG_RUNTIME_DIR/q9tester-devices or
                       /tmp/q9tester-<uid>/q9tester-devices)
  --sysfs-root DIR     sysfs to list USB-serial ports from (default /sys)
  -h, --help           this text
  -v, --version        the version of tester-monitor
)";
}

bool ParseMonitorOptions(int argc, char** argv, MonitorOptions& options, std::string& message, bool& help)
{
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (IsHelpOrVersion(name, "tester-monitor", MonitorUsage, message)) {
            help = true;
            return false;
        }
        if (name == "--listen" || name == "--diagnostics") {
            (name == "--listen" ? options.listen : options.diagnostics) = true;
            continue;
        }
        if (i + 1 >= argc) {
            message = "missing value for " + name;
            return false;
        }
        const std::string value = argv[++i];
        bool ok = false;
        if (name == "--seconds") {
            char* end = nullptr;
            const double seconds = std::strtod(value.c_str(), &end);
            ok = !value.empty() && *end == '\0' && seconds >= 0 && seconds < 1e7;
            options.seconds = seconds;
        } else if (name == "--emulate") {
            unsigned long index = 0;
            ok = ToNumber(value, 10, 4, index);
            options.emulate = static_cast<unsigned>(index);
        } else if (name == "--send-can") {
            MonitorCanMessage can;
            ok = ParseCanMessageText(value, can);
            options.can = can;
        } else if (name == "--record" || name == "--replay") {
            ok = !value.empty();
            (name == "--record" ? options.recordFile : options.replayFile) = value;
        } else if (name == "--runtime-dir" || name == "--sysfs-root") {
            ok = !value.empty();
            (name == "--runtime-dir" ? options.runtimeDir : options.sysfsRoot) = value;
        } else {
            message = "unknown option " + name;
            return false;
        }
        if (!ok) {
            message = "bad value for " + name + ": " + value;
            return false;
        }
    }
    return true;
}

#include "SimOptions.h"
#include "ToolOptions.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

namespace {

// The bridge's latency timer takes 1 to 255 ms.
constexpr unsigned kMaxUsbLatencyMs = 255;

bool ToUnsigned(const std::string& text, unsigned& value)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long parsed = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || parsed > 0xFFFFFFFFul || text[0] == '-') {
        return false;
    }
    value = static_cast<unsigned>(parsed);
    return true;
}

bool ToSeconds(const std::string& text, std::optional<double>& value)
{
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(parsed >= 0.0) || parsed > 1e6) {
        return false;
    }
    value = parsed;
    return true;
}

// "real" is 1, "fast" 0 (no delay), "<N>x" N times the real line rate.
bool ToSpeedup(const std::string& text, double& speedup)
{
    if (text == "real" || text == "fast") {
        speedup = text == "real" ? 1.0 : 0.0;
        return true;
    }
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || std::string(end) != "x" || !(parsed > 0.0) || parsed > 1e6) {
        return false;
    }
    speedup = parsed;
    return true;
}

bool IsVersion(const std::string& text)
{
    const size_t dot = text.find('.');
    unsigned part = 0;
    return dot != std::string::npos && ToUnsigned(text.substr(0, dot), part) &&
           ToUnsigned(text.substr(dot + 1), part);
}

using Setter = std::function<bool(SimOptions&, const std::string&)>;

// A file or folder option: any path but an empty one.
Setter NonEmptyPath(std::string SimOptions::*field)
{
    return [field](SimOptions& o, const std::string& v) {
        o.*field = v;
        return !v.empty();
    };
}

const std::map<std::string, Setter>& ValueOptions()
{
    static const std::map<std::string, Setter> options = {
        {"--pace", [](SimOptions& o, const std::string& v) { return ToSpeedup(v, o.speedup); }},
        {"--seed", [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.scenario.seed); }},
        {"--firmware",
         [](SimOptions& o, const std::string& v) {
             o.scenario.version = v;
             return IsVersion(v);
         }},
        {"--special-every",
         [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.scenario.specialEvery); }},
        {"--rx-every", [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.scenario.rxEvery); }},
        {"--garbage-every",
         [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.faults.garbageEvery); }},
        {"--prefix-every",
         [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.faults.prefixEvery); }},
        {"--long-every",
         [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.faults.longEvery); }},
        {"--no-cr-every",
         [](SimOptions& o, const std::string& v) { return ToUnsigned(v, o.faults.noCrEvery); }},
        {"--usb-latency",
         [](SimOptions& o, const std::string& v) {
             return ToUnsigned(v, o.usbLatencyMs) && o.usbLatencyMs <= kMaxUsbLatencyMs;
         }},
        {"--unplug-after", [](SimOptions& o, const std::string& v) { return ToSeconds(v, o.unplugAfter); }},
        {"--replug-after", [](SimOptions& o, const std::string& v) { return ToSeconds(v, o.replugAfter); }},
        {"--unplug-on",
         [](SimOptions& o, const std::string& v) {
             o.unplugOn = v.size() == 1 ? v[0] : 0;
             return v.size() == 1;
         }},
        {"--record", NonEmptyPath(&SimOptions::recordFile)},
        {"--replay", NonEmptyPath(&SimOptions::replayFile)},
        {"--runtime-dir", NonEmptyPath(&SimOptions::runtimeDir)},
        {"--description",
         [](SimOptions& o, const std::string& v) {
             o.description = v;
             return v.find('\n') == std::string::npos;
         }},
        {"--name",
         [](SimOptions& o, const std::string& v) {
             o.entryName = v;
             return !v.empty() && v[0] != '.' && v.find('/') == std::string::npos;
         }},
    };
    return options;
}

} // namespace

std::string SimUsage()
{
    return R"(Usage: tester-sim [options]
Simulates a Tester on a pseudo-terminal and registers it in the user's
runtime folder, where Q9 Tester and tester-monitor find it as they find a real
Tester on USB. Stops (and unregisters) on SIGINT or SIGTERM.

  --pace real|fast|Nx    real: replies take their time at 115200 baud 8N1
                         (about 87 us a byte); Nx: N times that rate (10x);
                         fast: no delay at all (default real)
  --seed N               seed of the simulated world (default 1)
  --usb-latency MS       model the Tester's USB bridge: a reply shorter than
                         its 62-byte packet waits for the bridge's latency
                         timer of MS ms (16 on Linux by default, 1 with the
                         udev rule; default 0: no bridge)
  --firmware X.Y         firmware version the Tester reports (default 2.3)
  --no-firmware          do not answer the firmware version query at all
  --special-every N      while listening, every N-th special poll hears a
                         track sensor (default 12, about every 3 s; 0 never)
  --rx-every N           every N-th CAN message command ("m...") is echoed
                         by its node: a "#rx" line between "#tx done" and
                         "#msg done" (default 0, never; a remote request
                         is always answered)
  --garbage-every N      replace every N-th reply line by garbage
  --prefix-every N       put noise bytes before the "#" of every N-th line
  --long-every N         pad every N-th line beyond 127 bytes
  --no-cr-every N        end every N-th line with a line feed only
  --unplug-after S       unplug S seconds after each plug-in
  --replug-after S       plug in again S seconds after each unplug
  --unplug-on C          unplug on the first command C after each plug-in
                         (for "m": right after "#tx done")
  --record FILE          write every byte received to FILE
  --replay FILE          play the Tester's side of a recording (q9tester or
                         tester-monitor --record): each command gets the
                         reply it had in the recording, at the recorded pace
                         scaled by --pace; unplugs and replugs as recorded;
                         ends with the recording (the scenario, fault and
                         unplug options do not apply)
  --runtime-dir DIR      registration folder (default $XDG_RUNTIME_DIR/
                         q9tester-devices, or /tmp/q9tester-<uid>/...)
  --description TEXT     device description (default the Tester's own)
  --name NAME            registration entry name (default tester-sim-<pid>)
  --quiet                print nothing but errors
  -h, --help             this text
  -v, --version          the version of tester-sim
)";
}

bool ParseSimOptions(int argc, char** argv, SimOptions& options, std::string& message, bool& help)
{
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (IsHelpOrVersion(name, "tester-sim", SimUsage, message)) {
            help = true;
            return false;
        }
        if (name == "--no-firmware") {
            options.scenario.answerVersion = false;
            continue;
        }
        if (name == "--quiet") {
            options.quiet = true;
            continue;
        }
        const auto option = ValueOptions().find(name);
        if (option == ValueOptions().end()) {
            message = "unknown option " + name;
            return false;
        }
        if (i + 1 >= argc || !option->second(options, argv[i + 1])) {
            message = "bad or missing value for " + name;
            return false;
        }
        ++i;
    }
    return true;
}

#include "SimOptions.h"

#include <cstring>
#include <limits>
#include <string_view>

#include "WholeNumber.h"

const char* const kSimUsage = R"(Usage: ividiv-sim [options]
A D9 Ividiv server stand-in: the transponder-data protocol over HTTPS
(docs/ividiv-protocol.md).

  --listen ADDRESS     address to listen on (default 127.0.0.1)
  --port N             port; 0 picks a free one. The port in use is printed
                       as "port N" (default 8443)
  --state-dir DIR      private folder (mode 0700) holding the certificate,
                       its key and the users (default
                       $XDG_STATE_HOME/ividiv-sim or ~/.local/state/ividiv-sim).
                       A certificate for localhost and 127.0.0.1 is made on
                       the first start; its file, the one clients trust, is
                       printed as "certificate FILE"
  --add-user NAME      read NAME's password from the first line of standard
                       input, store it as a salted hash, and exit
  --transponders FILE  serve the records of a CSV file: id,short id,label per
                       line (UTF-8, fields may be quoted with "", an empty
                       short id means none, a first line starting with "id"
                       is a heading)
  --generate N         serve N generated records instead
  --max-connections N  connections served at once (default 8); further
                       ones wait to be accepted
Faults, for tests:
  --delay-ms N         wait N ms before every answer
  --fault-page K       the faults below hit the K-th record page request
                       from the start, counting from 0 (default 0)
  --stall-ms N         send half of that page, stall N ms, then the rest
  --cut                send half of that page and close the connection
  --malformed          answer that page with broken JSON
  --status CODE        answer that page with status CODE
  --oversize           answer that page with 16 MiB, twice the client's limit
  --help               this text
)";

namespace {

struct cursor_t {
    int argc;
    char** argv;
    int index;
    std::string& error;

    // The value of the option at `index`, which moves on to it.
    const char* Value()
    {
        if (index + 1 >= argc) {
            error = std::string(argv[index]) + " needs a value";
            return nullptr;
        }
        return argv[++index];
    }

    template <typename Number> bool ReadNumber(Number low, Number high, Number& value)
    {
        const char* option = argv[index];
        const char* text = Value();
        if (text != nullptr && !ParseWholeNumber(text, low, high, value)) {
            error = std::string(option) + ": " + text + " is not a number from " + std::to_string(low) +
                    " to " + std::to_string(high);
        }
        return error.empty();
    }
};

bool ParseOne(cursor_t& cursor, simoptions_t& options)
{
    const std::string_view option = cursor.argv[cursor.index];
    const char* text = nullptr;
    if (option == "--listen" && (text = cursor.Value())) {
        options.listenAddress = text;
    } else if (option == "--port") {
        cursor.ReadNumber(0, 65535, options.port);
    } else if (option == "--state-dir" && (text = cursor.Value())) {
        options.stateDir = text;
    } else if (option == "--add-user" && (text = cursor.Value())) {
        options.addUser = text;
    } else if (option == "--transponders" && (text = cursor.Value())) {
        options.csvFile = text;
    } else if (option == "--generate") {
        cursor.ReadNumber(0u, 10'000'000u, options.generate);
    } else if (option == "--max-connections") {
        cursor.ReadNumber(1, 256, options.maxConnections);
    } else if (option == "--delay-ms") {
        cursor.ReadNumber(0u, 600'000u, options.delayMs);
    } else if (option == "--fault-page") {
        cursor.ReadNumber(0u, std::numeric_limits<uint32_t>::max(), options.faultPage);
    } else if (option == "--stall-ms") {
        cursor.ReadNumber(0u, 600'000u, options.stallMs);
    } else if (option == "--status") {
        cursor.ReadNumber(100, 599, options.status);
    } else if (option == "--cut") {
        options.cut = true;
    } else if (option == "--malformed") {
        options.malformed = true;
    } else if (option == "--oversize") {
        options.oversize = true;
    } else if (cursor.error.empty()) {
        cursor.error = "unknown option " + std::string(option);
    }
    return cursor.error.empty();
}

} // namespace

std::optional<simoptions_t> ParseSimOptions(int argc, char** argv, std::string& error)
{
    simoptions_t options;
    error.clear();
    cursor_t cursor{argc, argv, 1, error};
    for (; cursor.index < argc; ++cursor.index) {
        if (std::strcmp(argv[cursor.index], "--help") == 0) {
            return std::nullopt;
        }
        if (!ParseOne(cursor, options)) {
            return std::nullopt;
        }
    }
    if (!options.csvFile.empty() && options.generate != 0) {
        error = "--transponders and --generate exclude each other";
        return std::nullopt;
    }
    return options;
}

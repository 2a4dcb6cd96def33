// Feeds arbitrary bytes as a recording file: the reader must refuse what it
// does not understand with a line number, and whatever it accepts is read
// back as a session through the link's line reader and parsers. Crashes,
// sanitizer reports and an error without its line are findings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "RecordedSession.h"
#include "RecordingReader.h"

namespace {

class CIgnoringHandlers : public CTamrixTesterHandlers {};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CRecordingReader reader(in);
    CIgnoringHandlers handlers;
    CRecordedSession session(handlers);
    const bool complete = session.Play(reader);
    Check(complete == reader.Error().empty());
    Check(complete || reader.Error().rfind("line ", 0) == 0);
    // Escaping what was read and reading it again gives the same bytes.
    std::string bytes;
    std::string error;
    const std::string raw(reinterpret_cast<const char*>(data), size < 300 ? size : 300);
    Check(UnescapeRecordedBytes(EscapedText(raw), bytes, error) && bytes == raw);
    return 0;
}

#include "RecordingReplay.h"

#include <fstream>

#include "EventPrinter.h"
#include "RecordedSession.h"
#include "RecordingReader.h"

int PrintRecording(const std::string& path, std::FILE* out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tester-monitor: cannot read %s\n", path.c_str());
        return 1;
    }
    CRecordingReader reader(in);
    CEventPrinter printer(out, {}, {});
    CRecordedSession session(printer);
    printer.SetRecordedClock([&session] { return session.Micros(); });
    if (!reader.Writer().empty())
        std::fprintf(out, "tester-monitor: recording made by %s\n", reader.Writer().c_str());
    const bool complete = session.Play(reader);
    std::fprintf(out, "tester-monitor: %llu events, %llu connections, %llu link losses\n",
                 static_cast<unsigned long long>(printer.Events()),
                 static_cast<unsigned long long>(printer.Connections()),
                 static_cast<unsigned long long>(printer.LinkLosses()));
    std::fflush(out);
    if (!complete)
        std::fprintf(stderr, "tester-monitor: %s: %s\n", path.c_str(), reader.Error().c_str());
    return complete ? 0 : 1;
}

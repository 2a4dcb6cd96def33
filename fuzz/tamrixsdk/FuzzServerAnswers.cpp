// Feeds arbitrary bytes to the library's readers of server answers, as a
// hostile or broken server would send them. Crashes, sanitizer reports and
// records that break the layout the program reads are findings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "RecordStore.h"
#include "ServerAnswers.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

// Every record walked is whole: a NUL-terminated label of at most
// PTC_LABEL_MAX bytes without control characters.
void CheckRecords(CRecordStore& records)
{
    size_t walked = 0;
    for (const ptc_transponder_t* r = records.Head(); r != nullptr; r = records.Next()) {
        const size_t length = strnlen(r->label, PTC_LABEL_MAX + 1);
        Check(length <= PTC_LABEL_MAX);
        for (size_t i = 0; i < length; ++i) {
            Check(static_cast<unsigned char>(r->label[i]) >= 0x20 && r->label[i] != 0x7F);
        }
        ++walked;
    }
    Check(walked == records.Count());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    CRecordStore records;
    records.Append(1, 2, "kept");
    const auto page = ParseTransponderPage(text, size, records, 1000);
    Check(!page || records.Count() == 1 + page->count);
    CheckRecords(records);

    const std::string body(text, size);
    ParsePingAnswer(body);
    const auto token = ParseSessionAnswer(body);
    Check(!token || (token->size() >= 16 && token->size() <= 256));
    return 0;
}

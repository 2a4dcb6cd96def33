#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "RecordStore.h"

// Readers of the server's JSON answers. Nothing here throws; a false or empty
// result means the answer is not what the protocol allows.

// The reachability answer: {"service":"D9 Ividiv","protocol":1}.
bool ParsePingAnswer(const std::string& body);

// The session answer: {"token":"..."}; the token is 16 to 256 characters of
// [A-Za-z0-9_-], so it goes into a header as it is.
std::optional<std::string> ParseSessionAnswer(const std::string& body);

// What one page of transponder records brought.
struct transponderpage_t {
    size_t count = 0;   // records appended
    size_t altered = 0; // labels that lost characters or were cut
    bool hasNext = false;
    uint64_t next = 0; // offset of the next page when hasNext
};

// A page: {"transponders":[{"id":1,"shortId":2|null,"label":"..."},...],
// "next":N|null}. Records are appended to `records` as they are read, at
// most `maxRecords` of them; unknown keys are skipped.
std::optional<transponderpage_t> ParseTransponderPage(const char* data, size_t size, CRecordStore& records,
                                                      size_t maxRecords);

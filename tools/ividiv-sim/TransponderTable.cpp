#include "TransponderTable.h"

#include <fstream>
#include <sstream>
#include <string_view>

#include "WholeNumber.h"

namespace {

constexpr size_t kMaxFileBytes = size_t{1} << 30;
constexpr size_t kMaxLabelBytes = 4096;

bool IsValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte < 0x80           ? 1
                              : (byte >> 5) == 0x6  ? 2
                              : (byte >> 4) == 0xE  ? 3
                              : (byte >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && byte < 0xC2)) {
            return false;
        }
        uint32_t code = length == 1 ? byte : byte & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// Splits one record off `text` at `pos`; fields may be quoted, "" is a quote
// inside quotes, and a quoted field may hold line breaks.
bool NextRecord(const std::string& text, size_t& pos, std::vector<std::string>& fields, size_t& line)
{
    fields.assign(1, std::string());
    bool quoted = false;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (quoted) {
            if (c == '"' && pos < text.size() && text[pos] == '"') {
                fields.back() += '"';
                ++pos;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n' ? 1 : 0;
                fields.back() += c;
            }
        } else if (c == '"' && fields.back().empty()) {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++line;
            return true;
        } else if (c != '\r' || (pos < text.size() && text[pos] != '\n')) {
            fields.back() += c;
        }
    }
    return !quoted;
}

bool ToRecord(const std::vector<std::string>& fields, simtransponder_t& record)
{
    uint32_t shortId = 0;
    if (fields.size() != 3 || !ParseWholeNumber<uint32_t>(fields[0], 0, UINT32_MAX, record.id)) {
        return false;
    }
    if (fields[1].empty()) {
        record.shortId.reset();
    } else if (ParseWholeNumber<uint32_t>(fields[1], 0, UINT32_MAX - 1, shortId)) {
        record.shortId = shortId;
    } else {
        return false;
    }
    record.label = fields[2];
    return record.label.size() <= kMaxLabelBytes && IsValidUtf8(record.label);
}

} // namespace

bool ReadTransponderCsv(const std::string& path, std::vector<simtransponder_t>& records, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream whole;
    if (!in || !(whole << in.rdbuf()) || whole.str().size() > kMaxFileBytes) {
        error = "cannot read " + path + " (or it is over 1 GiB)";
        return false;
    }
    const std::string text = whole.str();
    records.clear();
    std::vector<std::string> fields;
    size_t pos = 0;
    size_t line = 1;
    while (pos < text.size()) {
        const size_t start = line;
        simtransponder_t record;
        const bool complete = NextRecord(text, pos, fields, line);
        const bool blank = fields.size() == 1 && fields[0].empty();
        const bool heading = start == 1 && !fields.empty() && fields[0] == "id";
        if (blank || heading) {
            continue;
        }
        if (!complete || !ToRecord(fields, record)) {
            error = path + ":" + std::to_string(start) +
                    ": expected id,short id,label (numbers, UTF-8 label up to 4096 bytes)";
            return false;
        }
        records.push_back(std::move(record));
    }
    return true;
}

std::vector<simtransponder_t> GenerateTransponders(uint32_t count)
{
    std::vector<simtransponder_t> records(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t id = i + 1;
        records[i].id = id;
        if (id % 10 != 0) {
            records[i].shortId = id;
        }
        records[i].label = "Car " + std::to_string(id);
    }
    return records;
}

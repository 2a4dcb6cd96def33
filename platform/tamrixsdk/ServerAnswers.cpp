#include "ServerAnswers.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "LabelText.h"

using nlohmann::json;

namespace {

constexpr size_t kTokenMin = 16;
constexpr size_t kTokenMax = 256;
// Unknown values may nest this deep before the answer counts as hostile.
constexpr int kMaxSkipDepth = 8;

bool IsTokenCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

std::optional<json> ParseObject(const std::string& body)
{
    try {
        json value = json::parse(body, nullptr, false);
        if (value.is_object()) {
            return value;
        }
    } catch (...) {
    }
    return std::nullopt;
}

// Reads a page as a stream of parse events, so the records go straight into
// the store and no document tree of a whole page is built.
class CPageReader : public nlohmann::json_sax<json> {
  public:
    CPageReader(CRecordStore& records, size_t maxRecords) : m_records(records), m_maxRecords(maxRecords) {}

    bool Complete() const { return m_where == Where::kDone && m_sawArray; }
    const transponderpage_t& Page() const { return m_page; }

    bool null() override { return Scalar(Value::kNull, 0); }
    bool boolean(bool) override { return Scalar(Value::kOther, 0); }
    bool number_integer(number_integer_t) override { return Scalar(Value::kOther, 0); }
    bool number_unsigned(number_unsigned_t value) override { return Scalar(Value::kUnsigned, value); }
    bool number_float(number_float_t, const string_t&) override { return Scalar(Value::kOther, 0); }
    bool binary(binary_t&) override { return false; }
    bool string(string_t& value) override
    {
        if (m_skipDepth == 0 && m_where == Where::kRecord && m_key == Key::kLabel) {
            m_label = std::move(value);
            return true;
        }
        return Scalar(Value::kOther, 0);
    }
    bool key(string_t& name) override;
    bool start_object(std::size_t) override;
    bool end_object() override;
    bool start_array(std::size_t) override;
    bool end_array() override;
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return false;
    }

  private:
    enum class Where { kStart, kTop, kArray, kRecord, kDone };
    enum class Key { kOther, kTransponders, kNext, kId, kShortId, kLabel };
    enum class Value { kNull, kUnsigned, kOther };

    bool Scalar(Value kind, uint64_t value);
    bool RecordValue(Value kind, uint64_t value);
    bool TopValue(Value kind, uint64_t value);
    bool EnterSkipped();
    bool FinishRecord();

    CRecordStore& m_records;
    size_t m_maxRecords;
    transponderpage_t m_page;
    Where m_where = Where::kStart;
    Key m_key = Key::kOther;
    int m_skipDepth = 0;
    bool m_sawArray = false;
    bool m_sawNext = false;
    bool m_hasId = false;
    uint32_t m_id = 0;
    uint32_t m_shortId = PTC_SHORT_ID_NONE;
    std::string m_label;
};

bool CPageReader::key(string_t& name)
{
    if (m_skipDepth > 0) {
        return true;
    }
    m_key = Key::kOther;
    if (m_where == Where::kTop) {
        if (name == "transponders") {
            m_key = Key::kTransponders;
        } else if (name == "next") {
            m_key = Key::kNext;
        }
    } else if (m_where == Where::kRecord) {
        if (name == "id") {
            m_key = Key::kId;
        } else if (name == "shortId") {
            m_key = Key::kShortId;
        } else if (name == "label") {
            m_key = Key::kLabel;
        }
    }
    return true;
}

bool CPageReader::Scalar(Value kind, uint64_t value)
{
    if (m_skipDepth > 0) {
        return true;
    }
    switch (m_where) {
    case Where::kTop:
        return TopValue(kind, value);
    case Where::kRecord:
        return RecordValue(kind, value);
    default:
        return false; // a bare value at the top or inside the record array
    }
}

bool CPageReader::TopValue(Value kind, uint64_t value)
{
    if (m_key == Key::kTransponders) {
        return false;
    }
    if (m_key == Key::kNext) {
        if (m_sawNext || kind == Value::kOther) {
            return false;
        }
        m_sawNext = true;
        m_page.hasNext = kind == Value::kUnsigned;
        m_page.next = value;
    }
    return true;
}

bool CPageReader::RecordValue(Value kind, uint64_t value)
{
    switch (m_key) {
    case Key::kId:
        if (kind != Value::kUnsigned || value > UINT32_MAX) {
            return false;
        }
        m_id = static_cast<uint32_t>(value);
        m_hasId = true;
        return true;
    case Key::kShortId:
        if (kind == Value::kNull) {
            m_shortId = PTC_SHORT_ID_NONE;
            return true;
        }
        if (kind != Value::kUnsigned || value > UINT32_MAX) {
            return false;
        }
        m_shortId = static_cast<uint32_t>(value);
        return true;
    case Key::kLabel:
        return kind == Value::kNull; // a label is a string or null
    default:
        return true;
    }
}

bool CPageReader::EnterSkipped()
{
    return ++m_skipDepth <= kMaxSkipDepth;
}

bool CPageReader::start_object(std::size_t)
{
    if (m_skipDepth > 0) {
        return EnterSkipped();
    }
    switch (m_where) {
    case Where::kStart:
        m_where = Where::kTop;
        return true;
    case Where::kArray:
        if (m_records.Count() >= m_maxRecords) {
            return false;
        }
        m_where = Where::kRecord;
        m_hasId = false;
        m_label.clear();
        m_shortId = PTC_SHORT_ID_NONE;
        m_key = Key::kOther;
        return true;
    case Where::kTop:
    case Where::kRecord:
        return m_key == Key::kOther && EnterSkipped();
    default:
        return false;
    }
}

bool CPageReader::end_object()
{
    if (m_skipDepth > 0) {
        --m_skipDepth;
        return true;
    }
    if (m_where == Where::kRecord) {
        return FinishRecord();
    }
    if (m_where == Where::kTop) {
        m_where = Where::kDone;
        return true;
    }
    return false;
}

bool CPageReader::FinishRecord()
{
    if (!m_hasId) {
        return false;
    }
    bool altered = false;
    m_records.Append(m_id, m_shortId, LabelToWindows1252(m_label, altered));
    ++m_page.count;
    m_page.altered += altered ? 1 : 0;
    m_where = Where::kArray;
    return true;
}

bool CPageReader::start_array(std::size_t)
{
    if (m_skipDepth > 0) {
        return EnterSkipped();
    }
    if (m_where == Where::kTop && m_key == Key::kTransponders && !m_sawArray) {
        m_where = Where::kArray;
        m_sawArray = true;
        return true;
    }
    return (m_where == Where::kTop || m_where == Where::kRecord) && m_key == Key::kOther && EnterSkipped();
}

bool CPageReader::end_array()
{
    if (m_skipDepth > 0) {
        --m_skipDepth;
        return true;
    }
    if (m_where != Where::kArray) {
        return false;
    }
    m_where = Where::kTop;
    return true;
}

} // namespace

bool ParsePingAnswer(const std::string& body)
{
    const std::optional<json> answer = ParseObject(body);
    if (!answer) {
        return false;
    }
    const auto protocol = answer->find("protocol");
    return protocol != answer->end() && protocol->is_number_unsigned() && protocol->get<uint64_t>() == 1;
}

std::optional<std::string> ParseSessionAnswer(const std::string& body)
{
    const std::optional<json> answer = ParseObject(body);
    if (!answer) {
        return std::nullopt;
    }
    const auto token = answer->find("token");
    if (token == answer->end() || !token->is_string()) {
        return std::nullopt;
    }
    const std::string& text = token->get_ref<const std::string&>();
    if (text.size() < kTokenMin || text.size() > kTokenMax ||
        !std::all_of(text.begin(), text.end(), IsTokenCharacter)) {
        return std::nullopt;
    }
    return text;
}

std::optional<transponderpage_t> ParseTransponderPage(const char* data, size_t size, CRecordStore& records,
                                                      size_t maxRecords)
{
    CPageReader reader(records, maxRecords);
    try {
        if (json::sax_parse(data, data + size, &reader) && reader.Complete()) {
            return reader.Page();
        }
    } catch (...) {
    }
    return std::nullopt;
}

#include "ServerConnection.h"

#include <cstring>

#include "ServerAnswers.h"
#include "Windows1252.h"

namespace {

constexpr size_t kPageRecords = 2000;
constexpr size_t kMaxRecords = 5'000'000;
constexpr size_t kMaxPageBody = 8 << 20;
constexpr size_t kMaxSmallBody = 4096;
constexpr size_t kMaxHost = 253;
constexpr size_t kMaxUser = 256;
constexpr size_t kMaxPassword = 1024;
constexpr size_t kMaxUtf8PerWindows1252 = 3; // 0x80, the euro sign, is U+20AC
constexpr const char* kApi = "/api/v1";

bool IsValidHost(const std::string& host)
{
    if (host.empty() || host.size() > kMaxHost || host.front() == '-' || host.front() == '.') {
        return false;
    }
    for (char c : host) {
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '.' && c != '-') {
            return false;
        }
    }
    return true;
}

// Appends the Base64 form of `bytes` to `out`, which must have room reserved
// so that no copy of the credentials is left behind by a reallocation.
void AppendBase64(const std::string& bytes, std::string& out)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += kAlphabet[n & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const uint32_t n = (uint8_t(bytes[i]) << 16) | (two ? uint8_t(bytes[i + 1]) << 8 : 0);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += two ? kAlphabet[(n >> 6) & 63] : '=';
        out += '=';
    }
}

void Wipe(std::string& secret)
{
    explicit_bzero(secret.data(), secret.size());
    secret.clear();
}

} // namespace

CServerConnection::CServerConnection(ptc_handle_t handle, CURLM* multi, const std::string& userAgent,
                                     std::vector<sdkevent_t>& events, void* context)
    : m_handle(handle), m_multi(multi), m_userAgent(userAgent), m_events(events), m_context(context)
{
}

CServerConnection::~CServerConnection()
{
    Stop();
}

void CServerConnection::Stop()
{
    m_request.reset();
    m_step = Step::kIdle;
    Wipe(m_basicAuth);
    Wipe(m_token);
}

void CServerConnection::Post(sdkevent_t::Kind kind, uint32_t first, uint32_t second, uint32_t third)
{
    m_events.push_back({m_handle, m_generation, kind, {first, second, third}});
}

void CServerConnection::Connect(const std::string& host, const char* user, const char* password)
{
    Disconnect();
    m_records.Clear();
    m_complete = false;
    m_offset = 0;
    m_altered = 0;
    m_settings = ReadSdkSettings();
    Post(sdkevent_t::Kind::kState, PTC_STATE_CONNECTING);
    if (!IsValidHost(host)) {
        Fail(PTC_STATE_FAILED);
        return;
    }
    m_baseUrl = "https://" + host + ":" + std::to_string(m_settings.port) + kApi;
    const size_t userLength = strnlen(user, kMaxUser + 1);
    const size_t passwordLength = strnlen(password, kMaxPassword + 1);
    // Credentials that no server can accept are refused at the session step
    // without being sent.
    if (userLength <= kMaxUser && passwordLength <= kMaxPassword &&
        std::memchr(user, ':', userLength) == nullptr) {
        // The caller's texts are Windows-1252, the server's UTF-8. Room for
        // the longest form, so the password is converted in place.
        m_basicAuth.reserve((userLength + 1 + passwordLength) * kMaxUtf8PerWindows1252);
        AppendWindows1252AsUtf8(m_basicAuth, std::string_view(user, userLength));
        m_basicAuth += ':';
        AppendWindows1252AsUtf8(m_basicAuth, std::string_view(password, passwordLength));
    }
    StartPing();
}

void CServerConnection::Disconnect()
{
    Stop();
    ++m_generation;
}

void CServerConnection::Start(Step step, const char* method, const std::string& path,
                              std::vector<std::string> headers, size_t maxBody)
{
    m_step = step;
    CHttpsRequest::request_t request{method, m_baseUrl + path, std::move(headers), maxBody};
    m_request = std::make_unique<CHttpsRequest>(m_multi, m_settings, m_userAgent, std::move(request), this);
    if (!m_request->Started()) {
        Fail(PTC_STATE_FAILED);
    }
}

void CServerConnection::StartPing()
{
    Start(Step::kPing, "GET", "/ping", {}, kMaxSmallBody);
}

void CServerConnection::StartSession()
{
    Post(sdkevent_t::Kind::kState, PTC_STATE_AUTHENTICATING);
    if (m_basicAuth.empty()) {
        Fail(PTC_STATE_REJECTED);
        return;
    }
    static const std::string kPrefix = "Authorization: Basic ";
    std::string header;
    header.reserve(kPrefix.size() + (m_basicAuth.size() + 2) / 3 * 4 + 1);
    header += kPrefix;
    AppendBase64(m_basicAuth, header);
    Wipe(m_basicAuth);
    std::vector<std::string> headers;
    headers.push_back(std::move(header));
    Start(Step::kSession, "POST", "/session", std::move(headers), kMaxSmallBody);
}

void CServerConnection::StartPage()
{
    const std::string path =
        "/transponders?offset=" + std::to_string(m_offset) + "&limit=" + std::to_string(kPageRecords);
    Start(Step::kPage, "GET", path, {"Authorization: Bearer " + m_token}, kMaxPageBody);
}

void CServerConnection::StartEndSession()
{
    Start(Step::kEndSession, "DELETE", "/session", {"Authorization: Bearer " + m_token}, kMaxSmallBody);
}

void CServerConnection::Fail(int32_t state)
{
    Stop();
    m_records.Clear();
    Post(sdkevent_t::Kind::kState, static_cast<uint32_t>(state));
}

void CServerConnection::Finish()
{
    Stop();
    if (m_subscribed) {
        m_complete = true;
        Post(sdkevent_t::Kind::kTransponder, PTC_TRANSPONDER_COMPLETE,
             static_cast<uint32_t>(m_records.Count()), static_cast<uint32_t>(m_altered));
    }
}

void CServerConnection::OnTransferDone(CURLcode result)
{
    const long status = m_request ? m_request->Status(result) : 0;
    switch (m_step) {
    case Step::kPing:
        OnPing(status);
        break;
    case Step::kSession:
        OnSession(status);
        break;
    case Step::kPage:
        OnPage(status);
        break;
    case Step::kEndSession:
        Finish(); // the records are complete whatever the server says to the goodbye
        break;
    case Step::kIdle:
        break;
    }
}

void CServerConnection::OnPing(long status)
{
    if (status != 200 || !ParsePingAnswer(m_request->Body())) {
        Fail(PTC_STATE_FAILED);
        return;
    }
    StartSession();
}

void CServerConnection::OnSession(long status)
{
    if (status == 401) {
        Fail(PTC_STATE_REJECTED);
        return;
    }
    std::optional<std::string> token = status == 201 ? ParseSessionAnswer(m_request->Body()) : std::nullopt;
    if (!token) {
        Fail(PTC_STATE_FAILED);
        return;
    }
    m_token = std::move(*token);
    Post(sdkevent_t::Kind::kConnect, 1);
    if (m_subscribed) {
        StartPage();
    } else {
        StartEndSession();
    }
}

void CServerConnection::OnPage(long status)
{
    std::optional<transponderpage_t> page;
    if (status == 200) {
        const std::string& body = m_request->Body();
        page = ParseTransponderPage(body.data(), body.size(), m_records, kMaxRecords);
    }
    // Each page must move on by its own records, so a server cannot keep the
    // client looping.
    if (!page || (page->hasNext && (page->count == 0 || page->next != m_offset + page->count))) {
        Fail(PTC_STATE_FAILED);
        return;
    }
    m_altered += page->altered;
    if (page->hasNext) {
        m_offset = page->next;
        StartPage();
    } else {
        StartEndSession();
    }
}

void CServerConnection::CheckStall(std::chrono::steady_clock::time_point now)
{
    if (m_request && m_request->Stalled(now)) {
        Fail(PTC_STATE_FAILED);
    }
}

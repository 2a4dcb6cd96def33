#include "HttpsRequest.h"

#include <cstring>

namespace {

constexpr long kConnectTimeoutMs = 10000;
constexpr long kTransferTimeoutMs = 120000;

} // namespace

CHttpsRequest::CHttpsRequest(CURLM* multi, const sdksettings_t& settings, const std::string& userAgent,
                             request_t request, void* owner)
    : m_multi(multi), m_easy(curl_easy_init()), m_maxBody(request.maxBody),
      m_stallTimeout(settings.stallTimeout), m_lastProgress(std::chrono::steady_clock::now())
{
    for (std::string& header : request.headers) {
        m_headers = curl_slist_append(m_headers, header.c_str());
        explicit_bzero(header.data(), header.size());
    }
    if (m_easy == nullptr || !SetUp(settings, userAgent, request)) {
        return;
    }
    curl_easy_setopt(m_easy, CURLOPT_PRIVATE, owner);
    m_started = curl_multi_add_handle(m_multi, m_easy) == CURLM_OK;
}

bool CHttpsRequest::SetUp(const sdksettings_t& settings, const std::string& userAgent,
                          const request_t& request)
{
    bool ok = curl_easy_setopt(m_easy, CURLOPT_URL, request.url.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "https") == CURLE_OK;
    if (std::strcmp(request.method, "POST") == 0) {
        // An empty body, announced with "Content-Length: 0" as servers expect.
        ok = ok && curl_easy_setopt(m_easy, CURLOPT_POSTFIELDSIZE, 0L) == CURLE_OK;
        ok = ok && curl_easy_setopt(m_easy, CURLOPT_POSTFIELDS, "") == CURLE_OK;
    } else {
        ok = ok && curl_easy_setopt(m_easy, CURLOPT_CUSTOMREQUEST, request.method) == CURLE_OK;
    }
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK;
    if (!settings.caFile.empty()) {
        ok = ok && curl_easy_setopt(m_easy, CURLOPT_CAINFO, settings.caFile.c_str()) == CURLE_OK;
        ok = ok && curl_easy_setopt(m_easy, CURLOPT_CAPATH, nullptr) == CURLE_OK;
    }
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_PROXY, "") == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK;
    // Releasing a handle while its host name is being resolved leaves the
    // resolver thread to finish alone instead of waiting for it.
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_QUICK_EXIT, 1L) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, kTransferTimeoutMs) == CURLE_OK;
    ok = ok &&
         curl_easy_setopt(m_easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_maxBody)) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_USERAGENT, userAgent.c_str()) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &CHttpsRequest::Write) == CURLE_OK;
    ok = ok && curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this) == CURLE_OK;
    return ok;
}

CHttpsRequest::~CHttpsRequest()
{
    if (m_easy != nullptr) {
        curl_multi_remove_handle(m_multi, m_easy);
        curl_easy_cleanup(m_easy);
    }
    for (curl_slist* line = m_headers; line != nullptr; line = line->next) {
        explicit_bzero(line->data, std::strlen(line->data));
    }
    curl_slist_free_all(m_headers);
}

size_t CHttpsRequest::Write(char* data, size_t size, size_t count, void* self)
{
    auto* request = static_cast<CHttpsRequest*>(self);
    const size_t bytes = size * count;
    request->m_lastProgress = std::chrono::steady_clock::now();
    if (bytes > request->m_maxBody - request->m_body.size()) {
        request->m_overflow = true;
        return 0; // ends the transfer with an error
    }
    request->m_body.append(data, bytes);
    return bytes;
}

bool CHttpsRequest::Stalled(std::chrono::steady_clock::time_point now) const
{
    return now - m_lastProgress > m_stallTimeout;
}

long CHttpsRequest::Status(CURLcode result) const
{
    long status = 0;
    if (result != CURLE_OK || m_overflow) {
        return 0;
    }
    curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

void* CHttpsRequest::Owner(CURL* easy)
{
    void* owner = nullptr;
    curl_easy_getinfo(easy, CURLINFO_PRIVATE, &owner);
    return owner;
}

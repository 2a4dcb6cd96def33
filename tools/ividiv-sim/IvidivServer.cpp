#include "IvidivServer.h"

#include <openssl/evp.h>

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string_view>
#include <thread>

#include "BoundedTaskQueue.h"
#include "WholeNumber.h"

namespace {

constexpr size_t kMaxBody = 4096;
constexpr size_t kMaxAuthorization = 2048;
constexpr size_t kDefaultPage = 1000;
constexpr size_t kMaxPage = 10000;
constexpr size_t kOversizeBytes = 16 << 20;
constexpr const char* kJson = "application/json";

void Answer(httplib::Response& response, int status, const std::string& error)
{
    response.status = status;
    response.set_content(nlohmann::json{{"error", error}}.dump(), kJson);
}

// What follows `prefix` ("Basic ", "Bearer ") in the Authorization header;
// empty when the header is missing, too long or of another scheme.
std::string AuthorizationAfter(const httplib::Request& request, std::string_view prefix)
{
    const std::string header = request.get_header_value("Authorization");
    if (header.size() > kMaxAuthorization || !header.starts_with(prefix)) {
        return {};
    }
    return header.substr(prefix.size());
}

// The user and password of an "Authorization: Basic" header; false when it
// is missing or not Base64 of "user:password".
bool BasicCredentials(const httplib::Request& request, std::string& user, std::string& password)
{
    const std::string encoded = AuthorizationAfter(request, "Basic ");
    if (encoded.empty() || encoded.size() % 4 != 0) {
        return false;
    }
    std::string decoded(encoded.size() / 4 * 3, '\0');
    const int length = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(decoded.data()),
                                       reinterpret_cast<const unsigned char*>(encoded.data()),
                                       static_cast<int>(encoded.size()));
    if (length < 0) {
        return false;
    }
    // EVP_DecodeBlock counts the bytes that the padding stands for.
    const size_t padding = encoded.size() - encoded.find_last_not_of('=') - 1;
    decoded.resize(static_cast<size_t>(length) - std::min<size_t>(padding, 2));
    const size_t colon = decoded.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    user = decoded.substr(0, colon);
    password = decoded.substr(colon + 1);
    OPENSSL_cleanse(decoded.data(), decoded.size());
    return true;
}

bool Number(const httplib::Request& request, const char* name, size_t fallback, size_t& value)
{
    if (!request.has_param(name)) {
        value = fallback;
        return true;
    }
    return ParseWholeNumber(request.get_param_value(name), size_t{0}, SIZE_MAX, value);
}

void Log(const httplib::Request& request, const httplib::Response& response)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::printf("%s %s %d\n", request.method.c_str(), request.path.c_str(), response.status);
    std::fflush(stdout);
}

} // namespace

CIvidivServer::CIvidivServer(const simoptions_t& options, const certificatefiles_t& files,
                             const CUserStore& users, std::vector<simtransponder_t> records)
    : m_options(options), m_server(files.certificate.c_str(), files.key.c_str()), m_users(users),
      m_records(std::move(records))
{
    const size_t workers = static_cast<size_t>(options.maxConnections);
    m_server.new_task_queue = [workers] { return new CBoundedTaskQueue(workers); };
    m_server.set_payload_max_length(kMaxBody);
    m_server.set_read_timeout(5, 0);
    m_server.set_write_timeout(5, 0);
    m_server.set_keep_alive_timeout(5);
    m_server.set_keep_alive_max_count(10000);
    m_server.set_logger(Log);
    m_server.set_exception_handler([](const httplib::Request&, httplib::Response& response,
                                      std::exception_ptr) { Answer(response, 500, "internal error"); });
    Routes();
}

void CIvidivServer::Routes()
{
    m_server.Get("/api/v1/ping",
                 [this](const httplib::Request&, httplib::Response& response) { Ping(response); });
    m_server.Post("/api/v1/session", [this](const httplib::Request& request, httplib::Response& response) {
        OpenSession(request, response);
    });
    m_server.Delete("/api/v1/session", [this](const httplib::Request& request, httplib::Response& response) {
        CloseSession(request, response);
    });
    m_server.Get("/api/v1/transponders", [this](const httplib::Request& request,
                                                httplib::Response& response) { Page(request, response); });
}

int CIvidivServer::Bind()
{
    if (!m_server.is_valid()) {
        return -1;
    }
    if (m_options.port == 0) {
        return m_server.bind_to_any_port(m_options.listenAddress);
    }
    return m_server.bind_to_port(m_options.listenAddress, m_options.port) ? m_options.port : -1;
}

bool CIvidivServer::Run()
{
    return m_server.listen_after_bind();
}

void CIvidivServer::Stop()
{
    m_stopping = true;
    m_server.stop();
}

void CIvidivServer::Pause(uint32_t ms) const
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!m_stopping && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void CIvidivServer::Ping(httplib::Response& response)
{
    Pause(m_options.delayMs);
    response.set_content(R"({"service":"D9 Ividiv","protocol":1})", kJson);
}

void CIvidivServer::OpenSession(const httplib::Request& request, httplib::Response& response)
{
    Pause(m_options.delayMs);
    std::string user;
    std::string password;
    if (!BasicCredentials(request, user, password)) {
        Answer(response, 400, "expected Basic credentials");
        return;
    }
    const bool known = m_users.Check(user, password);
    OPENSSL_cleanse(password.data(), password.size());
    if (!known) {
        response.set_header("WWW-Authenticate", R"(Basic realm="D9 Ividiv")");
        Answer(response, 401, "wrong user name or password");
        return;
    }
    const std::string token = m_sessions.Open();
    if (token.empty()) {
        Answer(response, 503, "no session available");
        return;
    }
    response.status = 201;
    response.set_content(nlohmann::json{{"token", token}}.dump(), kJson);
}

bool CIvidivServer::HasSession(const httplib::Request& request)
{
    return m_sessions.IsOpen(AuthorizationAfter(request, "Bearer "));
}

void CIvidivServer::CloseSession(const httplib::Request& request, httplib::Response& response)
{
    Pause(m_options.delayMs);
    if (!m_sessions.Close(AuthorizationAfter(request, "Bearer "))) {
        Answer(response, 401, "no such session");
        return;
    }
    response.status = 204;
}

std::string CIvidivServer::PageBody(size_t offset, size_t limit) const
{
    const size_t end = std::min(m_records.size(), offset + limit);
    std::string body = R"({"transponders":[)";
    for (size_t i = offset; i < end; ++i) {
        const simtransponder_t& record = m_records[i];
        body += i == offset ? R"({"id":)" : R"(,{"id":)";
        body += std::to_string(record.id);
        body += R"(,"shortId":)";
        body += record.shortId ? std::to_string(*record.shortId) : "null";
        body += R"(,"label":)";
        body += nlohmann::json(record.label).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        body += '}';
    }
    body += R"(],"next":)";
    body += end < m_records.size() ? std::to_string(end) : "null";
    body += '}';
    return body;
}

void CIvidivServer::Page(const httplib::Request& request, httplib::Response& response)
{
    Pause(m_options.delayMs);
    if (!HasSession(request)) {
        Answer(response, 401, "no such session");
        return;
    }
    size_t offset = 0;
    size_t limit = 0;
    if (!Number(request, "offset", 0, offset) || !Number(request, "limit", kDefaultPage, limit) ||
        limit == 0 || offset > m_records.size()) {
        Answer(response, 400, "offset from 0 to the record count, limit from 1");
        return;
    }
    std::string body = PageBody(offset, std::min(limit, kMaxPage));
    if (m_pageRequests++ == m_options.faultPage) {
        FaultyPage(std::move(body), response);
        return;
    }
    response.set_content(std::move(body), kJson);
}

void CIvidivServer::FaultyPage(std::string body, httplib::Response& response)
{
    const size_t half = body.size() / 2;
    if (m_options.status != 0) {
        Answer(response, m_options.status, "injected status");
    } else if (m_options.malformed) {
        body.resize(half);
        response.set_content(std::move(body), kJson);
    } else if (m_options.oversize) {
        response.set_chunked_content_provider(
            kJson, [sent = size_t{0}](size_t, httplib::DataSink& sink) mutable {
                static const std::string kHead = R"({"transponders":[],"pad":")";
                static const std::string kChunk(65536, 'x');
                if (sent == 0) {
                    sent = 1;
                    return sink.write(kHead.data(), kHead.size());
                }
                if (sent <= kOversizeBytes) {
                    sent += kChunk.size();
                    return sink.write(kChunk.data(), kChunk.size());
                }
                sink.write("\"}", 2);
                sink.done();
                return true;
            });
    } else if (m_options.cut || m_options.stallMs != 0) {
        const bool cut = m_options.cut;
        const uint32_t stall = m_options.stallMs;
        auto shared = std::make_shared<std::string>(std::move(body));
        response.set_content_provider(
            shared->size(), kJson,
            [this, shared, half, cut, stall](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset < half) {
                    return sink.write(shared->data() + offset, half - offset);
                }
                if (cut) {
                    return false;
                }
                Pause(stall);
                return sink.write(shared->data() + offset, shared->size() - offset);
            });
    } else {
        response.set_content(std::move(body), kJson);
    }
}

// ividiv-sim against hostile and broken clients: every bad request gets an
// answer or a closed connection, and the server goes on serving.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "IvidivSimProcess.h"
#include "TempFolder.h"

namespace {

struct answer_t {
    long status = 0; // 0: no answer
    std::string body;
    CURLcode result = CURLE_OK;
};

size_t Collect(char* data, size_t size, size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

answer_t Request(const CIvidivSimProcess& sim, const char* method, const std::string& path,
                 const std::vector<std::string>& headers, const std::string& body = "",
                 const std::string& scheme = "https")
{
    answer_t answer;
    CURL* easy = curl_easy_init();
    curl_slist* list = nullptr;
    for (const std::string& header : headers)
        list = curl_slist_append(list, header.c_str());
    const std::string url = scheme + "://127.0.0.1:" + std::to_string(sim.Port()) + path;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str()); // string options are copied
    curl_easy_setopt(easy, CURLOPT_CAINFO, sim.Certificate().c_str());
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, 10000L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &answer.body);
    if (std::string(method) == "POST") {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.c_str());
    }
    answer.result = curl_easy_perform(easy);
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &answer.status); // 0 without an answer
    curl_slist_free_all(list);
    curl_easy_cleanup(easy);
    return answer;
}

} // namespace

// What the library's tests cannot see: answers to requests it never makes, a
// token used after its session ended, and the stored passwords.
TEST(IvidivSim, BadRequestsGetAnAnswerTheServerGoesOnAndKeepsOnlySaltedHashes)
{
    CIvidivSimProcess sim({"--generate", "3"});
    ASSERT_NE(sim.Port(), 0) << sim.Log();
    const std::string basic = "Authorization: Basic ";

    EXPECT_EQ(Request(sim, "POST", "/api/v1/session", {}).status, 400);
    EXPECT_EQ(Request(sim, "POST", "/api/v1/session", {basic + "!!!!"}).status, 400);
    EXPECT_EQ(Request(sim, "POST", "/api/v1/session", {basic + "bm9jb2xvbg=="}).status, 400); // "nocolon"
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders", {}).status, 401);
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders", {"Authorization: Bearer wrong"}).status, 401);
    EXPECT_EQ(Request(sim, "DELETE", "/api/v1/session", {"Authorization: Bearer wrong"}).status, 401);
    EXPECT_EQ(Request(sim, "GET", "/api/v1/ping", {"X-Big: " + std::string(10000, 'a')}).status, 400);
    EXPECT_EQ(Request(sim, "POST", "/api/v1/session", {}, std::string(5000, 'x')).status, 413);
    // No TLS handshake at all: refused at once, not waited on.
    const answer_t plain = Request(sim, "GET", "/api/v1/ping", {}, "", "http");
    EXPECT_EQ(plain.status, 0);
    EXPECT_NE(plain.result, CURLE_OPERATION_TIMEDOUT);

    const answer_t session = Request(sim, "POST", "/api/v1/session", {basic + "YWxpY2U6cGFzczogd8O2cmQ="});
    ASSERT_EQ(session.status, 201);
    const std::string bearer =
        "Authorization: Bearer " + nlohmann::json::parse(session.body)["token"].get<std::string>();
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders?offset=x", {bearer}).status, 400);
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders?offset=4", {bearer}).status, 400);
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders?limit=0", {bearer}).status, 400);
    EXPECT_EQ(Request(sim, "DELETE", "/api/v1/session", {bearer}).status, 204);
    EXPECT_EQ(Request(sim, "GET", "/api/v1/transponders", {bearer}).status, 401);

    const std::string users = ReadFileBytes(sim.StateFolder() + "/users");
    EXPECT_EQ(users.rfind(std::string(CIvidivSimProcess::kUser) + ":$", 0), 0u) << users;
    EXPECT_EQ(users.find("pass"), std::string::npos);
    EXPECT_EQ(users.find("w\xc3\xb6rd"), std::string::npos);
}

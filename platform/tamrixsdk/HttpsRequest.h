#pragma once

#include <curl/curl.h>

#include <chrono>
#include <string>
#include <vector>

#include "SdkSettings.h"

// One HTTPS request driven by a hub's multi handle: certificate and host name
// always verified, no redirects, no proxy, every size and time bounded. The
// header lines are wiped when the request goes, as they carry credentials.
class CHttpsRequest {
  public:
    struct request_t {
        const char* method = "GET";
        std::string url;
        std::vector<std::string> headers;
        size_t maxBody = 0; // a longer answer fails the request
    };

    // `owner` is handed back by Owner() when the multi handle reports the end.
    CHttpsRequest(CURLM* multi, const sdksettings_t& settings, const std::string& userAgent,
                  request_t request, void* owner);
    ~CHttpsRequest();
    CHttpsRequest(const CHttpsRequest&) = delete;
    CHttpsRequest& operator=(const CHttpsRequest&) = delete;

    // False when the transfer could not even be set up.
    bool Started() const { return m_started; }
    // Silent for longer than the stall time-out.
    bool Stalled(std::chrono::steady_clock::time_point now) const;

    // After the multi handle reported the end: the status (0 when no answer
    // came whole) and the body.
    long Status(CURLcode result) const;
    const std::string& Body() const { return m_body; }

    static void* Owner(CURL* easy);

  private:
    static size_t Write(char* data, size_t size, size_t count, void* self);
    bool SetUp(const sdksettings_t& settings, const std::string& userAgent, const request_t& request);

    CURLM* m_multi;
    CURL* m_easy;
    curl_slist* m_headers = nullptr;
    size_t m_maxBody;
    std::string m_body;
    std::chrono::milliseconds m_stallTimeout;
    std::chrono::steady_clock::time_point m_lastProgress;
    bool m_overflow = false;
    bool m_started = false;
};

#pragma once

#include <httplib.h>

#include <atomic>
#include <string>
#include <vector>

#include "Certificate.h"
#include "SessionTable.h"
#include "SimOptions.h"
#include "TransponderTable.h"
#include "UserStore.h"

// The D9 Ividiv protocol over HTTPS (docs/ividiv-protocol.md), with the
// faults of the options. Every request is logged to standard output as
// "METHOD PATH STATUS"; credentials and tokens never are.
class CIvidivServer {
  public:
    CIvidivServer(const simoptions_t& options, const certificatefiles_t& files, const CUserStore& users,
                  std::vector<simtransponder_t> records);

    // Binds the listening socket; the port in use, or -1.
    int Bind();
    // Serves until Stop.
    bool Run();
    void Stop();

  private:
    void Routes();
    void Ping(httplib::Response& response);
    void OpenSession(const httplib::Request& request, httplib::Response& response);
    void CloseSession(const httplib::Request& request, httplib::Response& response);
    void Page(const httplib::Request& request, httplib::Response& response);
    void FaultyPage(std::string body, httplib::Response& response);
    bool HasSession(const httplib::Request& request);
    std::string PageBody(size_t offset, size_t limit) const;
    // Sleeps up to `ms`, less when the server stops.
    void Pause(uint32_t ms) const;

    simoptions_t m_options;
    httplib::SSLServer m_server;
    const CUserStore& m_users;
    const std::vector<simtransponder_t> m_records;
    CSessionTable m_sessions;
    std::atomic<uint32_t> m_pageRequests{0};
    std::atomic<bool> m_stopping{false};
};

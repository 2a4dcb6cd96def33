// ividiv-sim: a D9 Ividiv server stand-in for the server-access library.
// See --help and docs/ividiv-protocol.md.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "Certificate.h"
#include "IvidivServer.h"
#include "SimOptions.h"
#include "StateFolder.h"
#include "TransponderTable.h"
#include "UserStore.h"

namespace {

constexpr size_t kMaxPassword = 1024;

// The signals that end the server.
sigset_t StopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}

int AddUser(CUserStore& users, const std::string& name)
{
    std::string password;
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    std::string error;
    if (password.empty() || password.size() > kMaxPassword) {
        error = "the password (first line of standard input) must be 1 to 1024 bytes";
    }
    const bool ok = error.empty() && users.Set(name, password, error);
    std::fill(password.begin(), password.end(), '\0');
    if (!ok) {
        std::fprintf(stderr, "ividiv-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("user %s stored\n", name.c_str());
    return 0;
}

bool LoadRecords(const simoptions_t& options, std::vector<simtransponder_t>& records, std::string& error)
{
    if (!options.csvFile.empty()) {
        return ReadTransponderCsv(options.csvFile, records, error);
    }
    records = GenerateTransponders(options.generate);
    return true;
}

// Serves until SIGTERM or SIGINT, which a thread of its own waits for.
int Serve(const simoptions_t& options, const std::string& folder, const CUserStore& users)
{
    std::string error;
    std::vector<simtransponder_t> records;
    const certificatefiles_t files = EnsureCertificate(folder, error);
    if (files.certificate.empty() || !LoadRecords(options, records, error)) {
        std::fprintf(stderr, "ividiv-sim: %s\n", error.c_str());
        return 1;
    }
    const size_t count = records.size();
    CIvidivServer server(options, files, users, std::move(records));
    const int port = server.Bind();
    if (port < 0) {
        std::fprintf(stderr, "ividiv-sim: cannot listen on %s:%d\n", options.listenAddress.c_str(),
                     options.port);
        return 1;
    }
    std::printf("certificate %s\ntransponders %zu\nport %d\n", files.certificate.c_str(), count, port);
    std::fflush(stdout);
    const sigset_t stopSignals = StopSignals();
    std::atomic<bool> ended{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A stop that comes before the server loop runs is lost: repeat it
        // until the loop has ended.
        while (!ended) {
            server.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const bool ok = server.Run();
    ended = true;
    pthread_kill(waiter.native_handle(), SIGTERM); // when the server ended by itself
    waiter.join();
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Blocked in every thread; the waiter of Serve takes them.
    const sigset_t stopSignals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::string error;
    const std::optional<simoptions_t> options = ParseSimOptions(argc, argv, error);
    if (!options) {
        std::fputs(error.empty() ? kSimUsage : ("ividiv-sim: " + error + "\n").c_str(),
                   error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    const std::string folder = PrepareStateFolder(options->stateDir, error);
    CUserStore users(folder + "/users");
    if (folder.empty() || !users.Load(error)) {
        std::fprintf(stderr, "ividiv-sim: %s\n", error.c_str());
        return 1;
    }
    if (!options->addUser.empty()) {
        return AddUser(users, options->addUser);
    }
    return Serve(*options, folder, users);
}

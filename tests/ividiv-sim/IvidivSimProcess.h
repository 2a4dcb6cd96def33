#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TempFolder.h"

// ividiv-sim run for one test on 127.0.0.1 and a free port, in a fresh state
// folder with the user kUser (password kPassword).
class CIvidivSimProcess {
  public:
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "pass: wörd";
    // kPassword as the program hands it to the library.
    static constexpr const char* kPasswordWindows1252 = "pass: w\xF6rd";

    explicit CIvidivSimProcess(const std::vector<std::string>& arguments);

    // 0 when the simulator did not come up.
    int Port() const { return m_port; }
    std::string Certificate() const { return StateFolder() + "/certificate.pem"; }
    std::string StateFolder() const { return (m_folder / "state").string(); }
    // Its standard output so far: the start lines and one line per request.
    std::string Log() const;
    // Points the library at this simulator (port and trust anchor).
    void UseForLibrary() const;

  private:
    CTempFolder m_folder{"ividiv-sim-test"};
    std::unique_ptr<CChildProcess> m_process;
    int m_port = 0;
};

#include "IvidivSimProcess.h"

#include <stdio.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

std::string MakeFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/ividiv-sim-test-XXXXXX";
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

bool AddUser(const std::string& folder)
{
    const std::string command = std::string(IVIDIV_SIM_PATH) + " --state-dir " + folder +
                                "/state --add-user " + CIvidivSimProcess::kUser + " >/dev/null";
    FILE* in = ::popen(command.c_str(), "w");
    if (in == nullptr) {
        return false;
    }
    std::fprintf(in, "%s\n", CIvidivSimProcess::kPassword);
    return ::pclose(in) == 0;
}

} // namespace

CIvidivSimProcess::CIvidivSimProcess(const std::vector<std::string>& arguments) : m_folder(MakeFolder())
{
    if (m_folder.empty() || !AddUser(m_folder)) {
        return;
    }
    std::vector<std::string> all{"--port", "0", "--state-dir", StateFolder()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    m_process = std::make_unique<SimProcess>(IVIDIV_SIM_PATH, all, m_folder + "/log");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (m_process->Started() && std::chrono::steady_clock::now() < deadline) {
        const std::string log = Log();
        const size_t at = log.find("\nport ");
        if (at != std::string::npos && log.find('\n', at + 1) != std::string::npos) {
            m_port = std::atoi(log.c_str() + at + 6);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

CIvidivSimProcess::~CIvidivSimProcess()
{
    m_process.reset();
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

std::string CIvidivSimProcess::Log() const
{
    return ReadWholeFile(m_folder + "/log");
}

void CIvidivSimProcess::UseForLibrary() const
{
    ::setenv("TAMRIX_SDK_PORT", std::to_string(m_port).c_str(), 1);
    ::setenv("TAMRIX_SDK_CA_FILE", Certificate().c_str(), 1);
}

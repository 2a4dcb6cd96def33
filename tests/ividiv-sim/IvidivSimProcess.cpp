#include "IvidivSimProcess.h"

#include <stdio.h>
#include <stdlib.h>

#include "WaitUntil.h"

namespace {

bool AddUser(const std::string& stateFolder)
{
    const std::string command = std::string(IVIDIV_SIM_PATH) + " --state-dir " + stateFolder +
                                " --add-user " + CIvidivSimProcess::kUser + " >/dev/null";
    FILE* in = ::popen(command.c_str(), "w");
    if (in == nullptr)
        return false;
    std::fprintf(in, "%s\n", CIvidivSimProcess::kPassword);
    return ::pclose(in) == 0;
}

} // namespace

CIvidivSimProcess::CIvidivSimProcess(const std::vector<std::string>& arguments)
{
    if (!AddUser(StateFolder()))
        return;
    std::vector<std::string> all{"--port", "0", "--state-dir", StateFolder()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    m_process = std::make_unique<CChildProcess>(IVIDIV_SIM_PATH, all, (m_folder / "log").string());
    WaitUntil([this] {
        const std::string log = Log();
        const size_t at = log.find("\nport ");
        if (!m_process->Started() || at == std::string::npos || log.find('\n', at + 1) == std::string::npos)
            return !m_process->Started();
        m_port = std::atoi(log.c_str() + at + 6);
        return true;
    });
}

std::string CIvidivSimProcess::Log() const
{
    return ReadFileBytes(m_folder / "log");
}

void CIvidivSimProcess::UseForLibrary() const
{
    ::setenv("TAMRIX_SDK_PORT", std::to_string(m_port).c_str(), 1);
    ::setenv("TAMRIX_SDK_CA_FILE", Certificate().c_str(), 1);
}

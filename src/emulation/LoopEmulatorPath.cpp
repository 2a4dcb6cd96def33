#include "LoopEmulatorPath.h"

#include <filesystem>
#include <system_error>

namespace {
constexpr const char* kFileName = "LoopEmulator.xml";
} // namespace

std::string LoopEmulatorPathBeside(const std::string& programPath)
{
    const std::string folder = std::filesystem::path(programPath).parent_path().string();
    if (folder.empty() || folder == "/")
        return std::string("/") + kFileName;
    return folder + "/" + kFileName;
}

std::string LoopEmulatorPath()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return LoopEmulatorPathBeside(error ? std::string() : program.string());
}

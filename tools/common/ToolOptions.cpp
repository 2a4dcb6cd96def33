#include "ToolOptions.h"

#include <cstdio>

bool IsHelpOrVersion(const std::string& name, const char* tool, std::string (*usage)(), std::string& message)
{
    if (name == "-h" || name == "--help") {
        message = usage();
        return true;
    }
    if (name == "-v" || name == "--version") {
        message = std::string(tool) + " " + Q9_VERSION + "\n";
        return true;
    }
    return false;
}

int ReportOptionStop(const char* tool, const std::string& message, bool help)
{
    if (help) {
        std::fputs(message.c_str(), stdout);
        return 0;
    }
    std::fprintf(stderr, "%s: %s\n(try --help)\n", tool, message.c_str());
    return 2;
}

#include "ProgramOptions.h"
#include "Q9TesterApp.h"

int main(int argc, char** argv)
{
    CProgramOptions options;
    if (!options.Parse(argc, argv))
        return options.ExitCode();
    CQ9TesterApp app(argc, argv);
    return app.Run();
}

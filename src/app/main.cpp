#include "Q9TesterApp.h"

int main(int argc, char** argv)
{
    CQ9TesterApp app(argc, argv);
    return app.Run();
}

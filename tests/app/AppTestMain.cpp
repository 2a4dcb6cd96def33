#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "AppTestSupport.h"

// One application object for the whole run; the settings folder is private to
// the run and set before Qt first looks for it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    char pattern[] = "/tmp/q9-app-test-XXXXXX";
    AppTest::s_root = ::mkdtemp(pattern);
    ::setenv("XDG_CONFIG_HOME", (AppTest::s_root / "config").c_str(), 1);
    int result = 0;
    {
        QApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::filesystem::current_path("/");
    std::error_code ignored;
    std::filesystem::remove_all(AppTest::s_root, ignored);
    return result;
}

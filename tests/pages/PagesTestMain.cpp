#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object for the whole run. CTest also runs the
// binary to list its tests, without the test environment: offscreen then too.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

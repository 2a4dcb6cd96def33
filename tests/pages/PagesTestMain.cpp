#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widgets need an application object for the whole run. CTest also runs the
// binary to list its tests, without the test environment: offscreen then too.
// What Qt remembers between runs (the file dialog's last folder) goes to a
// folder of the run's own, not to the user's settings.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    if (config.isValid())
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include <QApplication>
#include <gtest/gtest.h>

#include "TempFolder.h"

// Widgets need one application object for the whole run, ended before the
// program's static objects are. CTest also runs the binary to list its tests,
// without the test environment: offscreen then too. Settings (and what Qt
// remembers between runs, like the file dialog's last folder) go to a folder
// private to the run, set before Qt first looks for it.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CTempFolder config("q9-qt-test-config");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path().string()));
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

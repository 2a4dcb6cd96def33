#pragma once

#include <QWidget>

class QLabel;

// The "About" tab: program name, version and build, and the firmware version
// of the Tester connected last.
class CAboutPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kVersion = "2.5.0";

    explicit CAboutPage(QWidget* parent = nullptr);

    // The connected Tester's version; `known` is false when it gave none,
    // which only Testers before version 2.2 do.
    void SetFirmwareVersion(bool known, int major, int minor);

    // Seven lower-case hexadecimal digits of the source revision built.
    static QString BuildId();

  private:
    QLabel* versionLine = nullptr;
    QLabel* firmwareLine = nullptr;
};

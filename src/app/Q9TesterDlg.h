#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QIcon>
#include <cstdint>
#include <memory>
#include <string>

#include "DeafList.h"
#include "TamrixTesterHandlers.h"
#include "TranslationList.h"

class CAboutPage;
class CBeaconPage;
class CEmulationPage;
class CLoggingTabCtrl;
class CLoopPage;
class CMainTabCtrl;
class CQ9ServerPage;
class CQ9TransponderPage;
class CSingleInstance;
class CStatusBarCtrl;
class CTesterDevice;
class CTesterLink;
class CTrackSensorPage;
class CTransponderPage;
class QPushButton;
class QTabWidget;
struct AppSettings;

// The program's one window. It owns everything of a running program: the
// Tester link, the eight pages, the two log lists, the status bar, the
// settings, the translations and the deaf list; and it is where the Tester's
// events are handled.
class CQ9TesterDlg : public QDialog, public CTamrixTesterHandlers {
    Q_OBJECT
  public:
    // The device is the Tester's driver (a fake one in tests). With an
    // `instance`, the dialog ends at once when another copy of the program
    // runs; without one, it never checks.
    CQ9TesterDlg(CTesterDevice& device, CSingleInstance* instance, QWidget* parent = nullptr);
    ~CQ9TesterDlg() override;

    // Runs the dialog modally; 0 at once when it ended while starting.
    int DoModal();

    void SetLogVisible(bool show);
    void LayoutControls(int cx, int cy);
    // Asked before the user changes the tab of `sender`; non-zero refuses.
    int OnTabChanging(int index, QTabWidget* sender);
    // The 100 ms tick: ages the deaf list.
    void OnTimer();
    void OnShowLog();
    void OnSettings();
    // Asked from outside to end (a termination signal): cancels any dialog or
    // message box open over the window, then ends as Cancel does.
    void OnTerminationRequested();

    // What the Tester heard (Q9TesterDlgEvents.cpp).
    void OnTransponder(uint32_t number, uint32_t rssi, bool lowBattery, unsigned driverNumber) override;
    void OnQ9Transponder(uint32_t number, uint32_t rssi) override;
    void OnMindletTransponder(uint32_t number, uint32_t rssi, bool lowBattery) override;
    void OnBeacon(uint32_t number, uint32_t rssi, double batteryVolts, int32_t temperature) override;
    void OnDiagnostics(uint32_t number, unsigned noise, double batteryVolts, uint32_t batteryPercent,
                       uint32_t remainingMinutes, double externalVolts, unsigned temperature,
                       unsigned firmwareMajor, unsigned firmwareMinor) override;
    void OnTransmitResult(int32_t result) override;
    void OnCanReceived(int32_t origin, uint32_t twoWayId, uint32_t canId, unsigned length,
                       const uint8_t* data) override;
    void OnListeningChanged(int32_t state) override;
    void OnSpecialDevice(int32_t what, uint32_t number, uint32_t rssi, unsigned flag, unsigned kind,
                         double value) override;
    void OnFirmwareVersion(bool known, unsigned major, unsigned minor) override;
    void OnDisconnected() override;
    void OnConnected() override;
    void OnLoopLevel(unsigned level) override;

    // A copy of the first server record for `number`; false when there is none.
    bool FindTranslation(uint32_t number, CTranslation& translation) const;
    // Logs a transponder row unless the same device (number, type, driver
    // number) was logged or heard within the deaf time. `battery` is the
    // battery column's text; an empty `idText` logs the number in decimal.
    void AddTransponderLogRow(const std::string& label, uint32_t number, uint32_t shortId, uint32_t typeIndex,
                              const std::string& battery, const std::string& idText,
                              int32_t driverNumber = 0);

    AppSettings& Settings() { return *m_settings; }
    CDeafList& DeafList() { return m_deafList; }
    CTranslationList& Translations() { return *m_translations; }
    CTesterLink& TesterLink() { return *m_link; }

  protected:
    void customEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // The message boxes, one place each so that tests can answer them.
    virtual bool ConfirmClose();
    virtual void ShowTabChangeRefused();
    virtual bool IsTrackSensorListening() const;

  private:
    void CreatePages();
    void CreateWindowControls();
    void HandPagesTheirObjects();
    // Hands the unit setting to the pages that show temperatures.
    void ShowTemperatureUnit();
    void AddMainTabs();
    bool Initialise(CSingleInstance* instance);
    void CreateLogPages();
    QRect WindowRectInClient() const;

    // How a transponder is shown: its translation's short id or label when
    // the server knows it, else `plainId` (its number or printed code).
    struct Identity {
        std::string idText;
        std::string label;
        uint32_t shortId = 0;
        // The translation list knows the number (its short id may be 0).
        bool known = false;
    };
    Identity Identify(uint32_t number, const std::string& plainId) const;

    QIcon m_icon;
    std::unique_ptr<CTransponderPage> m_transponderPage;
    std::unique_ptr<CQ9TransponderPage> m_q9TransponderPage;
    std::unique_ptr<CTrackSensorPage> m_trackSensorPage;
    std::unique_ptr<CLoopPage> m_loopPage;
    std::unique_ptr<CBeaconPage> m_beaconPage;
    std::unique_ptr<CEmulationPage> m_emulationPage;
    std::unique_ptr<CQ9ServerPage> m_serverPage;
    std::unique_ptr<CAboutPage> m_aboutPage;
    std::unique_ptr<CTesterLink> m_link;
    std::unique_ptr<CStatusBarCtrl> m_statusBar;
    std::unique_ptr<CTranslationList> m_translations;
    std::unique_ptr<AppSettings> m_settings;
    CDeafList m_deafList;

    QPushButton* m_showLogButton = nullptr;
    QPushButton* m_settingsButton = nullptr;
    CLoggingTabCtrl* m_logTab = nullptr;
    CMainTabCtrl* m_mainTab = nullptr;
    QBasicTimer m_timer;
    bool m_endedAtStart = false;
};

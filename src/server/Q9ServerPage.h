#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "ServerLogin.h"
#include "TamrixSDK.h"

class CStatusBarCtrl;
class CTranslationList;
class QLineEdit;
class QPushButton;

// The "D9 Ividiv" tab: host, user name and password, and "Synchronize",
// which connects through the server-access library, reads the server's
// transponder data into the translation list once and disconnects. Every
// library callback runs inside the page's 100 ms pump, on the UI thread.
class CQ9ServerPage : public QWidget {
    Q_OBJECT
  public:
    explicit CQ9ServerPage(QWidget* parent = nullptr);
    // Disconnects and releases the connection, then the library.
    ~CQ9ServerPage() override;

    void SetTranslations(CTranslationList* translations) { m_translations = translations; }
    // Pane 1 shows when the data was synchronised last.
    void SetStatusBar(CStatusBarCtrl* statusBar) { m_statusBar = statusBar; }
    // Shows the stored host and user name; a successful connect stores them.
    void SetSettings(serverlogin_t* settings);

    // "Synchronize": starts over on a new connection.
    void OnSynchronize();
    // The 100 ms pump: runs the library callbacks that are due.
    void OnTimer();

    // The library's callbacks, through the page registered as their context.
    void OnConnectionState(int32_t state);
    void OnConnect(bool connected);
    void OnTransponderData(uint32_t event);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    void BuildControls();
    void ShowStatus(const char* text);
    void Synchronise();

    hub_sdk_handle_t m_library = 0;
    ptc_handle_t m_connection = 0;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_status = nullptr;
    QPushButton* m_synchronize = nullptr;
    CTranslationList* m_translations = nullptr;
    CStatusBarCtrl* m_statusBar = nullptr;
    serverlogin_t* m_settings = nullptr;
    // The host and user name the running connection was started with: the
    // ones to keep when it succeeds, whatever the fields hold by then.
    serverlogin_t m_attempt;
    QBasicTimer m_pump;
};

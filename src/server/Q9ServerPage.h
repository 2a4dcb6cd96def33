#pragma once

#include <QWidget>

class CStatusBarCtrl;
class CTranslationList;
struct AppSettings;

// "D9 Ividiv": connection to the server and synchronisation of transponder
// data into the translation list. The page's controls come with the server
// work; for now it is the empty 432 x 165 page that holds the objects the
// main dialog hands it.
class CQ9ServerPage : public QWidget {
    Q_OBJECT
  public:
    explicit CQ9ServerPage(QWidget* parent = nullptr);

    void SetTranslations(CTranslationList* translations) { m_translations = translations; }
    // Pane 1 shows the synchronisation state.
    void SetStatusBar(CStatusBarCtrl* statusBar) { m_statusBar = statusBar; }
    // Host and login are read from and written to the settings.
    void SetSettings(AppSettings* settings) { m_settings = settings; }

  private:
    CTranslationList* m_translations = nullptr;
    CStatusBarCtrl* m_statusBar = nullptr;
    AppSettings* m_settings = nullptr;
};

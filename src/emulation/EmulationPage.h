#pragma once

#include <QWidget>

class CTesterLink;
class CLoggingTabCtrl;

// "Emulation": transponder, loop and CAN message emulation through the
// Tester. The page's controls come with the emulation work; for now it is the
// empty 432 x 165 page that holds the objects the main dialog hands it.
class CEmulationPage : public QWidget {
    Q_OBJECT
  public:
    explicit CEmulationPage(QWidget* parent = nullptr);

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    // Where the page posts its CAN message log rows.
    void SetLogTabCtrl(CLoggingTabCtrl* logTab) { m_logTab = logTab; }

  private:
    CTesterLink* m_link = nullptr;
    CLoggingTabCtrl* m_logTab = nullptr;
};

#pragma once

#include <QTabWidget>

class CTransponderLogPage;
class CCanMessageLogPage;

// The tab control below the main pages that holds the two log lists. Rows
// reach it as posted WM_LOG_TRANSPONDER_ROW and WM_LOG_CAN_ROW events (see
// LogRowEvent.h) from any thread; it hands each to its page.
class CLoggingTabCtrl : public QTabWidget {
    Q_OBJECT
  public:
    explicit CLoggingTabCtrl(QWidget* parent = nullptr);
    ~CLoggingTabCtrl() override;

    // Takes both pages (and deletes them with itself) and adds their tabs.
    void SetPages(CTransponderLogPage* transponderLog, CCanMessageLogPage* canLog);

    CTransponderLogPage* TransponderLogPage() const { return m_transponderLog; }
    CCanMessageLogPage* CanMessageLogPage() const { return m_canLog; }

  protected:
    bool event(QEvent* event) override;

  private:
    CTransponderLogPage* m_transponderLog = nullptr;
    CCanMessageLogPage* m_canLog = nullptr;
};

#include "LoggingTabCtrl.h"

#include "BoldTabBar.h"
#include "CanMessageLogPage.h"
#include "LogRowEvent.h"
#include "TransponderLogPage.h"

CLoggingTabCtrl::CLoggingTabCtrl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new CBoldTabBar(this));
}

CLoggingTabCtrl::~CLoggingTabCtrl()
{
    delete m_transponderLog;
    delete m_canLog;
}

void CLoggingTabCtrl::SetPages(CTransponderLogPage* transponderLog, CCanMessageLogPage* canLog)
{
    m_transponderLog = transponderLog;
    m_canLog = canLog;
    addTab(m_transponderLog, QStringLiteral("Transponder Log"));
    addTab(m_canLog, QStringLiteral("Can message Log"));
    setCurrentWidget(m_transponderLog);
}

bool CLoggingTabCtrl::event(QEvent* event)
{
    if (event->type() != WM_LOG_TRANSPONDER_ROW && event->type() != WM_LOG_CAN_ROW)
        return QTabWidget::event(event);
    // The row is freed when this handler ends, shown or not.
    const std::unique_ptr<LogRow> row = static_cast<CLogRowEvent*>(event)->TakeRow();
    if (!row)
        return true;
    if (event->type() == WM_LOG_TRANSPONDER_ROW && m_transponderLog)
        m_transponderLog->AddLogRow(*row);
    else if (event->type() == WM_LOG_CAN_ROW && m_canLog)
        m_canLog->AddLogRow(*row);
    return true;
}

#include "CanMessageLogPage.h"

#include "LogRow.h"
#include "LoggingListCtrl.h"

CCanMessageLogPage::CCanMessageLogPage(QWidget* parent) : CLogPage(parent)
{
    CLoggingListCtrl* list = List();
    list->OpenLog("CanMessage", true);
    list->AddColumns({"Action", "Label", "ID", "ShortID", "CanID", "Data", "Time of day"});
    list->SetColumnWidths({100, 80, 80, 50, 50, 150, 150});
}

void CCanMessageLogPage::AddLogRow(const LogRow& row)
{
    const auto& c = row.cells;
    List()->AddRow(CLoggingListCtrl::kBlack, {c[0], c[1], c[2], c[3], c[4], c[5], c[6]});
}

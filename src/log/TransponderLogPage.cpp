#include "TransponderLogPage.h"

#include "LogRow.h"
#include "LoggingListCtrl.h"

CTransponderLogPage::CTransponderLogPage(QWidget* parent) : CLogPage(parent)
{
    CLoggingListCtrl* list = List();
    list->OpenLog("Tester", true);
    list->AddColumns({"ID", "Label", "Short ID", "Type", "Driver number", "Battery voltage", "Time of day"});
    list->SetColumnWidths({80, 100, 80, 50, 60, 100, 150});
}

void CTransponderLogPage::AddLogRow(const LogRow& row)
{
    const auto& c = row.cells;
    List()->AddRow(CLoggingListCtrl::kBlack, {c[1], c[0], c[2], c[3], c[5], c[4], c[6]});
}

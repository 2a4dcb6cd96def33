#include "Q9TransponderPage.h"

#include "DialogUnits.h"

CQ9TransponderPage::CQ9TransponderPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

#include "TransponderPage.h"

#include "DialogUnits.h"

CTransponderPage::CTransponderPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

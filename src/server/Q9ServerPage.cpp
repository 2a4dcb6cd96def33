#include "Q9ServerPage.h"

#include "DialogUnits.h"

CQ9ServerPage::CQ9ServerPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

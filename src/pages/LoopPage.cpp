#include "LoopPage.h"

#include "DialogUnits.h"

CLoopPage::CLoopPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

#include "EmulationPage.h"

#include "DialogUnits.h"

CEmulationPage::CEmulationPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

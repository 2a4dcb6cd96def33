#include "BeaconPage.h"

#include "DialogUnits.h"

CBeaconPage::CBeaconPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

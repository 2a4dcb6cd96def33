#include "AboutPage.h"

#include "DialogUnits.h"

CAboutPage::CAboutPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

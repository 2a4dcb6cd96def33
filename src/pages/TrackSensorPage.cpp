#include "TrackSensorPage.h"

#include "DialogUnits.h"

CTrackSensorPage::CTrackSensorPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));
}

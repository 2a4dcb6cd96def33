#pragma once

#include <QIcon>

// The program's own pictures, drawn in code: the dialog icon and the three
// 16 x 16 tab icons.
QIcon DialogIcon();
QIcon Q9UduTabIcon();
QIcon BeaconTabIcon();
QIcon LoopTabIcon();

#include "LoopPage.h"

CLoopPage::CLoopPage(QWidget* parent) : CGraphPage(false, parent) {}

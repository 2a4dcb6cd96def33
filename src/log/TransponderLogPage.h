#pragma once

#include "LogPage.h"

struct LogRow;

// "Transponder Log": every transponder, beacon and track sensor logged, also
// written to Log/Tester_<stamp>.log.
class CTransponderLogPage : public CLogPage {
    Q_OBJECT
  public:
    explicit CTransponderLogPage(QWidget* parent = nullptr);

    // Cells of a transponder row: 0 label, 1 ID, 2 short ID, 3 type,
    // 4 battery, 5 driver number, 6 time of day.
    void AddLogRow(const LogRow& row);
};

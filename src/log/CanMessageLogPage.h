#pragma once

#include "LogPage.h"

struct LogRow;

// "Can message Log": every CAN message sent or received, also written to
// Log/CanMessage_<stamp>.log.
class CCanMessageLogPage : public CLogPage {
    Q_OBJECT
  public:
    explicit CCanMessageLogPage(QWidget* parent = nullptr);

    // Cells of a CAN row: 0 action, 1 label, 2 ID, 3 short ID, 4 CAN id,
    // 5 data, 6 time of day.
    void AddLogRow(const LogRow& row);
};

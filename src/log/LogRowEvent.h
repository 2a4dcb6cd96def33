#pragma once

#include <QEvent>
#include <memory>

#include "LogRow.h"

// The posted row messages of the log tab control. A row posted with one of
// them belongs to the event: it is freed with the event whether or not it was
// handled, also when the receiver is gone before the event arrives.
constexpr QEvent::Type WM_LOG_TRANSPONDER_ROW = static_cast<QEvent::Type>(QEvent::User + 10);
constexpr QEvent::Type WM_LOG_CAN_ROW = static_cast<QEvent::Type>(QEvent::User + 11);

class CLogRowEvent : public QEvent {
  public:
    CLogRowEvent(Type type, std::unique_ptr<LogRow> row) : QEvent(type), m_row(std::move(row)) {}

    std::unique_ptr<LogRow> TakeRow() { return std::move(m_row); }

  private:
    std::unique_ptr<LogRow> m_row;
};

// Posts `row` to `receiver` (the log tab control); safe from any thread.
void PostLogRow(QObject* receiver, QEvent::Type type, std::unique_ptr<LogRow> row);

#include "LogRowEvent.h"

#include <QCoreApplication>

void PostLogRow(QObject* receiver, QEvent::Type type, std::unique_ptr<LogRow> row)
{
    QCoreApplication::postEvent(receiver, new CLogRowEvent(type, std::move(row)));
}

#include "LogPage.h"

#include <QKeyEvent>

#include "DialogUnits.h"
#include "LoggingListCtrl.h"

CLogPage::CLogPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    const CDialogUnits units(font());
    resize(units.Size(445, 106));
    m_list = new CLoggingListCtrl(this);
    m_list->setGeometry(units.Rect(7, 7, 431, 92));
}

void CLogPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_list->setGeometry(0, 0, width(), height());
}

void CLogPage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event); // Escape goes on to the main dialog
    }
}

#include "LoopPage.h"

#include <QResizeEvent>
#include <QTimerEvent>

#include "DialogUnits.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"

namespace {
constexpr int kTickMs = 150;
} // namespace

CLoopPage::CLoopPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));

    graph = new CSimpleGraph(this);
    graph->backgroundColour = QColor(92, 92, 92);
    graph->setGeometry(25, 25, 400, 175);
    graph->fullScale = 255;
    graph->show();
    timer.start(kTickMs, this);
}

void CLoopPage::OnTimer()
{
    graph->AddValue(latestValue);
    latestValue = 0;
    graph->update();
}

void CLoopPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CLoopPage::resizeEvent(QResizeEvent* event)
{
    if (!graph)
        return;
    graph->setGeometry(GraphRectBelow(0, event->size()));
}

#include "GraphPage.h"

#include <QResizeEvent>
#include <QTimerEvent>

#include "DialogUnits.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"

namespace {
constexpr int kTickMs = 150;
constexpr int32_t kFullScale = 255;
} // namespace

CGraphPage::CGraphPage(bool gapMode, QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    resize(CDialogUnits(font()).Size(432, 165));

    m_graph = new CSimpleGraph(this);
    m_graph->backgroundColour = QColor(92, 92, 92);
    m_graph->gapMode = gapMode;
    m_graph->fullScale = kFullScale;
    m_graph->show();
    m_timer.start(kTickMs, this);
}

void CGraphPage::PlotKeptValue()
{
    m_graph->AddValue(m_latestValue);
    m_latestValue = 0;
    m_graph->update();
}

void CGraphPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CGraphPage::resizeEvent(QResizeEvent* event)
{
    m_graph->setGeometry(GraphRectBelow(GraphTop(), event->size()));
}

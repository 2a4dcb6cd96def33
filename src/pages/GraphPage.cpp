#include "GraphPage.h"

#include <QResizeEvent>
#include <QTimerEvent>

#include "DialogUnits.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"

namespace {
constexpr int kTickMs = 150;
constexpr int32_t kFullScale = 255;
// How many ticks a reading stays shown before its fields blank.
constexpr int32_t kTicksShown = 3;
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

void CGraphPage::KeepReading(uint32_t value)
{
    KeepValue(value);
    m_silentTicks = 0;
}

bool CGraphPage::PlotAndAge()
{
    PlotKeptValue();
    if (m_silentTicks >= kTicksShown) {
        return true;
    }
    ++m_silentTicks;
    return false;
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

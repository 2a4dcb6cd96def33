#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <cstdint>

class CSimpleGraph;

// A device page with a strip chart that fills the page below its value row
// and plots one value every 150 ms tick: the last one kept during the tick,
// 0 when none came.
class CGraphPage : public QWidget {
    Q_OBJECT
  public:
    CSimpleGraph* Graph() const { return m_graph; }

    // Every 150 ms.
    virtual void OnTimer() = 0;

  protected:
    // In `gapMode` a 0 breaks the trace instead of being drawn.
    CGraphPage(bool gapMode, QWidget* parent);

    // The pixel row the graph area begins below; 0 for a page that is all graph.
    virtual int GraphTop() const = 0;

    void KeepValue(uint32_t value) { m_latestValue = value; }
    // Plots the value kept for this tick and repaints the graph.
    void PlotKeptValue();

    // For a page whose fields show one reading: KeepReading keeps its value
    // and marks it fresh; PlotAndAge plots the tick and is true once the
    // reading has been shown three ticks, so the fields blank on the fourth
    // silent one.
    void KeepReading(uint32_t value);
    bool PlotAndAge();

    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    CSimpleGraph* m_graph = nullptr;
    uint32_t m_latestValue = 0;
    int32_t m_silentTicks = 0;
    QBasicTimer m_timer;
};

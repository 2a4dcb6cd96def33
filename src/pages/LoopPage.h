#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <cstdint>

class CSimpleGraph;

// The "Loop" tab: the timing loop's signal level as a scrolling graph. A tick
// without a level plots 0.
class CLoopPage : public QWidget {
    Q_OBJECT
  public:
    explicit CLoopPage(QWidget* parent = nullptr);

    // Keeps the level for the next tick; only the last of a tick is plotted.
    void SetLevel(uint32_t value) { latestValue = value; }

    // Every 150 ms: plots the latest level.
    void OnTimer();

    CSimpleGraph* Graph() const { return graph; }

  protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    CSimpleGraph* graph = nullptr;
    uint32_t latestValue = 0;
    QBasicTimer timer;
};

#pragma once

#include <cstdint>

#include "GraphPage.h"

// The "Loop" tab: the timing loop's signal level as a scrolling graph. A tick
// without a level plots 0.
class CLoopPage : public CGraphPage {
    Q_OBJECT
  public:
    explicit CLoopPage(QWidget* parent = nullptr);

    // Keeps the level for the next tick; only the last of a tick is plotted.
    void SetLevel(uint32_t value) { KeepValue(value); }

    // Plots the latest level.
    void OnTimer() override { PlotKeptValue(); }

  protected:
    int GraphTop() const override { return 0; }
};

#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <string>

class CSimpleGraph;
class QLabel;

// The "Transponder" tab: the transponder the Tester heard last, with its
// signal strength plotted. Fields blank once readings stop.
class CTransponderPage : public QWidget {
    Q_OBJECT
  public:
    explicit CTransponderPage(QWidget* parent = nullptr);

    // One reading; `idText` is Windows-1252, `typeIndex` 0 to 4.
    void ShowTransponder(const std::string& idText, uint32_t rssi, uint32_t typeIndex, bool lowBattery);

    // Every 150 ms: plots the latest RSSI, blanks the fields on the fourth
    // silent tick.
    void OnTimer();

    CSimpleGraph* Graph() const { return graph; }

  protected:
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ClearFields();

    QLabel* idField = nullptr;
    QLabel* typeField = nullptr;
    QLabel* rssiField = nullptr;
    QLabel* lowBatteryField = nullptr;
    CSimpleGraph* graph = nullptr;
    QFont valueFont;
    int32_t staleTicks = 0;
    uint32_t latestValue = 0;
    QBasicTimer timer;
};

#pragma once

#include <cstdint>
#include <string>

#include "GraphPage.h"

class QLabel;

// The "Transponder" tab: the transponder the Tester heard last, with its
// signal strength plotted. Fields blank once readings stop.
class CTransponderPage : public CGraphPage {
    Q_OBJECT
  public:
    explicit CTransponderPage(QWidget* parent = nullptr);

    // One reading; `idText` is Windows-1252, `typeIndex` 0 to 4.
    void ShowTransponder(const std::string& idText, uint32_t rssi, uint32_t typeIndex, bool lowBattery);

    // Plots the latest RSSI, blanks the fields on the fourth silent tick.
    void OnTimer() override;

  protected:
    int GraphTop() const override;

  private:
    void ClearFields();

    QLabel* m_idField = nullptr;
    QLabel* m_typeField = nullptr;
    QLabel* m_rssiField = nullptr;
    QLabel* m_lowBatteryField = nullptr;
};

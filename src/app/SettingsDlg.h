#pragma once

#include <QDialog>

class QRadioButton;

// "Settings": whether temperatures are shown in degrees Celsius or
// Fahrenheit. OK stores the choice in the unit value (1 Celsius, 0
// Fahrenheit); Cancel leaves it as it was.
class CSettingsDlg : public QDialog {
    Q_OBJECT
  public:
    // `unitCelsius` must outlive the dialog.
    explicit CSettingsDlg(int* unitCelsius, QWidget* parent = nullptr);

    void OnOK();

  private:
    int* m_unitCelsius;
    QRadioButton* m_celsius;
    QRadioButton* m_fahrenheit;
};

#include "SettingsDlg.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "DialogUnits.h"

CSettingsDlg::CSettingsDlg(int* unitCelsius, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_unitCelsius(unitCelsius)
{
    setWindowTitle(QStringLiteral("Settings"));
    setFont(CDialogUnits::DialogFont());
    const CDialogUnits units(font());
    setFixedSize(units.Size(170, 84));

    auto* group = new QGroupBox(QStringLiteral("Temperature unit"), this);
    group->setGeometry(units.Rect(7, 7, 156, 48));
    auto* prompt = new QLabel(QStringLiteral("Display temperatures in:"), this);
    prompt->setGeometry(units.Rect(18, 23, 86, 8));
    m_celsius = new QRadioButton(QStringLiteral("Celsius"), this);
    m_celsius->setObjectName(QStringLiteral("celsius"));
    m_celsius->setGeometry(units.Rect(108, 22, 38, 10));
    m_fahrenheit = new QRadioButton(QStringLiteral("Fahrenheit"), this);
    m_fahrenheit->setObjectName(QStringLiteral("fahrenheit"));
    m_fahrenheit->setGeometry(units.Rect(108, 35, 51, 10));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(units.Rect(57, 63, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units.Rect(113, 63, 50, 14));
    connect(ok, &QPushButton::clicked, this, &CSettingsDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // Any non-zero value counts as Celsius.
    (*m_unitCelsius != 0 ? m_celsius : m_fahrenheit)->setChecked(true);
}

void CSettingsDlg::OnOK()
{
    *m_unitCelsius = m_celsius->isChecked() ? 1 : 0;
    accept();
}

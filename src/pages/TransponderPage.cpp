#include "TransponderPage.h"

#include <QLabel>

#include "PageBuilder.h"
#include "TextCodec.h"
#include "TransponderTypeNames.h"

CTransponderPage::CTransponderPage(QWidget* parent) : CGraphPage(true, parent)
{
    CPageBuilder builder(this);
    builder.Caption(tr("ID:"), 7, 7, 72);
    builder.Caption(tr("RSSI:"), 91, 7, 72);
    builder.Caption(tr("Type:"), 175, 7, 72);
    m_idField = builder.ValueField("id", 7, 16, 72);
    m_rssiField = builder.ValueField("rssi", 91, 16, 72);
    m_typeField = builder.ValueField("type", 175, 16, 72);
    m_lowBatteryField = builder.ValueField("lowBattery", 260, 16, 72, 18, false);
}

void CTransponderPage::ShowTransponder(const std::string& idText, uint32_t rssi, uint32_t typeIndex,
                                       bool lowBattery)
{
    KeepReading(rssi);
    m_idField->setText(FromWindows1252(idText));
    m_typeField->setText(QString::fromLatin1(TransponderTypeName(typeIndex)));
    m_rssiField->setText(QString::number(rssi));
    m_lowBatteryField->setText(lowBattery ? tr("Low battery") : QString());
}

void CTransponderPage::OnTimer()
{
    if (PlotAndAge())
        ClearFields();
}

int CTransponderPage::GraphTop() const
{
    return m_idField->geometry().bottom() + 1;
}

void CTransponderPage::ClearFields()
{
    for (QLabel* field : {m_idField, m_typeField, m_rssiField, m_lowBatteryField})
        field->clear();
}

#include "TransponderPage.h"

#include <QLabel>
#include <QResizeEvent>
#include <QTimerEvent>

#include "PageBuilder.h"
#include "SimpleGraph.h"
#include "TextCodec.h"
#include "TransponderTypeNames.h"
#include "ValueFont.h"

namespace {
constexpr int kTickMs = 150;
// A reading stays for this many ticks and is blanked on the next.
constexpr int32_t kTicksShown = 3;
} // namespace

CTransponderPage::CTransponderPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    builder.Caption(tr("ID:"), 7, 7, 72);
    builder.Caption(tr("RSSI:"), 91, 7, 72);
    builder.Caption(tr("Type:"), 175, 7, 72);
    idField = builder.SunkenField(7, 16, 72, 18);
    rssiField = builder.SunkenField(91, 16, 72, 18);
    typeField = builder.SunkenField(175, 16, 72, 18);
    lowBatteryField = builder.PlainField(260, 16, 72, 18);
    idField->setObjectName(QStringLiteral("id"));
    rssiField->setObjectName(QStringLiteral("rssi"));
    typeField->setObjectName(QStringLiteral("type"));
    lowBatteryField->setObjectName(QStringLiteral("lowBattery"));

    valueFont = CreateValueFont();
    for (QLabel* field : {idField, typeField, rssiField, lowBatteryField})
        field->setFont(valueFont);
    ClearFields();

    graph = new CSimpleGraph(this);
    graph->backgroundColour = QColor(92, 92, 92);
    graph->gapMode = true;
    graph->setGeometry(150, 25, 275, 175);
    graph->fullScale = 255;
    graph->show();

    timer.start(kTickMs, this);
}

void CTransponderPage::ShowTransponder(const std::string& idText, uint32_t rssi, uint32_t typeIndex,
                                       bool lowBattery)
{
    staleTicks = 0;
    latestValue = rssi;
    idField->setText(FromWindows1252(idText));
    typeField->setText(QString::fromLatin1(TransponderTypeName(typeIndex)));
    rssiField->setText(QString::number(rssi));
    lowBatteryField->setText(lowBattery ? tr("Low battery") : QString());
}

void CTransponderPage::OnTimer()
{
    graph->AddValue(latestValue);
    latestValue = 0;
    if (staleTicks >= kTicksShown)
        ClearFields();
    else
        ++staleTicks;
    graph->update();
}

void CTransponderPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CTransponderPage::resizeEvent(QResizeEvent* event)
{
    if (!graph)
        return;
    // The graph fills the page below the value row.
    graph->setGeometry(GraphRectBelow(idField->geometry().bottom() + 1, event->size()));
}

void CTransponderPage::ClearFields()
{
    for (QLabel* field : {idField, typeField, rssiField, lowBatteryField})
        field->clear();
}

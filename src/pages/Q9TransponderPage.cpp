#include "Q9TransponderPage.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimerEvent>

#include "AppSettings.h"
#include "FixedFormat.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"
#include "TemperatureDisplay.h"
#include "TesterLink.h"
#include "TextCodec.h"
#include "ValueFont.h"

namespace {
constexpr int kTickMs = 150;
// Silent ticks after which identity, RSSI and Request grey out (900 ms).
constexpr int32_t kIdleTicks = 6;
// Ticks without a reading or a reply after which the page blanks (22.5 s).
constexpr int32_t kActivityTicks = 150;
// The loop command's parameter that asks the Tester for diagnostics.
constexpr unsigned kDiagnosticsRequest = 1;

constexpr double kMaxBatteryVolts = 5.0;
constexpr uint32_t kMaxBatteryPercent = 100;
constexpr double kMinExternalVolts = 2.0;
constexpr double kMaxExternalVolts = 25.0;

QString NoiseText(int32_t noiseRaw)
{
    // The raw byte in steps of 1/2.45 dB above -97 dBm.
    return FormatFixed(noiseRaw / 2.45 - 97.0, 1);
}
} // namespace

CQ9TransponderPage::CQ9TransponderPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    builder.GroupBox(tr("Diagnostics"), 87, 7, 334, 71);

    builder.Caption(tr("ID:"), 7, 13, 72);
    builder.Caption(tr("RSSI:"), 7, 44, 72);
    builder.Caption(tr("Version:"), 94, 44, 72);
    builder.Caption(tr("Battery voltage:"), 175, 13, 72);
    builder.Caption(tr("External voltage:"), 175, 44, 72);
    builder.Caption(tr("Battery percentage:"), 256, 13, 80);
    builder.Caption(tr("Battery time (min.):"), 256, 44, 80);
    temperatureLabel = builder.Caption(TemperatureLabel(true), 340, 13, 76);
    builder.Caption(tr("Noise (dBm):"), 340, 44, 76);

    idField = builder.SunkenField(7, 23, 72, 18);
    rssiField = builder.SunkenField(7, 54, 72, 18);
    requestButton = builder.Button(tr("Request"), 94, 23, 72, 18);
    versionField = builder.SunkenField(94, 54, 72, 18);
    batteryVoltageField = builder.SunkenField(175, 23, 72, 18);
    externalVoltageField = builder.SunkenField(175, 54, 72, 18);
    batteryPercentField = builder.SunkenField(256, 23, 72, 18);
    batteryTimeField = builder.SunkenField(256, 54, 72, 18);
    temperatureField = builder.SunkenField(340, 23, 72, 18);
    noiseField = builder.SunkenField(340, 54, 72, 18);

    idField->setObjectName(QStringLiteral("id"));
    rssiField->setObjectName(QStringLiteral("rssi"));
    requestButton->setObjectName(QStringLiteral("request"));
    versionField->setObjectName(QStringLiteral("version"));
    batteryVoltageField->setObjectName(QStringLiteral("batteryVoltage"));
    externalVoltageField->setObjectName(QStringLiteral("externalVoltage"));
    batteryPercentField->setObjectName(QStringLiteral("batteryPercent"));
    batteryTimeField->setObjectName(QStringLiteral("batteryTime"));
    temperatureField->setObjectName(QStringLiteral("temperature"));
    noiseField->setObjectName(QStringLiteral("noise"));
    temperatureLabel->setObjectName(QStringLiteral("temperatureLabel"));

    valueFont = CreateValueFont();
    for (QLabel* field : {idField, rssiField, noiseField, temperatureField, versionField, batteryVoltageField,
                          batteryTimeField, externalVoltageField, batteryPercentField})
        field->setFont(valueFont);
    connect(requestButton, &QPushButton::clicked, this, &CQ9TransponderPage::OnRequest);

    idField->clear();
    rssiField->clear();
    SetIdentityEnabled(true);
    ClearDiagnostics();
    idleTicks = 0;

    graph = new CSimpleGraph(this);
    graph->backgroundColour = QColor(92, 92, 92);
    graph->gapMode = true;
    graph->setGeometry(150, 25, 275, 75);
    graph->fullScale = 255;
    graph->show();

    ApplyTemperatureUnit();
    timer.start(kTickMs, this);
}

void CQ9TransponderPage::SetSettings(AppSettings* settings)
{
    m_settings = settings;
    ApplyTemperatureUnit();
}

void CQ9TransponderPage::ApplyTemperatureUnit()
{
    temperatureLabel->setText(TemperatureLabel(IsCelsius()));
    ShowTemperature();
}

void CQ9TransponderPage::ShowTransponder(uint32_t number, const std::string& idText, uint32_t rssi)
{
    latestValue = rssi;
    idleTicks = 0;
    activityTicks = 0;
    // Another transponder is now in front of the Tester. Numbers, not texts:
    // the reply names a transponder by number, its readings by short id.
    if (!idField->text().isEmpty() && number != m_shownNumber)
        ClearDiagnostics();
    m_shownNumber = number;
    idField->setText(FromWindows1252(idText));
    rssiField->setText(QString::number(rssi));
    SetIdentityEnabled(true);
}

void CQ9TransponderPage::ShowDiagnostics(uint32_t number, int32_t noiseRaw, uint32_t batteryPercent,
                                         uint32_t batteryMinutes, int32_t temperatureC, uint32_t versionMajor,
                                         uint32_t versionMinor, double batteryVolts, double externalVolts)
{
    activityTicks = 0;
    temperature = temperatureC;
    ShowTemperature();

    m_shownNumber = number;
    idField->setText(QString::number(number));
    noiseField->setText(NoiseText(noiseRaw));
    versionField->setText(QStringLiteral("%1.%2").arg(versionMajor).arg(versionMinor));
    const bool batteryVoltsPlausible = batteryVolts >= 0.0 && batteryVolts <= kMaxBatteryVolts;
    batteryVoltageField->setText(batteryVoltsPlausible ? FormatFixed(batteryVolts, 1) : QString());
    batteryTimeField->setText(QString::number(batteryMinutes));
    const bool externalPlausible = externalVolts >= kMinExternalVolts && externalVolts <= kMaxExternalVolts;
    externalVoltageField->setText(externalPlausible ? FormatFixed(externalVolts, 1) : tr("N.A."));
    batteryPercentField->setText(batteryPercent <= kMaxBatteryPercent ? QString::number(batteryPercent)
                                                                      : QString());
}

void CQ9TransponderPage::ClearDiagnostics()
{
    for (QLabel* field : {noiseField, temperatureField, versionField, batteryVoltageField, batteryTimeField,
                          externalVoltageField, batteryPercentField})
        field->clear();
    requestButton->setEnabled(false);
    temperature = kNoTemperature;
    activityTicks = 0;
}

void CQ9TransponderPage::OnRequest()
{
    graph->AddValue(CSimpleGraph::MarkerValue);
    ClearDiagnostics();
    if (m_link)
        m_link->SendLoop(kDiagnosticsRequest);
}

void CQ9TransponderPage::OnTimer()
{
    graph->AddValue(latestValue);
    latestValue = 0;
    if (activityTicks >= kActivityTicks) {
        idField->clear();
        rssiField->clear();
        idField->setEnabled(true);
        rssiField->setEnabled(true);
        ClearDiagnostics();
        idleTicks = 1;
    } else {
        ++activityTicks;
        if (idleTicks >= kIdleTicks)
            SetIdentityEnabled(false);
        else
            ++idleTicks;
    }
    graph->update();
}

void CQ9TransponderPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CQ9TransponderPage::resizeEvent(QResizeEvent* event)
{
    if (!graph)
        return;
    const int bottom = rssiField->geometry().y() + rssiField->height();
    const QSize size = event->size();
    graph->setGeometry(11, bottom + 15, size.width() - 22, size.height() - bottom - 26);
}

void CQ9TransponderPage::ShowTemperature()
{
    temperatureField->setText(FormatTemperature(temperature, IsCelsius(), 0));
}

void CQ9TransponderPage::SetIdentityEnabled(bool enabled)
{
    idField->setEnabled(enabled);
    rssiField->setEnabled(enabled);
    requestButton->setEnabled(enabled);
}

bool CQ9TransponderPage::IsCelsius() const
{
    return !m_settings || m_settings->IsCelsius();
}

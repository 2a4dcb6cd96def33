#include "Q9TransponderPage.h"

#include <QLabel>
#include <QPushButton>

#include "FixedFormat.h"
#include "PageBuilder.h"
#include "SimpleGraph.h"
#include "TesterLink.h"
#include "TextCodec.h"

namespace {
// Silent ticks after which identity, RSSI and Request grey out (900 ms).
constexpr int32_t kIdleTicks = 6;
// Ticks without a reading or a reply after which the page blanks (22.5 s).
constexpr int32_t kActivityTicks = 150;
// The loop command's parameter that asks the Tester for diagnostics.
constexpr unsigned kDiagnosticsRequest = 1;
// The graph keeps this far below the diagnostics box.
constexpr int kGapBelowBox = 4;

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

CQ9TransponderPage::CQ9TransponderPage(QWidget* parent) : CGraphPage(true, parent)
{
    CPageBuilder builder(this);
    builder.GroupBox(tr("Diagnostics"), 87, 7, 334, 71);

    builder.Caption(tr("ID:"), 7, 13, 72);
    builder.Caption(tr("RSSI:"), 7, 44, 72);
    builder.Caption(tr("Version:"), 94, 44, 72);
    builder.Caption(tr("Battery voltage:"), 175, 13, 72);
    builder.Caption(tr("External voltage:"), 175, 44, 72);
    builder.Caption(tr("Battery percentage:"), 256, 13, 80);
    builder.Caption(tr("Battery time (min.):"), 256, 44, 80);
    builder.Caption(tr("Noise (dBm):"), 340, 44, 76);

    m_idField = builder.ValueField("id", 7, 23, 72);
    m_rssiField = builder.ValueField("rssi", 7, 54, 72);
    m_requestButton = builder.Button("request", tr("Request"), 94, 23, 72, 18);
    m_versionField = builder.ValueField("version", 94, 54, 72);
    m_batteryVoltageField = builder.ValueField("batteryVoltage", 175, 23, 72);
    m_externalVoltageField = builder.ValueField("externalVoltage", 175, 54, 72);
    m_batteryPercentField = builder.ValueField("batteryPercent", 256, 23, 72);
    m_batteryTimeField = builder.ValueField("batteryTime", 256, 54, 72);
    m_temperature = builder.TemperatureField(340, 13, 76, 23, 0);
    m_noiseField = builder.ValueField("noise", 340, 54, 72);
    connect(m_requestButton, &QPushButton::clicked, this, &CQ9TransponderPage::OnRequest);

    SetIdentityEnabled(true);
    ClearDiagnostics();
}

void CQ9TransponderPage::ShowTransponder(uint32_t number, const std::string& idText, uint32_t rssi)
{
    KeepValue(rssi);
    m_idleTicks = 0;
    m_activityTicks = 0;
    // Another transponder is now in front of the Tester. Numbers, not texts:
    // the reply names a transponder by number, its readings by short id.
    if (!m_idField->text().isEmpty() && number != m_shownNumber)
        ClearDiagnostics();
    m_shownNumber = number;
    m_idField->setText(FromWindows1252(idText));
    m_rssiField->setText(QString::number(rssi));
    SetIdentityEnabled(true);
}

void CQ9TransponderPage::ShowDiagnostics(const diagnostics_t& reply)
{
    m_activityTicks = 0;
    m_temperature.Show(reply.temperatureC);

    m_shownNumber = reply.number;
    m_idField->setText(QString::number(reply.number));
    m_noiseField->setText(NoiseText(reply.noiseRaw));
    m_versionField->setText(QStringLiteral("%1.%2").arg(reply.firmwareMajor).arg(reply.firmwareMinor));
    const bool batteryVoltsPlausible = reply.batteryVolts >= 0.0 && reply.batteryVolts <= kMaxBatteryVolts;
    m_batteryVoltageField->setText(batteryVoltsPlausible ? FormatFixed(reply.batteryVolts, 1) : QString());
    m_batteryTimeField->setText(QString::number(reply.remainingMinutes));
    const bool externalPlausible =
        reply.externalVolts >= kMinExternalVolts && reply.externalVolts <= kMaxExternalVolts;
    m_externalVoltageField->setText(externalPlausible ? FormatFixed(reply.externalVolts, 1) : tr("N.A."));
    m_batteryPercentField->setText(
        reply.batteryPercent <= kMaxBatteryPercent ? QString::number(reply.batteryPercent) : QString());
}

void CQ9TransponderPage::ClearDiagnostics()
{
    for (QLabel* field : {m_noiseField, m_versionField, m_batteryVoltageField, m_batteryTimeField,
                          m_externalVoltageField, m_batteryPercentField})
        field->clear();
    m_temperature.Clear();
    m_requestButton->setEnabled(false);
    m_activityTicks = 0;
}

void CQ9TransponderPage::OnRequest()
{
    Graph()->AddValue(CSimpleGraph::MarkerValue);
    ClearDiagnostics();
    if (m_link)
        m_link->SendLoop(kDiagnosticsRequest);
}

void CQ9TransponderPage::OnTimer()
{
    PlotKeptValue();
    if (m_activityTicks >= kActivityTicks) {
        m_idField->clear();
        m_rssiField->clear();
        m_idField->setEnabled(true);
        m_rssiField->setEnabled(true);
        ClearDiagnostics();
        m_idleTicks = 1;
    } else {
        ++m_activityTicks;
        if (m_idleTicks >= kIdleTicks)
            SetIdentityEnabled(false);
        else
            ++m_idleTicks;
    }
}

int CQ9TransponderPage::GraphTop() const
{
    return m_rssiField->geometry().bottom() + 1 + kGapBelowBox;
}

void CQ9TransponderPage::SetIdentityEnabled(bool enabled)
{
    m_idField->setEnabled(enabled);
    m_rssiField->setEnabled(enabled);
    m_requestButton->setEnabled(enabled);
}

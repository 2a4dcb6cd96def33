#include "TrackSensorPage.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "AppSettings.h"
#include "PageBuilder.h"
#include "TemperatureDisplay.h"
#include "TesterLink.h"
#include "TextCodec.h"
#include "ValueFont.h"

const char* const CTrackSensorPage::kNoteText =
    "A Tracksensor sends out it's signal only once a minute,\r\n"
    "this means it can take a while before a Tracksensor is detected.\r\n"
    "\r\n"
    "When listening for Tracksensors the Tester will NOT communicate with other devices or collect other "
    "data.";

namespace {
// On screen a line break is a single line feed.
QString ScreenText(const char* text)
{
    return QString::fromLatin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
} // namespace

CTrackSensorPage::CTrackSensorPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    builder.Caption(tr("ID:"), 7, 8, 106);
    builder.Caption(tr("RSSI:"), 124, 8, 72);
    temperatureLabel = builder.Caption(TemperatureLabel(true), 205, 8, 80);
    idField = builder.SunkenField(7, 17, 106, 18);
    rssiField = builder.SunkenField(124, 17, 72, 18);
    temperatureField = builder.SunkenField(205, 17, 72, 18);
    startStopButton = builder.Button(tr("Start listening"), 335, 17, 86, 18);
    noteField = builder.PlainField(52, 60, 327, 55);
    noteField->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    noteField->setWordWrap(true);
    progressBar = new QProgressBar(this);
    progressBar->setGeometry(builder.Rect(16, 134, 399, 14));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);

    idField->setObjectName(QStringLiteral("id"));
    rssiField->setObjectName(QStringLiteral("rssi"));
    temperatureField->setObjectName(QStringLiteral("temperature"));
    temperatureLabel->setObjectName(QStringLiteral("temperatureLabel"));
    startStopButton->setObjectName(QStringLiteral("startStop"));
    noteField->setObjectName(QStringLiteral("note"));
    progressBar->setObjectName(QStringLiteral("progress"));

    valueFont = CreateValueFont();
    for (QLabel* field : {idField, rssiField, temperatureField})
        field->setFont(valueFont);
    connect(startStopButton, &QPushButton::clicked, this, &CTrackSensorPage::OnStartStop);

    noteField->setText(ScreenText(kNoteText));
    ClearFields();
    startStopButton->setText(tr("Start listening"));
    ResetBarColour();
    ApplyTemperatureUnit();
}

CTrackSensorPage::~CTrackSensorPage()
{
    if (listening && m_link)
        m_link->StopListening();
}

void CTrackSensorPage::SetSettings(AppSettings* settings)
{
    m_settings = settings;
    ApplyTemperatureUnit();
}

void CTrackSensorPage::ApplyTemperatureUnit()
{
    temperatureLabel->setText(TemperatureLabel(IsCelsius()));
    ShowTemperature();
}

void CTrackSensorPage::SetTesterConnected(bool connected)
{
    startStopButton->setEnabled(connected);
    if (!connected)
        listening = false;
    ClearFields();
    startStopButton->setText(tr("Start listening"));
    ResetBarColour();
}

void CTrackSensorPage::SetListening(bool isListening)
{
    startStopButton->setEnabled(true);
    // Each listening session shows its own empty polls; a bar left full by the
    // last session would say nothing.
    if (isListening && !listening)
        progressBar->setValue(0);
    listening = isListening;
    ClearFields();
    ShowButtonText();
}

void CTrackSensorPage::StepProgress()
{
    if (listening)
        progressBar->setValue(std::min(progressBar->value() + 1, progressBar->maximum()));
}

void CTrackSensorPage::ShowTrackSensor(const std::string& codeText, uint32_t rssi, double temperatureC)
{
    idField->setText(FromWindows1252(codeText));
    rssiField->setText(QString::number(rssi));
    temperature = temperatureC;
    ShowTemperature();
}

void CTrackSensorPage::OnStartStop()
{
    ClearFields();
    ShowButtonText();
    if (m_link) {
        if (listening)
            m_link->StopListening();
        else
            m_link->StartListening();
    }
    // Until the Tester confirms the switch (or connects again).
    startStopButton->setEnabled(false);
}

void CTrackSensorPage::ClearFields()
{
    idField->clear();
    temperatureField->clear();
    rssiField->clear();
    // Forgotten with the sensor, so a change of unit cannot bring it back.
    temperature = kNoTemperature;
}

void CTrackSensorPage::ShowButtonText()
{
    if (listening) {
        startStopButton->setText(tr("Stop listening"));
    } else {
        startStopButton->setText(tr("Start listening"));
        ResetBarColour();
    }
}

void CTrackSensorPage::ResetBarColour()
{
    // The bar is drawn black whenever listening has not (yet) started.
    QPalette palette = progressBar->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 0));
    progressBar->setPalette(palette);
}

void CTrackSensorPage::ShowTemperature()
{
    temperatureField->setText(FormatTemperature(temperature, IsCelsius(), 1));
}

bool CTrackSensorPage::IsCelsius() const
{
    return !m_settings || m_settings->IsCelsius();
}

#include "TrackSensorPage.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "PageBuilder.h"
#include "TesterLink.h"
#include "TextCodec.h"

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
    m_idField = builder.ValueField("id", 7, 17, 106);
    m_rssiField = builder.ValueField("rssi", 124, 17, 72);
    m_temperature = builder.TemperatureField(205, 8, 80, 17, 1);
    m_startStopButton = builder.Button("startStop", tr("Start listening"), 335, 17, 86, 18);
    auto* note = builder.PlainField(52, 60, 327, 55);
    note->setObjectName(QStringLiteral("note"));
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setWordWrap(true);
    note->setText(ScreenText(kNoteText));
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progress"));
    m_progressBar->setGeometry(builder.Rect(16, 134, 399, 14));
    m_progressBar->setRange(0, 100);
    m_progressBar->setValue(0);
    m_progressBar->setTextVisible(false);
    connect(m_startStopButton, &QPushButton::clicked, this, &CTrackSensorPage::OnStartStop);
    ResetBarColour();
}

CTrackSensorPage::~CTrackSensorPage()
{
    if (m_listening && m_link)
        m_link->StopListening();
}

void CTrackSensorPage::SetTesterConnected(bool connected)
{
    m_startStopButton->setEnabled(connected);
    if (!connected)
        m_listening = false;
    ClearFields();
    m_startStopButton->setText(tr("Start listening"));
    ResetBarColour();
}

void CTrackSensorPage::SetListening(bool isListening)
{
    m_startStopButton->setEnabled(true);
    // Each listening session shows its own empty polls; a bar left full by the
    // last session would say nothing.
    if (isListening && !m_listening)
        m_progressBar->setValue(0);
    m_listening = isListening;
    ClearFields();
    ShowButtonText();
}

void CTrackSensorPage::StepProgress()
{
    if (m_listening)
        m_progressBar->setValue(std::min(m_progressBar->value() + 1, m_progressBar->maximum()));
}

void CTrackSensorPage::ShowTrackSensor(const std::string& codeText, uint32_t rssi, double temperatureC)
{
    m_idField->setText(FromWindows1252(codeText));
    m_rssiField->setText(QString::number(rssi));
    m_temperature.Show(temperatureC);
}

void CTrackSensorPage::OnStartStop()
{
    ClearFields();
    ShowButtonText();
    if (m_link) {
        if (m_listening)
            m_link->StopListening();
        else
            m_link->StartListening();
    }
    // Until the Tester confirms the switch (or connects again).
    m_startStopButton->setEnabled(false);
}

void CTrackSensorPage::ClearFields()
{
    m_idField->clear();
    m_rssiField->clear();
    // Forgotten with the sensor, so a change of unit cannot bring it back.
    m_temperature.Clear();
}

void CTrackSensorPage::ShowButtonText()
{
    if (m_listening) {
        m_startStopButton->setText(tr("Stop listening"));
    } else {
        m_startStopButton->setText(tr("Start listening"));
        ResetBarColour();
    }
}

void CTrackSensorPage::ResetBarColour()
{
    // The bar is drawn black whenever listening has not (yet) started.
    QPalette palette = m_progressBar->palette();
    palette.setColor(QPalette::Highlight, QColor(0, 0, 0));
    m_progressBar->setPalette(palette);
}

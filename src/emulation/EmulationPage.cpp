#include "EmulationPage.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <algorithm>
#include <cstdio>

#include "LogRowEvent.h"
#include "LoggingTabCtrl.h"
#include "LoopEmulatorPath.h"
#include "PageBuilder.h"
#include "SequenceTimerPeriod.h"
#include "TesterLink.h"
#include "TesterRecords.h"
#include "TextCodec.h"
#include "TimeOfDay.h"

namespace {

constexpr const char* kEmulatedTransponders[] = {"1234567", "2345678", "3456789", "4567890", "5678901"};
constexpr int kFirstDecoderId = 1;
constexpr int kLastDecoderId = 63;
constexpr int kCanListDropWidth = 200;
constexpr int kMaxCommandDataBytes = 8;

// At its template rectangle, not raised as the page builder's box: raised,
// the lower of the two stacked boxes would overlap the upper one.
QGroupBox* GroupBox(QWidget* page, const QString& title, const QRect& rect)
{
    auto* box = new QGroupBox(title, page);
    box->setGeometry(rect);
    return box;
}

std::string CanIdCell(uint32_t canId)
{
    if (canId == 0)
        return {};
    // At least three upper-case digits ("%0.3X": the 0 flag adds nothing to a precision).
    char text[16];
    std::snprintf(text, sizeof text, "%.3X", canId);
    return text;
}

std::string DataCell(int32_t dataCount, const uint8_t* data)
{
    const int count = data ? std::clamp(dataCount, 0, kMaxCommandDataBytes) : 0;
    std::string cell;
    for (int i = 0; i < count; ++i) {
        char pair[8];
        std::snprintf(pair, sizeof pair, "%.2X ", data[i]);
        cell += pair;
    }
    return cell;
}

} // namespace

CEmulationPage::CEmulationPage(QWidget* parent) : CEmulationPage(LoopEmulatorPath(), parent) {}

CEmulationPage::CEmulationPage(const std::string& definitionsPath, QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    BuildControls();
    FillLists(definitionsPath);
    // Nothing can be sent until a Tester is there.
    EnableSendButtons(false);
}

CEmulationPage::~CEmulationPage() = default;

void CEmulationPage::BuildControls()
{
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    GroupBox(this, tr("Emulate a transponder"), builder.Rect(7, 7, 418, 38));
    builder.Caption(tr("Transponder ID:"), 18, 24, 60);
    m_transponderList = builder.Control<QComboBox>("transponderList", 84, 21, 110, 14);
    m_transponderSend = builder.Button("transponderSend", tr("Send"), 204, 21, 50, 14);

    GroupBox(this, tr("Emulate a loop"), builder.Rect(7, 52, 418, 106));
    builder.Caption(tr("Decoder ID:"), 18, 69, 60);
    m_decoderList = builder.Control<QComboBox>("decoderList", 84, 66, 110, 14);
    m_loopSend = builder.Button("loopSend", tr("Send"), 204, 66, 50, 14);
    builder.Caption(tr("CAN Message:"), 18, 91, 60);
    m_canList = builder.Control<QComboBox>("canList", 84, 88, 110, 14);
    m_canSend = builder.Button("canSend", tr("Send"), 204, 88, 50, 14);
    m_cancel = builder.Button("cancel", tr("Cancel"), 204, 88, 50, 14);
    m_status = builder.PlainField(18, 110, 396, 42);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_status->setWordWrap(true);

    for (QPushButton* button : {m_transponderSend, m_loopSend, m_canSend, m_cancel})
        button->setAutoDefault(false);
    connect(m_transponderSend, &QPushButton::clicked, this, &CEmulationPage::OnTransponderSend);
    connect(m_loopSend, &QPushButton::clicked, this, &CEmulationPage::OnLoopSend);
    connect(m_canSend, &QPushButton::clicked, this, &CEmulationPage::OnCanSend);
    connect(m_cancel, &QPushButton::clicked, this, &CEmulationPage::OnCancel);
}

void CEmulationPage::FillLists(const std::string& definitionsPath)
{
    for (const char* number : kEmulatedTransponders)
        m_transponderList->addItem(QString::fromLatin1(number));
    m_transponderList->setCurrentIndex(0);
    for (int id = kFirstDecoderId; id <= kLastDecoderId; ++id)
        m_decoderList->addItem(QString::number(id));
    m_decoderList->setCurrentIndex(0);

    if (m_sequences.Load(definitionsPath)) {
        for (int i = 0; i < m_sequences.GetSequenceCount(); ++i)
            m_canList->addItem(FromWindows1252(m_sequences.GetSequence(i)->GetName()), i);
        m_canList->setCurrentIndex(m_canList->count() > 0 ? 0 : -1);
    } else {
        SetStatus(m_sequences.GetErrorText());
        m_canSend->setEnabled(false);
        m_canList->setEnabled(false);
    }
    m_canList->view()->setMinimumWidth(kCanListDropWidth);
    m_cancel->hide();
    m_cancel->setEnabled(false);
}

void CEmulationPage::SetTesterConnected(bool connected)
{
    if (!connected)
        ReturnToIdle();
    EnableSendButtons(connected);
}

void CEmulationPage::EnableSendButtons(bool enable)
{
    for (QPushButton* button : {m_transponderSend, m_loopSend, m_canSend})
        button->setEnabled(enable);
}

void CEmulationPage::OnTransponderSend()
{
    const int index = m_transponderList->currentIndex();
    if (index >= 0 && m_link)
        m_link->EmulateTransponder(static_cast<unsigned>(index));
}

void CEmulationPage::OnLoopSend()
{
    const int index = m_decoderList->currentIndex();
    if (index >= 0 && m_link)
        m_link->SendLoop(static_cast<unsigned>(index + kFirstDecoderId));
}

void CEmulationPage::OnCanSend()
{
    SetStatus({});
    const int entry = m_canList->currentIndex();
    if (entry >= 0) {
        const QVariant index = m_canList->itemData(entry);
        m_currentSequence = index.isValid() ? m_sequences.GetSequence(index.toInt()) : nullptr;
        if (!m_currentSequence) {
            SetStatus("Sequence not found!");
            return;
        }
        m_currentMessage = 0;
        // No messages, or the link refused the first: nothing went, the page stays idle.
        if (!SendMessage(0))
            return;
        if (m_currentSequence->GetMessageCount() > 1)
            m_sequenceTimer.start(SequenceTimerPeriodMs(m_currentSequence->GetTimeBetweenMessages()),
                                  Qt::PreciseTimer, this);
    }
    ShowSending();
}

void CEmulationPage::OnCancel()
{
    // Commands already queued with the link still go out.
    ReturnToIdle();
}

void CEmulationPage::OnTimer()
{
    if (!m_currentSequence)
        return;
    // A message the link refused (its queue is full while the Tester is busy)
    // is offered again at the next tick: it is neither skipped nor logged.
    if (!SendMessage(m_currentMessage + 1))
        return;
    ++m_currentMessage;
    if (m_currentMessage >= m_currentSequence->GetMessageCount() - 1)
        ReturnToIdle();
}

void CEmulationPage::OnTransmitResult(int32_t code)
{
    if (code == kTransmitTxDone) {
        AddCanLogRow("Sent", "", "", "", 0, 0, nullptr);
        SetStatus({});
        return;
    }
    if (code != kTransmitInvalidParameter && code != kTransmitMsgDone)
        return;
    if (m_currentSequence && m_currentMessage + 1 >= m_currentSequence->GetMessageCount())
        ReturnToIdle();
}

void CEmulationPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_sequenceTimer.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

bool CEmulationPage::SendMessage(int index)
{
    const CCanMessage* message = m_currentSequence->GetMessage(index);
    if (!message)
        return false;
    const std::vector<uint8_t>& data = message->GetData();
    // The Tester takes at most 8 data bytes; a longer message goes without any.
    const bool fits = data.size() <= kMaxCommandDataBytes;
    const auto dataCount = static_cast<uint8_t>(fits ? data.size() : 0);
    const uint8_t* bytes = fits ? data.data() : nullptr;
    const auto canId = static_cast<uint32_t>(message->GetCanId());
    if (m_link &&
        !m_link->SendCanMessage(message->GetTwoWayId(), canId, dataCount, message->GetRtr() ? 1 : 0, bytes))
        return false;

    const int count = m_currentSequence->GetMessageCount();
    const std::string action = count < 2 ? "Sending: " + message->GetName()
                                         : "Sending (" + std::to_string(index + 1) + "/" +
                                               std::to_string(count) + "): " + message->GetName();
    AddCanLogRow(action, "", "", "", canId, dataCount, bytes);
    return true;
}

void CEmulationPage::ReturnToIdle()
{
    m_sequenceTimer.stop();
    m_canSend->show();
    m_canSend->setEnabled(true);
    m_canList->setEnabled(true);
    m_cancel->hide();
    m_cancel->setEnabled(false);
}

void CEmulationPage::ShowSending()
{
    m_canSend->hide();
    m_canSend->setEnabled(false);
    m_canList->setEnabled(false);
    m_cancel->show();
    m_cancel->setEnabled(true);
}

void CEmulationPage::SetStatus(const std::string& text)
{
    m_status->setText(FromWindows1252(text));
}

void CEmulationPage::AddCanLogRow(const std::string& action, const std::string& label, const std::string& id,
                                  const std::string& shortId, uint32_t canId, int32_t dataCount,
                                  const uint8_t* data)
{
    if (!m_logTab)
        return;
    auto row = std::make_unique<LogRow>();
    row->cells = {action, label, id, shortId, CanIdCell(canId), DataCell(dataCount, data), FormatTimeOfDay()};
    PostLogRow(m_logTab, WM_LOG_CAN_ROW, std::move(row));
}

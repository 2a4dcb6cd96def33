#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "CanMessages.h"

class CTesterLink;
class CLoggingTabCtrl;
class QComboBox;
class QLabel;
class QPushButton;

// "Emulation": makes the Tester emulate one of five transponders, a loop with
// a chosen decoder id, or play a CAN message sequence of LoopEmulator.xml at
// the sequence's pace. Every message queued and every transmission confirmed
// becomes a row of the CAN message log.
//
// The CAN part is idle (Send shown, list enabled) or sending (Cancel shown,
// list disabled); a sequence of two or more messages is paced by a timer.
class CEmulationPage : public QWidget {
    Q_OBJECT
  public:
    // Reads LoopEmulator.xml beside the program.
    explicit CEmulationPage(QWidget* parent = nullptr);
    // Reads the sequences from `definitionsPath` instead.
    explicit CEmulationPage(const std::string& definitionsPath, QWidget* parent = nullptr);
    ~CEmulationPage() override;

    void SetTesterLink(CTesterLink* link) { m_link = link; }
    // Where the page posts its CAN message log rows.
    void SetLogTabCtrl(CLoggingTabCtrl* logTab) { m_logTab = logTab; }

    // Connected: the three Send buttons can be used. Disconnected: a running
    // sequence is abandoned (timer stopped, CAN part idle) and the three Send
    // buttons are disabled.
    void SetTesterConnected(bool connected);

    void OnTransponderSend();
    void OnLoopSend();
    void OnCanSend();
    void OnCancel();
    // The sequence timer's tick: sends the next message of the sequence.
    void OnTimer();
    // A transmission result of the Tester link (TransmitResult codes).
    void OnTransmitResult(int32_t code);

    // Posts one row to the CAN message log. At most 8 data bytes are shown
    // (a received message carries no more); a negative count shows none.
    // Texts are Windows-1252.
    void AddCanLogRow(const std::string& action, const std::string& label, const std::string& id,
                      const std::string& shortId, uint32_t canId, int32_t dataCount, const uint8_t* data);

    const CCanMessages& Sequences() const { return m_sequences; }
    bool IsSequenceTimerRunning() const { return m_sequenceTimer.isActive(); }

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void BuildControls();
    void FillLists(const std::string& definitionsPath);
    // False when the sequence has no message `index` or the link refused it.
    bool SendMessage(int index);
    void ReturnToIdle();
    void ShowSending();
    void EnableSendButtons(bool enable);
    void SetStatus(const std::string& text);

    QComboBox* m_transponderList = nullptr;
    QPushButton* m_transponderSend = nullptr;
    QComboBox* m_decoderList = nullptr;
    QPushButton* m_loopSend = nullptr;
    QComboBox* m_canList = nullptr;
    QPushButton* m_canSend = nullptr;
    QPushButton* m_cancel = nullptr;
    QLabel* m_status = nullptr;

    CCanMessages m_sequences;
    CTesterLink* m_link = nullptr;
    CLoggingTabCtrl* m_logTab = nullptr;
    const CCanMessageSequence* m_currentSequence = nullptr;
    int m_currentMessage = -1;
    QBasicTimer m_sequenceTimer;
};

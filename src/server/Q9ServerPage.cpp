#include "Q9ServerPage.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimerEvent>
#include <string.h>

#include "PageBuilder.h"
#include "StatusBarCtrl.h"
#include "TextCodec.h"
#include "TimeOfDay.h"
#include "TranslationList.h"
#include "TranslationSync.h"

namespace {

constexpr int kPumpMs = 100;

// Registered with the page as context; a callback without one does nothing.
void ConnectCallback(ptc_handle_t, uint8_t connected, void* context)
{
    if (context)
        static_cast<CQ9ServerPage*>(context)->OnConnect(connected != 0);
}

void ConnectionStateCallback(ptc_handle_t, int32_t state, void* context)
{
    if (context)
        static_cast<CQ9ServerPage*>(context)->OnConnectionState(state);
}

void TransponderCallback(ptc_handle_t, uint32_t event, uint32_t, uint32_t, void* context)
{
    if (context)
        static_cast<CQ9ServerPage*>(context)->OnTransponderData(event);
}

const char* StateText(int32_t state)
{
    switch (state) {
    case PTC_STATE_CONNECTING:
        return "Trying to connect to selected host";
    case PTC_STATE_FAILED:
        return "Failed to open connection";
    case PTC_STATE_AUTHENTICATING:
        return "Trying to authenticate the user";
    case PTC_STATE_REJECTED:
        return "Invalid user name or password specified";
    default:
        return nullptr;
    }
}

} // namespace

CQ9ServerPage::CQ9ServerPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    BuildControls();
    m_library = hub_sdk_alloc("Q9 Tester", 0);
    m_pump.start(kPumpMs, this);
}

CQ9ServerPage::~CQ9ServerPage()
{
    m_pump.stop();
    if (m_connection != 0) {
        ptc_disconnect(m_connection);
        ptc_handle_dealloc(m_library, m_connection);
    }
    hub_sdk_dealloc(m_library);
}

void CQ9ServerPage::BuildControls()
{
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());
    // Clicked, or entered by Tab, the page hands the focus on to a field.
    setFocusPolicy(Qt::StrongFocus);

    builder.Caption(tr("D9 Ividiv:"), 12, 17, 50);
    m_host = builder.Control<QLineEdit>("host", 66, 14, 160, 14);
    builder.Caption(tr("Username:"), 12, 37, 50);
    m_user = builder.Control<QLineEdit>("user", 66, 34, 160, 14);
    builder.Caption(tr("Password:"), 12, 57, 50);
    m_password = builder.Control<QLineEdit>("password", 66, 54, 160, 14);
    m_password->setEchoMode(QLineEdit::Password);
    m_synchronize = builder.Button("synchronize", tr("Synchronize"), 66, 76, 60, 14);
    m_synchronize->setAutoDefault(false);
    m_status = builder.Control<QLineEdit>("status", 12, 100, 408, 14);
    m_status->setReadOnly(true);
    m_status->setAlignment(Qt::AlignHCenter);
    connect(m_synchronize, &QPushButton::clicked, this, &CQ9ServerPage::OnSynchronize);
}

void CQ9ServerPage::SetSettings(serverlogin_t* settings)
{
    m_settings = settings;
    m_host->setText(settings ? FromWindows1252(settings->host) : QString());
    m_user->setText(settings ? FromWindows1252(settings->login) : QString());
}

void CQ9ServerPage::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::BacktabFocusReason) {
        // Going backwards the page is passed over, or Shift+Tab could never
        // leave the host field.
        focusPreviousChild();
        return;
    }
    QLineEdit* field = m_password;
    if (m_host->text().isEmpty())
        field = m_host;
    else if (m_user->text().isEmpty())
        field = m_user;
    field->setFocus(event->reason());
}

void CQ9ServerPage::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_pump.timerId())
        OnTimer();
    else
        QWidget::timerEvent(event);
}

void CQ9ServerPage::OnTimer()
{
    if (m_library != 0)
        hub_sdk_messagequeue_process(m_library, 0, 0, 0);
}

void CQ9ServerPage::ShowStatus(const char* text)
{
    m_status->setText(QString::fromLatin1(text));
}

void CQ9ServerPage::OnSynchronize()
{
    ShowStatus("Trying to open connection...");
    const std::string hostField = ToWindows1252(m_host->text());
    const std::string user = ToWindows1252(m_user->text());
    std::string password = ToWindows1252(m_password->text());
    // The library connects to its own port; the field may name one for the user's eyes.
    const std::string host = hostField.substr(0, hostField.find(':'));

    if (m_connection != 0) {
        ptc_handle_dealloc(m_library, m_connection);
        m_connection = 0;
    }
    m_connection = ptc_handle_alloc(m_library, this);
    ptc_notify_connect(m_connection, ConnectCallback);
    ptc_notify_connectionstate(m_connection, ConnectionStateCallback);
    ptc_notify_transponder(m_connection, TransponderCallback);
    ptc_objectdata_subscribe(m_connection, PTC_OBJECTDATA_TRANSPONDER);
    m_attempt = {hostField, user};
    const bool started =
        ptc_connect(m_connection, host.c_str(), user.c_str(), password.c_str(), PTC_CONNECT_VERIFY) != 0;
    explicit_bzero(password.data(), password.size());
    // Without a started connection no callback ever comes to say so.
    if (!started)
        ShowStatus("Failed to open connection");
}

void CQ9ServerPage::OnConnectionState(int32_t state)
{
    if (const char* text = StateText(state))
        ShowStatus(text);
}

void CQ9ServerPage::OnConnect(bool connected)
{
    if (!connected)
        return;
    if (m_settings)
        *m_settings = m_attempt;
    ShowStatus("Successfully connected");
}

void CQ9ServerPage::OnTransponderData(uint32_t event)
{
    if (event == PTC_TRANSPONDER_COMPLETE && m_translations)
        Synchronise();
}

void CQ9ServerPage::Synchronise()
{
    ReplaceTranslations(m_connection, *m_translations);
    if (m_statusBar)
        m_statusBar->SetText(1, QStringLiteral("D9 Ividiv: ") + FromWindows1252(FormatTimeOfDay()));
    ShowStatus("Transponder data synchronized with server");
    ptc_disconnect(m_connection);
}

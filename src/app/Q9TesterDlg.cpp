#include "Q9TesterDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "AboutPage.h"
#include "AppIcons.h"
#include "AppSettings.h"
#include "AppSettingsProfile.h"
#include "BeaconPage.h"
#include "CanMessageLogPage.h"
#include "DialogUnits.h"
#include "EmulationPage.h"
#include "LogRowEvent.h"
#include "LoggingTabCtrl.h"
#include "LoopPage.h"
#include "MainTabCtrl.h"
#include "Q9ServerPage.h"
#include "Q9TransponderPage.h"
#include "SettingsDlg.h"
#include "SingleInstance.h"
#include "StatusBarCtrl.h"
#include "TesterEvent.h"
#include "TesterLink.h"
#include "TrackSensorPage.h"
#include "TransponderLogPage.h"
#include "TransponderPage.h"

namespace {

const char kCompany[] = "TAMRIX Derida Vovivu";
const char kProduct[] = "Q9 Tester";
const char kVersion[] = Q9_VERSION;

constexpr int kTimerMs = 100;
constexpr int kLayoutGap = 15;        // between the buttons and the tab controls
constexpr int kBelowLastControl = 40; // outer bottom edge below the last control
constexpr int kMinStatusHeight = 15;

} // namespace

CQ9TesterDlg::CQ9TesterDlg(CTesterDevice& device, CSingleInstance* instance, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QString::fromLatin1(kProduct));
    setFont(CDialogUnits::DialogFont());
    m_icon = DialogIcon();
    CreatePages();
    m_link = std::make_unique<CTesterLink>(device, [this] {
        // The reader thread only wakes the UI thread; the records stay in the ring.
        QCoreApplication::postEvent(this, new QEvent(WM_TESTER_EVENT));
    });
    m_translations = std::make_unique<CTranslationList>();
    m_settings = std::make_unique<AppSettings>();
    ReadAppSettings(*m_settings);
    CreateWindowControls();
    m_endedAtStart = !Initialise(instance);
}

CQ9TesterDlg::~CQ9TesterDlg()
{
    m_timer.stop();
    // The reader thread ends before anything it could wake is deleted.
    m_link->Stop();
    m_transponderPage.reset();
    m_q9TransponderPage.reset();
    m_trackSensorPage.reset();
    m_loopPage.reset();
    m_beaconPage.reset();
    m_emulationPage.reset();
    m_serverPage.reset();
    m_aboutPage.reset();
    m_link.reset();
    m_statusBar.reset();
    m_translations.reset();
    WriteAppSettings(*m_settings);
    m_settings.reset();
    // Rows posted just before the dialog ended still reach the files.
    QCoreApplication::sendPostedEvents(m_logTab, WM_LOG_TRANSPONDER_ROW);
    QCoreApplication::sendPostedEvents(m_logTab, WM_LOG_CAN_ROW);
    delete m_logTab; // closes both log files
    m_logTab = nullptr;
}

void CQ9TesterDlg::CreatePages()
{
    m_transponderPage = std::make_unique<CTransponderPage>();
    m_q9TransponderPage = std::make_unique<CQ9TransponderPage>();
    m_trackSensorPage = std::make_unique<CTrackSensorPage>();
    m_loopPage = std::make_unique<CLoopPage>();
    m_beaconPage = std::make_unique<CBeaconPage>();
    m_emulationPage = std::make_unique<CEmulationPage>();
    m_serverPage = std::make_unique<CQ9ServerPage>();
    m_aboutPage = std::make_unique<CAboutPage>();
}

void CQ9TesterDlg::CreateWindowControls()
{
    const CDialogUnits units(font());
    setFixedSize(units.Size(445, 315));

    m_showLogButton = new QPushButton(QStringLiteral("Show log"), this);
    m_showLogButton->setObjectName(QStringLiteral("showLog"));
    m_showLogButton->setGeometry(units.Rect(173, 189, 100, 14));
    connect(m_showLogButton, &QPushButton::clicked, this, &CQ9TesterDlg::OnShowLog);
    m_settingsButton = new QPushButton(QStringLiteral("Settings..."), this);
    m_settingsButton->setObjectName(QStringLiteral("settings"));
    m_settingsButton->setGeometry(units.Rect(388, 189, 50, 14));
    connect(m_settingsButton, &QPushButton::clicked, this, &CQ9TesterDlg::OnSettings);

    m_statusBar = std::make_unique<CStatusBarCtrl>(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    const int statusHeight = std::max(kMinStatusHeight, m_statusBar->sizeHint().height());
    m_statusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    m_statusBar->SetText(0, QStringLiteral("Tester: Not connected"));
    m_statusBar->show();

    m_logTab = new CLoggingTabCtrl(this);
    m_logTab->setObjectName(QStringLiteral("logTab"));
    m_mainTab = new CMainTabCtrl([this](int index) { return OnTabChanging(index, m_mainTab) == 0; }, this);
    m_mainTab->setObjectName(QStringLiteral("mainTab"));
    HandPagesTheirObjects();
    AddMainTabs();
    LayoutControls(width(), height());
}

void CQ9TesterDlg::HandPagesTheirObjects()
{
    m_serverPage->SetTranslations(m_translations.get());
    m_serverPage->SetStatusBar(m_statusBar.get());
    m_serverPage->SetSettings(m_settings.get());
    m_statusBar->SetText(1, QStringLiteral("D9 Ividiv: Not synchronized"));
    m_emulationPage->SetTesterLink(m_link.get());
    m_emulationPage->SetLogTabCtrl(m_logTab);
    m_q9TransponderPage->SetTesterLink(m_link.get());
    m_trackSensorPage->SetTesterLink(m_link.get());
    ShowTemperatureUnit();
}

void CQ9TesterDlg::ShowTemperatureUnit()
{
    const bool celsius = m_settings->IsCelsius();
    m_beaconPage->SetCelsius(celsius);
    m_q9TransponderPage->SetCelsius(celsius);
    m_trackSensorPage->SetCelsius(celsius);
}

void CQ9TesterDlg::AddMainTabs()
{
    m_mainTab->addTab(m_transponderPage.get(), QStringLiteral("Transponder"));
    m_mainTab->addTab(m_beaconPage.get(), BeaconTabIcon(), QStringLiteral("Beacon"));
    m_mainTab->addTab(m_q9TransponderPage.get(), Q9UduTabIcon(), QStringLiteral("Z9 Udu"));
    m_mainTab->addTab(m_trackSensorPage.get(), QStringLiteral("Tracksensor"));
    m_mainTab->addTab(m_loopPage.get(), LoopTabIcon(), QStringLiteral("Loop"));
    m_mainTab->addTab(m_emulationPage.get(), QStringLiteral("Emulation"));
    m_mainTab->addTab(m_serverPage.get(), QStringLiteral("D9 Ividiv"));
    m_mainTab->addTab(m_aboutPage.get(), QStringLiteral("About"));
    m_mainTab->setCurrentIndex(0);
}

bool CQ9TesterDlg::Initialise(CSingleInstance* instance)
{
    const QString product =
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kProduct), QString::fromLatin1(kVersion));
    setWindowTitle(QStringLiteral("%1 - %2").arg(QString::fromLatin1(kCompany), product));
    if (instance && !instance->Claim()) {
        setResult(0);
        return false;
    }
    setWindowIcon(m_icon);
    m_link->Start();
    m_timer.start(kTimerMs, this);
    SetLogVisible(m_settings->showLog != 0);
    CreateLogPages();
    LayoutControls(width(), height());
    return true;
}

void CQ9TesterDlg::CreateLogPages()
{
    auto* transponderLog = new CTransponderLogPage(m_logTab);
    auto* canLog = new CCanMessageLogPage(m_logTab);
    m_logTab->SetPages(transponderLog, canLog);
}

int CQ9TesterDlg::DoModal()
{
    return m_endedAtStart ? 0 : exec();
}

QRect CQ9TesterDlg::WindowRectInClient() const
{
    return QRect(frameGeometry().topLeft() - geometry().topLeft(), frameGeometry().size());
}

void CQ9TesterDlg::SetLogVisible(bool show)
{
    const QRect window = WindowRectInClient();
    int lastBottom = 0; // the bottom edge of the last control shown
    if (show) {
        const QRect tabs = m_mainTab->geometry();
        lastBottom = 2 * (tabs.top() + tabs.height());
        m_logTab->show();
        m_showLogButton->setText(QStringLiteral("Hide log"));
    } else {
        const QRect button = m_showLogButton->geometry();
        lastBottom = button.top() + button.height();
        m_logTab->hide();
        m_showLogButton->setText(QStringLiteral("Show log"));
    }
    // The outer bottom edge goes kBelowLastControl below that control.
    const int frameTop = -window.top();
    const int frameBottom = window.height() - frameTop - height();
    setFixedSize(width(), lastBottom + kBelowLastControl - frameBottom);
    m_settings->showLog = show ? 1 : 0;
    // The status bar keeps to the bottom of the client area (it is placed
    // there on every frame size, with or without a window manager).
    m_statusBar->move(0, height() - m_statusBar->height());
    LayoutControls(width(), height());
}

void CQ9TesterDlg::LayoutControls(int cx, int cy)
{
    int margin = 210;
    int logTop = 300;
    int status = 0;
    if (m_showLogButton) {
        const QRect button = m_showLogButton->geometry();
        margin = cy - button.top() + kLayoutGap;
        logTop = button.top() + button.height() + kLayoutGap;
        status = m_statusBar ? m_statusBar->height() : 0;
    }
    if (m_mainTab)
        m_mainTab->setGeometry(10, 10, cx - 20, std::max(0, cy - margin));
    if (m_logTab)
        m_logTab->setGeometry(10, logTop, cx - 20, std::max(0, cy - status - logTop - 10));
}

void CQ9TesterDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls(width(), height());
}

void CQ9TesterDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        OnTimer();
    else
        QDialog::timerEvent(event);
}

void CQ9TesterDlg::OnTimer()
{
    m_deafList.Age(kTimerMs);
}

void CQ9TesterDlg::customEvent(QEvent* event)
{
    if (event->type() == WM_TESTER_EVENT)
        m_link->DeliverEvents(*this);
    else
        QDialog::customEvent(event);
}

void CQ9TesterDlg::OnShowLog()
{
    SetLogVisible(m_settings->showLog == 0);
}

void CQ9TesterDlg::OnSettings()
{
    CSettingsDlg dialog(&m_settings->unitCelsius, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ShowTemperatureUnit();
}

void CQ9TesterDlg::OnTerminationRequested()
{
    // A box left open would hold the program in its own loop until someone
    // answers it, so cancel each, topmost first, before ending.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == this)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            break; // it would not go; ending the dialog is all that is left
    }
    reject();
}

int CQ9TesterDlg::OnTabChanging(int, QTabWidget* sender)
{
    if (sender != m_mainTab || !IsTrackSensorListening())
        return 0;
    ShowTabChangeRefused();
    return 1;
}

bool CQ9TesterDlg::IsTrackSensorListening() const
{
    return m_trackSensorPage->IsListening();
}

void CQ9TesterDlg::ShowTabChangeRefused()
{
    QMessageBox::information(
        this, QCoreApplication::applicationName(),
        QStringLiteral("Please stop listening for Tracksensors, before switching to another tab"));
}

bool CQ9TesterDlg::ConfirmClose()
{
    return QMessageBox::question(this, QString::fromLatin1(kProduct),
                                 QStringLiteral("Are you sure you want to close the program?"),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CQ9TesterDlg::closeEvent(QCloseEvent* event)
{
    // Only the window's close box comes here; OK and Cancel end the dialog
    // without asking.
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CQ9TesterDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter is the OK command, which ends the dialog without asking, as
    // Escape (Cancel, QDialog's own) does; the log pages keep both keys to
    // themselves. A focused button takes Enter itself. Inside a device page
    // Enter belongs to the page: it neither ends the dialog nor presses a
    // button without focus.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!enter || !plain) {
        QDialog::keyPressEvent(event);
        return;
    }
    const QWidget* page = m_mainTab->currentWidget();
    if (!page || !page->isAncestorOf(focusWidget()))
        accept();
}

#include "Q9TesterApp.h"

#include "Ftd2xxDevice.h"
#include "Q9TesterDlg.h"

CQ9TesterApp::CQ9TesterApp(int& argc, char** argv)
    : QApplication(argc, argv), m_instance(applicationName().toStdString() + ".lock")
{
}

int CQ9TesterApp::Run()
{
    CFtd2xxDevice device;
    // The dialog (and with it the link) goes before the device it uses.
    CQ9TesterDlg dialog(device, &m_instance);
    // Asked to end, the program ends as after Cancel, also with a box open
    // over the window: the dialog's destructor stops the link and writes the
    // settings back.
    connect(&m_termination, &CTerminationSignals::TerminationRequested, &dialog,
            &CQ9TesterDlg::OnTerminationRequested);
    dialog.DoModal();
    return 0;
}

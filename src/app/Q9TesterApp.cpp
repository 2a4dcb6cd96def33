#include "Q9TesterApp.h"

#include "Ftd2xxDevice.h"
#include "Q9TesterDlg.h"
#include "RecordingDevice.h"

CQ9TesterApp::CQ9TesterApp(int& argc, char** argv)
    : QApplication(argc, argv), m_instance(applicationName().toStdString() + ".lock")
{
}

int CQ9TesterApp::Run(const std::string& recordFile)
{
    CFtd2xxDevice device;
    // Recorded only when asked; a recording that fails says so on stderr and
    // the program goes on without it.
    CRecordingWriter recording;
    CRecordingDevice recorder(device, recording);
    if (!recordFile.empty())
        recording.Open(recordFile, "q9tester", Q9_VERSION);
    CTesterDevice& linkDevice = recordFile.empty() ? static_cast<CTesterDevice&>(device) : recorder;
    // The dialog (and with it the link) goes before the device it uses.
    CQ9TesterDlg dialog(linkDevice, &m_instance);
    // Asked to end, the program ends as after Cancel, also with a box open
    // over the window: the dialog's destructor stops the link and writes the
    // settings back.
    connect(&m_termination, &CTerminationSignals::TerminationRequested, &dialog,
            &CQ9TesterDlg::OnTerminationRequested);
    dialog.DoModal();
    return 0;
}

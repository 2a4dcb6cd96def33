#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so that
// a program asked to end (by a service manager, a logout or Ctrl+C) ends the
// way a closed dialog does: link stopped, settings written, log files closed.
// The C signal handler only writes a byte into a pipe; a request that comes
// before the UI exists waits there until an object reads it.
class CTerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Catches the three signals for the rest of the process. Called first
    // thing in main: Qt takes tens of milliseconds to start, and a request
    // in that time must not end the program by the default action. False
    // when the pipe could not be made; the signals then keep their default
    // action. Calling it again does nothing.
    static bool Install();

    // Reads the requests (installing first if main did not). One object per
    // process.
    explicit CTerminationSignals(QObject* parent = nullptr);

    bool Installed() const { return m_notifier != nullptr; }

  signals:
    void TerminationRequested();

  private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};

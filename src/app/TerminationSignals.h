#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so that
// a program asked to end (by a service manager, a logout or Ctrl+C) ends the
// way a closed dialog does: link stopped, settings written, log files closed.
// The C signal handler only writes a byte into a pipe; nothing is lost when a
// signal comes before anyone is connected. One object per process.
class CTerminationSignals : public QObject {
    Q_OBJECT
  public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    // Gives the three signals their default action back.
    ~CTerminationSignals() override;

    // False when the pipe or a handler could not be set up; the signals then
    // keep their default action.
    bool Installed() const { return m_notifier != nullptr; }

  signals:
    void TerminationRequested();

  private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};

#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <string>

// The program's command line: --help, --version and --record FILE, read
// before the window system is opened, so they work without a display.
// Anything it does not know is a wrong command line. Nothing is on by
// default: the program without options is the program as the technician
// knows it.
class CProgramOptions {
  public:
    CProgramOptions();

    // False when the program is to end at once with ExitCode(): after --help
    // or --version (0, the text on standard output) or for a wrong command
    // line (2, what was wrong on standard error).
    bool Parse(int argc, char** argv);
    int ExitCode() const { return m_exitCode; }
    // The file to record the Tester's traffic to; empty: no recording.
    std::string RecordFile() const { return m_parser.value(m_record).toStdString(); }

    // "q9tester 2.5.0 (build 0123abc)": the version and build of the About page.
    static QString VersionText();

  private:
    bool Parse(const QStringList& arguments);
    bool Finish(int exitCode, const QString& text);

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_record;
    int m_exitCode = 0;
};

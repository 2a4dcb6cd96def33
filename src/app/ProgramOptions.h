#pragma once

#include <QCommandLineParser>
#include <QStringList>

// The program's command line: --help and --version, read before the window
// system is opened, so both work without a display. Anything it does not
// know is a wrong command line.
class CProgramOptions {
  public:
    CProgramOptions();

    // False when the program is to end at once with ExitCode(): after --help
    // or --version (0, the text on standard output) or for a wrong command
    // line (2, what was wrong on standard error).
    bool Parse(int argc, char** argv);
    int ExitCode() const { return m_exitCode; }

    // "q9tester 2.5.0 (build 0123abc)": the version and build of the About page.
    static QString VersionText();

  private:
    bool Parse(const QStringList& arguments);
    bool Finish(int exitCode, const QString& text);

    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    int m_exitCode = 0;
};

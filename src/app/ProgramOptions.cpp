#include "ProgramOptions.h"

#include <QCommandLineParser>

ProgramOptions ParseProgramOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Checks timing equipment through a TAMRIX TESTER on USB.");
    parser.addHelpOption();
    const QCommandLineOption record(
        "record",
        "Record the Tester's traffic to <file>, a field recording that tester-sim --replay plays back.",
        "file");
    parser.addOption(record);
    parser.process(app);
    ProgramOptions options;
    options.recordFile = parser.value(record).toStdString();
    return options;
}

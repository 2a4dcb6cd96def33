#include "ProgramOptions.h"

#include <cstdio>

#include "AboutPage.h"

namespace {

const char kProgram[] = "q9tester";
constexpr int kWrongCommandLine = 2;

} // namespace

CProgramOptions::CProgramOptions()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the version and build and exit.")),
      m_record(QStringLiteral("record"),
               QStringLiteral("Record the Tester's traffic to <file>, a field recording that "
                              "tester-sim --replay plays back."),
               QStringLiteral("file"))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Q9 Tester: checks a sports-timing installation through a TAMRIX Tester on USB."));
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addOption(m_record);
}

QString CProgramOptions::VersionText()
{
    return QStringLiteral("%1 %2 (build %3)")
        .arg(QLatin1String(kProgram), QLatin1String(CAboutPage::kVersion), CAboutPage::BuildId());
}

bool CProgramOptions::Parse(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return Parse(arguments);
}

bool CProgramOptions::Parse(const QStringList& arguments)
{
    if (!m_parser.parse(arguments))
        return Finish(kWrongCommandLine, m_parser.errorText());
    if (!m_parser.positionalArguments().isEmpty())
        return Finish(
            kWrongCommandLine,
            QStringLiteral("Unexpected argument '%1'.").arg(m_parser.positionalArguments().first()));
    if (m_parser.isSet(m_help)) {
        // Read before the application object exists, the parser cannot know
        // the program's name.
        QString help = m_parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QLatin1String(kProgram));
        return Finish(0, help);
    }
    if (m_parser.isSet(m_version))
        return Finish(0, VersionText() + QLatin1Char('\n'));
    return true;
}

bool CProgramOptions::Finish(int exitCode, const QString& text)
{
    m_exitCode = exitCode;
    if (exitCode == 0) {
        std::fputs(text.toLocal8Bit().constData(), stdout);
    } else {
        std::fprintf(stderr, "%s: %s\n(try --help)\n", kProgram, text.toLocal8Bit().constData());
    }
    return false;
}

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <string>
#include <vector>

#include "ProgramOptions.h"

namespace {

// The exit code when the program is to end at once after `words`, -1 when it is to run.
int ExitOf(std::vector<std::string> words)
{
    words.insert(words.begin(), "q9tester");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    CProgramOptions options;
    return options.Parse(static_cast<int>(argv.size()), argv.data()) ? -1 : options.ExitCode();
}

} // namespace

TEST(ProgramOptions, RunsWithoutArgumentsEndsAfterHelpOrVersionAndRefusesTheRest)
{
    EXPECT_EQ(ExitOf({}), -1);
    EXPECT_EQ(ExitOf({"--help"}), 0);
    EXPECT_EQ(ExitOf({"--record"}), 2);
    EXPECT_EQ(ExitOf({"-platform", "xcb"}), 2);
    EXPECT_EQ(ExitOf({"LoopEmulator.xml"}), 2);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^q9tester 2\\.5\\.0 \\(build [0-9a-f]{7}\\)$"))
                    .match(CProgramOptions::VersionText())
                    .hasMatch());
}

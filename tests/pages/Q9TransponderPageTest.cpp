#include <gtest/gtest.h>

#include <QPushButton>

#include "PageFields.h"
#include "Q9TransponderPage.h"
#include "RecordingTesterDevice.h"
#include "SimpleGraph.h"
#include "TesterLink.h"

namespace {
// A plausible reply, the fields the diagnostics fill and their texts for it.
const diagnostics_t kReply{4001, 0, 3.7, 80, 1234, 12.0, 25, 3, 14};
const std::initializer_list<const char*> kDiagnostics = {
    "noise", "version", "batteryVoltage", "batteryPercent", "batteryTime", "externalVoltage", "temperature"};
const char kReplyShown[] = "-97.0|3.14|3.7|80|1234|12.0|25";
const char kNoneShown[] = "||||||";
} // namespace

TEST(Q9TransponderPage, DiagnosticsShowOnlyPlausibleValuesAndFollowTheUnitUntilCleared)
{
    CQ9TransponderPage page;
    page.ShowDiagnostics(kReply);
    EXPECT_EQ(Text(page, "id"), "4001");
    EXPECT_EQ(Fields(page, kDiagnostics), kReplyShown);

    const struct {
        const char* field;
        void (*change)(diagnostics_t&);
        const char* shown;
    } cases[] = {
        {"batteryVoltage", [](diagnostics_t& d) { d.batteryVolts = 5.1; }, ""},
        {"batteryPercent", [](diagnostics_t& d) { d.batteryPercent = 120; }, ""},
        {"externalVoltage", [](diagnostics_t& d) { d.externalVolts = 1.9; }, "N.A."},
        {"externalVoltage", [](diagnostics_t& d) { d.externalVolts = 25.1; }, "N.A."},
        {"noise", [](diagnostics_t& d) { d.noiseRaw = 255; }, "7.1"},
        {"temperature", [](diagnostics_t& d) { d.temperatureC = 251; }, ""},
    };
    for (const auto& c : cases) {
        diagnostics_t changed = kReply;
        c.change(changed);
        page.ShowDiagnostics(changed);
        EXPECT_EQ(Text(page, c.field), QString::fromLatin1(c.shown)) << c.field << " expected " << c.shown;
    }

    page.ShowDiagnostics(kReply);
    page.SetCelsius(false);
    EXPECT_EQ(Text(page, "temperature"), "77");
    // Cleared diagnostics keep no temperature to show again.
    page.ClearDiagnostics();
    page.SetCelsius(true);
    EXPECT_EQ(Text(page, "temperature"), "");
}

TEST(Q9TransponderPage, DiagnosticsStayOnlyBesideReadingsOfTheirTransponder)
{
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "4001", 120);
    page.ShowDiagnostics(kReply);
    page.ShowTransponder(4002, "4002", 130);
    EXPECT_EQ(Fields(page, {"id", "rssi"}), "4002|130");
    EXPECT_EQ(Fields(page, kDiagnostics), kNoneShown);
    // Cleared diagnostics disable Request, but the reading enables it again.
    EXPECT_TRUE(Enabled(page, "request"));

    // Another transponder's reply never shows beside the next reading, short id or not.
    for (const char* idText : {"4002", "42"}) {
        page.ShowTransponder(4002, idText, 130);
        page.ShowDiagnostics(kReply);
        page.ShowTransponder(4002, idText, 131);
        EXPECT_EQ(Fields(page, kDiagnostics), kNoneShown) << idText;
    }

    // A reply naming by number the transponder shown by its short id is its own.
    page.ShowTransponder(4001, "42", 120);
    page.ShowDiagnostics(kReply);
    EXPECT_EQ(Text(page, "id"), "4001");
    page.ShowTransponder(4001, "42", 125);
    EXPECT_EQ(Text(page, "id"), "42");
    page.ShowTransponder(4001, "42", 126);
    EXPECT_EQ(Fields(page, kDiagnostics), kReplyShown);

    // The reply may also come while another transponder was read.
    page.ShowTransponder(4003, "43", 130);
    page.ShowDiagnostics(kReply);
    page.ShowTransponder(4001, "4001", 130);
    EXPECT_EQ(Fields(page, kDiagnostics), kReplyShown);
    EXPECT_TRUE(Enabled(page, "request"));
}

TEST(Q9TransponderPage, RequestMarksClearsAndAsksTheTester)
{
    CRecordingTesterDevice device;
    CTesterLink link(device, nullptr);
    link.Start();
    // Commands queued before the link has found its Tester are dropped.
    ASSERT_TRUE(device.WaitForWritten("t"));

    CQ9TransponderPage page;
    page.SetTesterLink(&link);
    EXPECT_FALSE(Enabled(page, "request"));
    page.ShowTransponder(4001, "4001", 120);
    page.ShowDiagnostics(kReply);
    ASSERT_TRUE(Enabled(page, "request"));

    page.findChild<QPushButton*>(QStringLiteral("request"))->click();
    EXPECT_EQ(page.Graph()->Value(119), CSimpleGraph::MarkerValue);
    EXPECT_FALSE(Enabled(page, "request"));
    EXPECT_EQ(Fields(page, {"id", "version"}), "4001|");
    EXPECT_TRUE(device.WaitForWritten("l1\n"));

    // A diagnostics reply alone does not enable Request; the next reading does.
    page.ShowDiagnostics(kReply);
    EXPECT_FALSE(Enabled(page, "request"));
    page.ShowTransponder(4001, "4001", 120);
    EXPECT_TRUE(Enabled(page, "request"));
    link.Stop();
    EXPECT_EQ(CountOccurrences(device.Written(), "l1\n"), 1);
}

TEST(Q9TransponderPage, GreysOutAfterSixSilentTicksAndBlanks150AfterTheLastNews)
{
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "4001", 120);
    page.ShowDiagnostics(kReply);
    Tick(page, 6);
    EXPECT_TRUE(Enabled(page, "id"));
    EXPECT_TRUE(Enabled(page, "request"));
    page.OnTimer();
    for (const char* field : {"id", "rssi", "request"})
        EXPECT_FALSE(Enabled(page, field)) << field;
    EXPECT_EQ(Fields(page, {"id", "version"}), "4001|3.14"); // the texts stay

    Tick(page, 143);
    EXPECT_EQ(Text(page, "id"), "4001");
    page.OnTimer();
    EXPECT_EQ(Fields(page, {"id", "rssi", "version"}), "||");
    EXPECT_TRUE(Enabled(page, "id"));
    EXPECT_FALSE(Enabled(page, "request"));

    // A diagnostics reply postpones the blanking.
    page.ShowTransponder(4001, "4001", 120);
    Tick(page, 100);
    page.ShowDiagnostics(kReply);
    Tick(page, 150);
    EXPECT_EQ(Text(page, "version"), "3.14");
    page.OnTimer();
    EXPECT_EQ(Text(page, "version"), "");
}

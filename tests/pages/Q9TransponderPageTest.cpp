#include <gtest/gtest.h>

#include <QPushButton>

#include "PageFields.h"
#include "Q9TransponderPage.h"
#include "RecordingTesterDevice.h"
#include "SimpleGraph.h"
#include "TesterLink.h"

namespace {
// A reply with plausible values; tests change one at a time.
struct Diagnostics : diagnostics_t {
    Diagnostics()
        : diagnostics_t{.number = 4001,
                        .noiseRaw = 0,
                        .batteryVolts = 3.7,
                        .batteryPercent = 80,
                        .remainingMinutes = 1234,
                        .externalVolts = 12.0,
                        .temperatureC = 25,
                        .firmwareMajor = 3,
                        .firmwareMinor = 14}
    {
    }
    void ShowOn(CQ9TransponderPage& page) const { page.ShowDiagnostics(*this); }
};
} // namespace

TEST(Q9TransponderPage, DiagnosticsShowOnlyPlausibleValues)
{
    CQ9TransponderPage page;
    Diagnostics reply;
    reply.ShowOn(page);
    EXPECT_EQ(Text(page, "id"), "4001");
    EXPECT_EQ(Text(page, "noise"), "-97.0");
    EXPECT_EQ(Text(page, "version"), "3.14");
    EXPECT_EQ(Text(page, "batteryVoltage"), "3.7");
    EXPECT_EQ(Text(page, "batteryPercent"), "80");
    EXPECT_EQ(Text(page, "batteryTime"), "1234");
    EXPECT_EQ(Text(page, "externalVoltage"), "12.0");
    EXPECT_EQ(Text(page, "temperature"), "25");

    struct Case {
        const char* field;
        void (*change)(Diagnostics&);
        const char* shown;
    };
    const Case cases[] = {
        {"batteryVoltage", [](Diagnostics& d) { d.batteryVolts = 5.0; }, "5.0"},
        {"batteryVoltage", [](Diagnostics& d) { d.batteryVolts = 5.1; }, ""},
        {"batteryPercent", [](Diagnostics& d) { d.batteryPercent = 100; }, "100"},
        {"batteryPercent", [](Diagnostics& d) { d.batteryPercent = 120; }, ""},
        {"externalVoltage", [](Diagnostics& d) { d.externalVolts = 1.9; }, "N.A."},
        {"externalVoltage", [](Diagnostics& d) { d.externalVolts = 25.0; }, "25.0"},
        {"externalVoltage", [](Diagnostics& d) { d.externalVolts = 25.1; }, "N.A."},
        {"noise", [](Diagnostics& d) { d.noiseRaw = 255; }, "7.1"},
        {"temperature", [](Diagnostics& d) { d.temperatureC = 251; }, ""},
    };
    for (const Case& c : cases) {
        Diagnostics changed;
        c.change(changed);
        changed.ShowOn(page);
        EXPECT_EQ(Text(page, c.field), QString::fromLatin1(c.shown)) << c.field << " expected " << c.shown;
    }
}

TEST(Q9TransponderPage, TemperatureFollowsTheUnitUntilTheDiagnosticsAreCleared)
{
    CQ9TransponderPage page;
    Diagnostics reply;
    reply.ShowOn(page);
    page.SetCelsius(false);
    EXPECT_EQ(Text(page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(page, "temperature"), "77");

    // Cleared diagnostics keep no temperature to show again.
    page.ClearDiagnostics();
    page.SetCelsius(true);
    EXPECT_EQ(Text(page, "temperature"), "");
}

TEST(Q9TransponderPage, AnotherTransponderClearsTheDiagnostics)
{
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "4001", 120);
    Diagnostics reply;
    reply.ShowOn(page);
    page.ShowTransponder(4002, "4002", 130);
    EXPECT_EQ(Text(page, "id"), "4002");
    EXPECT_EQ(Text(page, "rssi"), "130");
    for (const char* field : {"noise", "temperature", "version", "batteryVoltage", "batteryTime",
                              "externalVoltage", "batteryPercent"})
        EXPECT_EQ(Text(page, field), "") << field;
    // Cleared diagnostics disable Request, but the reading enables it again.
    EXPECT_TRUE(Enabled(page, "request"));

    // A reply of another transponder than the one read: the next reading of
    // the one read never shows the other's values beside it, short id or not.
    for (const char* idText : {"4002", "42"}) {
        page.ShowTransponder(4002, idText, 130);
        reply.ShowOn(page);
        page.ShowTransponder(4002, idText, 131);
        EXPECT_EQ(Text(page, "version"), "") << idText;
    }
}

TEST(Q9TransponderPage, ReadingsOfTheRepliedTransponderKeepItsDiagnostics)
{
    // A transponder the server knows is shown by its short id; its reply
    // names it by number. Its readings are still the same transponder.
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "42", 120);
    Diagnostics reply;
    reply.ShowOn(page);
    EXPECT_EQ(Text(page, "id"), "4001");
    page.ShowTransponder(4001, "42", 125);
    EXPECT_EQ(Text(page, "id"), "42");
    page.ShowTransponder(4001, "42", 126);
    EXPECT_EQ(Text(page, "version"), "3.14");

    // The reply may also come while another transponder was read.
    page.ShowTransponder(4003, "43", 130);
    reply.ShowOn(page);
    page.ShowTransponder(4001, "4001", 130);
    EXPECT_EQ(Text(page, "version"), "3.14");
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
    Diagnostics reply;
    reply.ShowOn(page);
    ASSERT_TRUE(Enabled(page, "request"));

    page.findChild<QPushButton*>(QStringLiteral("request"))->click();
    EXPECT_EQ(page.Graph()->Value(119), CSimpleGraph::MarkerValue);
    EXPECT_FALSE(Enabled(page, "request"));
    EXPECT_EQ(Text(page, "version"), "");
    EXPECT_EQ(Text(page, "id"), "4001");
    EXPECT_TRUE(device.WaitForWritten("l1\n"));

    // A diagnostics reply alone does not enable Request; the next reading does.
    reply.ShowOn(page);
    EXPECT_FALSE(Enabled(page, "request"));
    page.ShowTransponder(4001, "4001", 120);
    EXPECT_TRUE(Enabled(page, "request"));
    link.Stop();
    EXPECT_EQ(CountOccurrences(device.Written(), "l1\n"), 1);
}

TEST(Q9TransponderPage, GreysOutAfterSixSilentTicksAndBlanksAfter150)
{
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "4001", 120);
    Diagnostics reply;
    reply.ShowOn(page);
    for (int tick = 1; tick <= 6; ++tick)
        page.OnTimer();
    EXPECT_TRUE(Enabled(page, "id"));
    EXPECT_TRUE(Enabled(page, "request"));
    page.OnTimer();
    EXPECT_FALSE(Enabled(page, "id"));
    EXPECT_FALSE(Enabled(page, "rssi"));
    EXPECT_FALSE(Enabled(page, "request"));
    EXPECT_EQ(Text(page, "id"), "4001"); // the texts stay
    EXPECT_EQ(Text(page, "version"), "3.14");

    for (int tick = 8; tick <= 150; ++tick)
        page.OnTimer();
    EXPECT_EQ(Text(page, "id"), "4001");
    page.OnTimer();
    EXPECT_EQ(Text(page, "id"), "");
    EXPECT_EQ(Text(page, "rssi"), "");
    EXPECT_EQ(Text(page, "version"), "");
    EXPECT_TRUE(Enabled(page, "id"));
    EXPECT_FALSE(Enabled(page, "request"));

    // The reading was plotted on the first tick only.
    EXPECT_EQ(page.Graph()->Value(119), 0u);
}

TEST(Q9TransponderPage, ADiagnosticsReplyPostponesTheBlanking)
{
    CQ9TransponderPage page;
    page.ShowTransponder(4001, "4001", 120);
    for (int tick = 1; tick <= 100; ++tick)
        page.OnTimer();
    Diagnostics reply;
    reply.ShowOn(page);
    for (int tick = 1; tick <= 150; ++tick)
        page.OnTimer();
    EXPECT_EQ(Text(page, "version"), "3.14");
    page.OnTimer();
    EXPECT_EQ(Text(page, "version"), "");
}

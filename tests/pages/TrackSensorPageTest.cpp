#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "AppSettings.h"
#include "RecordingTesterDevice.h"
#include "TesterLink.h"
#include "TrackSensorPage.h"

namespace {
QString Text(const QWidget& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

QPushButton* Button(const QWidget& page)
{
    return page.findChild<QPushButton*>(QStringLiteral("startStop"));
}

// The button's text and whether it can be pressed: what tells the states apart.
void ExpectButton(const QWidget& page, const char* text, bool enabled)
{
    EXPECT_EQ(Button(page)->text(), QString::fromLatin1(text));
    EXPECT_EQ(Button(page)->isEnabled(), enabled);
}

void ExpectFieldsEmpty(const QWidget& page)
{
    for (const char* field : {"id", "rssi", "temperature"})
        EXPECT_EQ(Text(page, field), "") << field;
}

const char kToggle[] = "a";

class TrackSensorPageTest : public testing::Test {
  protected:
    void SetUp() override
    {
        link.Start();
        // Commands queued before the link has found its Tester are dropped.
        ASSERT_TRUE(device.WaitForWritten("t"));
        page = std::make_unique<CTrackSensorPage>();
        page->SetTesterLink(&link);
        page->SetSettings(&settings);
    }
    void TearDown() override
    {
        page.reset();
        link.Stop();
    }

    AppSettings settings;
    CRecordingTesterDevice device;
    CTesterLink link{device, nullptr};
    std::unique_ptr<CTrackSensorPage> page;
};
} // namespace

TEST_F(TrackSensorPageTest, WalksThroughItsStates)
{
    // Idle after initialisation.
    ExpectButton(*page, "Start listening", true);
    EXPECT_FALSE(page->IsListening());
    EXPECT_EQ(Text(*page, "note"),
              "A Tracksensor sends out it's signal only once a minute,\n"
              "this means it can take a while before a Tracksensor is detected.\n\n"
              "When listening for Tracksensors the Tester will NOT communicate with other devices or collect "
              "other data.");

    page->SetTesterConnected(false); // Disconnected
    ExpectButton(*page, "Start listening", false);
    page->SetTesterConnected(true); // Idle
    ExpectButton(*page, "Start listening", true);

    Button(*page)->click(); // Starting
    ExpectButton(*page, "Start listening", false);
    EXPECT_FALSE(page->IsListening());
    EXPECT_TRUE(device.WaitForWritten(kToggle, 1));

    page->SetListening(true); // Listening
    ExpectButton(*page, "Stop listening", true);
    EXPECT_TRUE(page->IsListening());
    page->ShowTrackSensor("ZEVU-34567", 88, 21.5);
    EXPECT_EQ(Text(*page, "id"), "ZEVU-34567");
    EXPECT_EQ(Text(*page, "rssi"), "88");
    EXPECT_EQ(Text(*page, "temperature"), "21.5");

    Button(*page)->click(); // Stopping
    ExpectButton(*page, "Stop listening", false);
    ExpectFieldsEmpty(*page);
    EXPECT_TRUE(page->IsListening());
    EXPECT_TRUE(device.WaitForWritten(kToggle, 2));

    page->SetListening(false); // Idle
    ExpectButton(*page, "Start listening", true);
    EXPECT_FALSE(page->IsListening());

    // A disconnect from Listening returns to Disconnected without a command.
    page->SetListening(true);
    page->ShowTrackSensor("ZEVU-34567", 88, 21.5);
    page->SetTesterConnected(false);
    ExpectButton(*page, "Start listening", false);
    ExpectFieldsEmpty(*page);
    EXPECT_FALSE(page->IsListening());
    page->SetTesterConnected(true);
    ExpectButton(*page, "Start listening", true);
    link.Stop();
    EXPECT_EQ(CountOccurrences(device.Written(), kToggle), 2);
}

TEST_F(TrackSensorPageTest, ProgressMovesOnlyWhileListeningStopsFullAndRestartsPerSession)
{
    auto* bar = page->findChild<QProgressBar*>(QStringLiteral("progress"));
    ASSERT_NE(bar, nullptr);
    page->StepProgress();
    EXPECT_EQ(bar->value(), 0);
    page->SetListening(true);
    for (int poll = 0; poll < 150; ++poll)
        page->StepProgress();
    EXPECT_EQ(bar->value(), 100);
    // Stopping leaves it where it stood; the next session starts it empty.
    page->SetListening(false);
    EXPECT_EQ(bar->value(), 100);
    page->SetListening(true);
    EXPECT_EQ(bar->value(), 0);
    page->StepProgress();
    page->SetListening(true); // a repeated confirmation is no new session
    EXPECT_EQ(bar->value(), 1);
}

TEST_F(TrackSensorPageTest, TemperatureHasOneDecimalAndFollowsTheUnit)
{
    page->SetListening(true);
    page->ShowTrackSensor("ZEVU-1", 50, 100.0);
    EXPECT_EQ(Text(*page, "temperature"), "100.0");
    page->ShowTrackSensor("ZEVU-1", 50, 100.1);
    EXPECT_EQ(Text(*page, "temperature"), "");
    page->ShowTrackSensor("ZEVU-1", 50, -20.0);
    EXPECT_EQ(Text(*page, "temperature"), "-20.0");

    settings.unitCelsius = 0;
    page->ApplyTemperatureUnit();
    EXPECT_EQ(Text(*page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(*page, "temperature"), "-4.0");
    page->ShowTrackSensor("ZEVU-1", 50, 21.5);
    EXPECT_EQ(Text(*page, "temperature"), "70.7");

    // Once the fields were cleared, a change of unit shows no temperature
    // without its sensor.
    page->SetListening(false);
    settings.unitCelsius = 1;
    page->ApplyTemperatureUnit();
    EXPECT_EQ(Text(*page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0C):"));
    ExpectFieldsEmpty(*page);
}

TEST_F(TrackSensorPageTest, LeavingWhileListeningStopsTheTester)
{
    page->SetListening(true);
    page.reset();
    EXPECT_TRUE(device.WaitForWritten(kToggle, 1));

    // A page that is not listening sends nothing when it goes.
    auto idle = std::make_unique<CTrackSensorPage>();
    idle->SetTesterLink(&link);
    idle.reset();
    link.Stop();
    EXPECT_EQ(CountOccurrences(device.Written(), kToggle), 1);
}

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "PageFields.h"
#include "RecordingTesterDevice.h"
#include "TesterLink.h"
#include "TrackSensorPage.h"

namespace {
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

const FieldTexts kEmpty = {{"id", ""}, {"rssi", ""}, {"temperature", ""}};

const char kToggle[] = "a";

class TrackSensorPageTest : public testing::Test {
  protected:
    void SetUp() override
    {
        m_link.Start();
        // Commands queued before the link has found its Tester are dropped.
        ASSERT_TRUE(m_device.WaitForWritten("t"));
        m_page = std::make_unique<CTrackSensorPage>();
        m_page->SetTesterLink(&m_link);
    }
    void TearDown() override
    {
        m_page.reset();
        m_link.Stop();
    }

    CRecordingTesterDevice m_device;
    CTesterLink m_link{m_device, nullptr};
    std::unique_ptr<CTrackSensorPage> m_page;
};
} // namespace

TEST_F(TrackSensorPageTest, WalksThroughItsStatesShowingSensorsWhileListening)
{
    // Idle after initialisation.
    ExpectButton(*m_page, "Start listening", true);
    EXPECT_FALSE(m_page->IsListening());
    EXPECT_EQ(Text(*m_page, "note"),
              "A Tracksensor sends out it's signal only once a minute,\n"
              "this means it can take a while before a Tracksensor is detected.\n\n"
              "When listening for Tracksensors the Tester will NOT communicate with other devices or collect "
              "other data.");

    m_page->SetTesterConnected(false); // Disconnected
    ExpectButton(*m_page, "Start listening", false);
    m_page->SetTesterConnected(true); // Idle
    ExpectButton(*m_page, "Start listening", true);

    Button(*m_page)->click(); // Starting
    ExpectButton(*m_page, "Start listening", false);
    EXPECT_FALSE(m_page->IsListening());
    EXPECT_TRUE(m_device.WaitForWritten(kToggle, 1));

    m_page->SetListening(true); // Listening
    ExpectButton(*m_page, "Stop listening", true);
    EXPECT_TRUE(m_page->IsListening());
    m_page->ShowTrackSensor("ZEVU-34567", 88, -20.0);
    ExpectFields(*m_page, {{"id", "ZEVU-34567"}, {"rssi", "88"}, {"temperature", "-20.0"}});
    m_page->SetCelsius(false);
    EXPECT_EQ(Text(*m_page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(*m_page, "temperature"), "-4.0");

    Button(*m_page)->click(); // Stopping
    ExpectButton(*m_page, "Stop listening", false);
    ExpectFields(*m_page, kEmpty);
    // Cleared fields stay empty when the unit changes.
    m_page->SetCelsius(true);
    EXPECT_EQ(Text(*m_page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0C):"));
    ExpectFields(*m_page, kEmpty);
    EXPECT_TRUE(m_page->IsListening());
    EXPECT_TRUE(m_device.WaitForWritten(kToggle, 2));

    m_page->SetListening(false); // Idle
    ExpectButton(*m_page, "Start listening", true);
    EXPECT_FALSE(m_page->IsListening());

    // A disconnect from Listening returns to Disconnected without a command.
    m_page->SetListening(true);
    m_page->ShowTrackSensor("ZEVU-34567", 88, 21.5);
    m_page->SetTesterConnected(false);
    ExpectButton(*m_page, "Start listening", false);
    ExpectFields(*m_page, kEmpty);
    EXPECT_FALSE(m_page->IsListening());
    m_page->SetTesterConnected(true);
    ExpectButton(*m_page, "Start listening", true);
    m_link.Stop();
    EXPECT_EQ(CountOccurrences(m_device.Written(), kToggle), 2);
}

TEST_F(TrackSensorPageTest, ProgressMovesOnlyWhileListeningStopsFullAndRestartsPerSession)
{
    auto* bar = m_page->findChild<QProgressBar*>(QStringLiteral("progress"));
    ASSERT_NE(bar, nullptr);
    m_page->StepProgress();
    EXPECT_EQ(bar->value(), 0);
    m_page->SetListening(true);
    for (int poll = 0; poll < 150; ++poll)
        m_page->StepProgress();
    EXPECT_EQ(bar->value(), 100);
    // Stopping leaves it where it stood; the next session starts it empty.
    m_page->SetListening(false);
    EXPECT_EQ(bar->value(), 100);
    m_page->SetListening(true);
    EXPECT_EQ(bar->value(), 0);
    m_page->StepProgress();
    m_page->SetListening(true); // a repeated confirmation is no new session
    EXPECT_EQ(bar->value(), 1);
}

TEST_F(TrackSensorPageTest, LeavingWhileListeningStopsTheTester)
{
    m_page->SetListening(true);
    m_page.reset();
    EXPECT_TRUE(m_device.WaitForWritten(kToggle, 1));

    // A page that is not listening sends nothing when it goes.
    auto idle = std::make_unique<CTrackSensorPage>();
    idle->SetTesterLink(&m_link);
    idle.reset();
    m_link.Stop();
    EXPECT_EQ(CountOccurrences(m_device.Written(), kToggle), 1);
}

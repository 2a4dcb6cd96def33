#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "PageFields.h"
#include "RecordingTesterDevice.h"
#include "TesterLink.h"
#include "TrackSensorPage.h"

namespace {
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

    QPushButton* Button() const { return m_page->findChild<QPushButton*>(QStringLiteral("startStop")); }
    // The button's text, whether it can be pressed, whether the page listens; the sensor's fields.
    std::string State() const
    {
        return Button()->text().toStdString() + (Button()->isEnabled() ? "" : " (disabled)") +
               (m_page->IsListening() ? ", listening: " : ": ") +
               Fields(*m_page, {"id", "rssi", "temperature"});
    }

    CRecordingTesterDevice m_device;
    CTesterLink m_link{m_device, nullptr};
    std::unique_ptr<CTrackSensorPage> m_page;
};
} // namespace

TEST_F(TrackSensorPageTest, WalksThroughItsStatesShowingSensorsWhileListening)
{
    EXPECT_EQ(State(), "Start listening: ||");
    EXPECT_EQ(Text(*m_page, "note"),
              "A Tracksensor sends out it's signal only once a minute,\n"
              "this means it can take a while before a Tracksensor is detected.\n\n"
              "When listening for Tracksensors the Tester will NOT communicate with other devices or collect "
              "other data.");

    Button()->click();
    EXPECT_EQ(State(), "Start listening (disabled): ||"); // starting
    EXPECT_TRUE(m_device.WaitForWritten(kToggle, 1));
    m_page->SetListening(true);
    m_page->ShowTrackSensor("ZEVU-34567", 88, -20.0);
    EXPECT_EQ(State(), "Stop listening, listening: ZEVU-34567|88|-20.0");
    m_page->SetCelsius(false);
    EXPECT_EQ(Text(*m_page, "temperatureLabel"), QStringLiteral("Temperature (\u00B0F):"));
    EXPECT_EQ(Text(*m_page, "temperature"), "-4.0");

    Button()->click();
    EXPECT_EQ(State(), "Stop listening (disabled), listening: ||"); // stopping
    // Cleared fields stay empty when the unit changes.
    m_page->SetCelsius(true);
    EXPECT_EQ(State(), "Stop listening (disabled), listening: ||");
    EXPECT_TRUE(m_device.WaitForWritten(kToggle, 2));
    m_page->SetListening(false);
    EXPECT_EQ(State(), "Start listening: ||");

    // A disconnect while listening ends it without a command.
    m_page->SetListening(true);
    m_page->ShowTrackSensor("ZEVU-34567", 88, 21.5);
    m_page->SetTesterConnected(false);
    EXPECT_EQ(State(), "Start listening (disabled): ||");
    m_page->SetTesterConnected(true);
    EXPECT_EQ(State(), "Start listening: ||");
    m_link.Stop();
    EXPECT_EQ(CountOccurrences(m_device.Written(), kToggle), 2);
}

TEST_F(TrackSensorPageTest, ProgressMovesOnlyWhileListeningStopsFullAndRestartsPerSession)
{
    auto* bar = m_page->findChild<QProgressBar*>(QStringLiteral("progress"));
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

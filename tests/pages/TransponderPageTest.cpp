#include <gtest/gtest.h>

#include "PageFields.h"
#include "SimpleGraph.h"
#include "TransponderPage.h"

TEST(TransponderPage, HoldsAReadingForThreeTicksAndBlanksOnTheFourth)
{
    CTransponderPage page;
    page.ShowTransponder("1234567 (12)", 200, 0, true);
    for (int tick = 1; tick <= 3; ++tick) {
        page.OnTimer();
        EXPECT_EQ(Text(page, "id"), "1234567 (12)") << tick;
        EXPECT_EQ(Text(page, "rssi"), "200");
        EXPECT_EQ(Text(page, "type"), "Korvo");
        EXPECT_EQ(Text(page, "lowBattery"), "Low battery");
    }
    page.OnTimer();
    for (const char* field : {"id", "rssi", "type", "lowBattery"})
        EXPECT_EQ(Text(page, field), "") << field;
    // The reading was plotted once, then zeroes (gaps).
    EXPECT_EQ(page.Graph()->Value(116), 200u);
    EXPECT_EQ(page.Graph()->Value(119), 0u);

    // A new reading shows at once and is held afresh.
    page.ShowTransponder("7", 10, 3, false);
    page.OnTimer();
    page.OnTimer();
    page.OnTimer();
    EXPECT_EQ(Text(page, "id"), "7");
}

TEST(TransponderPage, ShowsEachReadingButPlotsTheLastOfATick)
{
    CTransponderPage page;
    page.ShowTransponder("1", 300, 1, true);
    page.ShowTransponder("CC-12345", 40, 3, false);
    EXPECT_EQ(Text(page, "id"), "CC-12345");
    EXPECT_EQ(Text(page, "type"), "Mindlet");
    EXPECT_EQ(Text(page, "lowBattery"), "");
    page.OnTimer();
    EXPECT_EQ(page.Graph()->Value(119), 40u);
    // An index outside the table shows no type rather than reading past it.
    page.ShowTransponder("1", 300, 9, false);
    EXPECT_EQ(Text(page, "type"), "");
}

TEST(TransponderPage, GraphFillsThePageBelowTheValueRow)
{
    CTransponderPage page;
    EXPECT_TRUE(page.Graph()->gapMode);
    page.show();
    page.resize(800, 400);
    const QLabel* id = page.findChild<QLabel*>(QStringLiteral("id"));
    const int bottom = id->geometry().y() + id->height();
    EXPECT_EQ(page.Graph()->geometry(), QRect(11, bottom + 11, 800 - 22, 400 - bottom - 22));
}

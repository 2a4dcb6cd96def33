#include <gtest/gtest.h>

#include <QRegularExpression>

#include "AboutPage.h"
#include "PageFields.h"

TEST(AboutPage, ShowsVersionBuildAndFirmware)
{
    CAboutPage page;
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{7}$")).match(CAboutPage::BuildId()).hasMatch());
    EXPECT_EQ(Text(page, "version"), QStringLiteral("2.5.0 (build %1)").arg(CAboutPage::BuildId()));
    EXPECT_EQ(Text(page, "firmware"), "Firmware version: --");

    page.SetFirmwareVersion(true, 2, 3);
    EXPECT_EQ(Text(page, "firmware"), "Firmware version: 2.3");
    page.SetFirmwareVersion(false, 2, 3);
    EXPECT_EQ(Text(page, "firmware"), "Firmware version prior to 2.2");
}

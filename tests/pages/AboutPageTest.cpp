#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>

#include "AboutLogo.h"
#include "AboutPage.h"

namespace {
QString Text(const QWidget& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}
} // namespace

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
    page.SetFirmwareVersion(true, -1, 12);
    EXPECT_EQ(Text(page, "firmware"), "Firmware version: -1.12");
}

TEST(AboutPage, LogoIsTheSizeOfItsFrame)
{
    const QPixmap logo = DrawAboutLogo();
    EXPECT_EQ(logo.size(), QSize(251, 68));
    const QImage image = logo.toImage();
    // Drawn, not blank: the flag's white and dark squares are both there.
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(12 + 12, 12), QColor(20, 20, 20));
}

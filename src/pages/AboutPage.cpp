#include "AboutPage.h"

#include <QLabel>

#include "AboutLogo.h"
#include "BuildId.h"
#include "PageBuilder.h"

CAboutPage::CAboutPage(QWidget* parent) : QWidget(parent)
{
    setFont(CDialogUnits::DialogFont());
    CPageBuilder builder(this);
    resize(builder.Rect(0, 0, 432, 165).size());

    auto* logo = builder.PlainField(131, 42, 169, 43);
    logo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(DrawAboutLogo());
    logo->setObjectName(QStringLiteral("logo"));

    auto* notice = builder.Caption(tr("Sports timing equipment by TAMRIX"), 131, 91, 169);
    auto* name = builder.Caption(QStringLiteral("Q9 Tester"), 131, 103, 169);
    versionLine = builder.Caption(QString(), 131, 114, 169);
    firmwareLine = builder.Caption(QString(), 131, 124, 169);
    for (QLabel* line : {notice, name, versionLine, firmwareLine})
        line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    versionLine->setObjectName(QStringLiteral("version"));
    firmwareLine->setObjectName(QStringLiteral("firmware"));

    versionLine->setText(QStringLiteral("%1 (build %2)").arg(QLatin1String(kVersion), BuildId()));
    firmwareLine->setText(QStringLiteral("Firmware version: --"));
}

void CAboutPage::SetFirmwareVersion(bool known, int major, int minor)
{
    if (known)
        firmwareLine->setText(QStringLiteral("Firmware version: %1.%2").arg(major).arg(minor));
    else
        firmwareLine->setText(QStringLiteral("Firmware version prior to 2.2"));
}

QString CAboutPage::BuildId()
{
    return QLatin1String(kBuildId);
}

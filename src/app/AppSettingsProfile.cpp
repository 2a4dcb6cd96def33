#include "AppSettingsProfile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include "AppSettings.h"
#include "TextCodec.h"

namespace {

const char kOrganisation[] = "TAMRIX Derida Vovivu";

QString ProgramBaseName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QSettings OpenProfile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kOrganisation),
                     ProgramBaseName());
}

int ReadInt(const QSettings& profile, const char* key, int current)
{
    bool ok = false;
    const int value = profile.value(QString::fromLatin1(key), current).toInt(&ok);
    return ok ? value : current;
}

} // namespace

void ReadAppSettings(AppSettings& settings)
{
    QSettings profile = OpenProfile();
    profile.beginGroup(QStringLiteral("Settings"));
    settings.unitCelsius = ReadInt(profile, "UnitCelsius", settings.unitCelsius);
    settings.showLog = ReadInt(profile, "ShowLog", settings.showLog);
    profile.endGroup();
    profile.beginGroup(QStringLiteral("Connect"));
    settings.host = ToWindows1252(profile.value(QStringLiteral("Host"), QString()).toString());
    settings.login = ToWindows1252(profile.value(QStringLiteral("Login"), QString()).toString());
    profile.endGroup();
}

void WriteAppSettings(const AppSettings& settings)
{
    QSettings profile = OpenProfile();
    profile.beginGroup(QStringLiteral("Settings"));
    profile.setValue(QStringLiteral("UnitCelsius"), settings.unitCelsius);
    profile.setValue(QStringLiteral("ShowLog"), settings.showLog);
    profile.endGroup();
    profile.beginGroup(QStringLiteral("Connect"));
    profile.setValue(QStringLiteral("Host"), FromWindows1252(settings.host));
    profile.setValue(QStringLiteral("Login"), FromWindows1252(settings.login));
    profile.endGroup();
    profile.sync();
}

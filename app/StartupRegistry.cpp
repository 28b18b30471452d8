#include "app/StartupRegistry.h"

#include <QSettings>

QString AppSettingsKey()
{
    return QStringLiteral("ZuDidiri");
}

bool WriteDecoderRegistryValues()
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("GNU"), QStringLiteral("ffdshow"));
    s.setValue(QStringLiteral("multipleInstances"), 0);
    s.setValue(QStringLiteral("isWhitelist"), 0);
    s.setValue(QStringLiteral("h264"), 1);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool WriteMachineRegistryValues()
{
    QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("Wexlor"));
    if (!s.isWritable())
        return false;
    s.setValue(QStringLiteral("usingDShow"), 1);
    s.sync();
    return s.status() == QSettings::NoError;
}

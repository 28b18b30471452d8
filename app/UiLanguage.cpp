#include "app/UiLanguage.h"

#include "base/LogCategories.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

UiLanguage::Language UiLanguage::Choose(const QString& override, const QLocale& locale)
{
    const QString wanted = override.trimmed().toLower();
    if (wanted == QLatin1String("ko"))
        return Language::Korean;
    if (wanted == QLatin1String("en"))
        return Language::English;
    if (!wanted.isEmpty())
        qCWarning(vxApp) << "HALCYON_LANG is ko or en, not" << override << "- following the locale";
    return locale.language() == QLocale::Korean ? Language::Korean : Language::English;
}

bool UiLanguage::Install(Language language, QCoreApplication* app)
{
    const QString qtTranslations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* qtOwn = new QTranslator(app);
    if (qtOwn->load(language == Language::Korean ? QStringLiteral("qtbase_ko") : QStringLiteral("qtbase_en"),
                    qtTranslations))
        QCoreApplication::installTranslator(qtOwn);
    else
        delete qtOwn;
    if (language == Language::Korean)
        return true;
    auto* ours = new QTranslator(app);
    if (!ours->load(QStringLiteral(":/i18n/halcyon_en.qm"))) {
        qCWarning(vxApp) << "the English translation is missing; the interface stays Korean";
        delete ours;
        return false;
    }
    QCoreApplication::installTranslator(ours);
    return true;
}

UiLanguage::Language UiLanguage::InstallFromEnvironment(QCoreApplication* app)
{
    const Language language = Choose(qEnvironmentVariable("HALCYON_LANG"), QLocale::system());
    Install(language, app);
    return language;
}

#pragma once
// The language of the interface. The texts in the code are Korean, the
// camera's own language; English comes from a translation loaded at start-up.
#include <QLocale>
#include <QString>

class QCoreApplication;

class UiLanguage {
public:
    enum class Language { Korean, English };

    // override is HALCYON_LANG ("ko" or "en"); anything else leaves the choice
    // to the locale: Korean for a Korean locale, English for every other.
    static Language Choose(const QString& override, const QLocale& locale);
    // Installs the translations for language on app: ours for English, and
    // Qt's own (standard buttons, file dialogs) for either. Returns false when
    // our English translation is missing, which leaves the interface Korean.
    static bool Install(Language language, QCoreApplication* app);
    // Choose from the environment and the system locale, then Install.
    static Language InstallFromEnvironment(QCoreApplication* app);
};

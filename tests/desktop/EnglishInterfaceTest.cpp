#include "app/UiLanguage.h"
#include "library/IncidentExportFlow.h"
#include "library/RecordingFileOps.h"
#include "ops/OpsTestDoubles.h"

#include <QApplication>
#include <QtTest>

class EnglishInterfaceTest : public QObject {
    Q_OBJECT
private slots:
    void languageFollowsOverrideThenLocale_data()
    {
        QTest::addColumn<QString>("override");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("korean");
        QTest::newRow("Korean locale") << QString() << "ko_KR" << true;
        QTest::newRow("English locale") << QString() << "en_US" << false;
        QTest::newRow("C locale") << QString() << "C" << false;
        QTest::newRow("German locale") << QString() << "de_DE" << false;
        QTest::newRow("override en") << "en" << "ko_KR" << false;
        QTest::newRow("override ko") << "ko" << "en_GB" << true;
        QTest::newRow("override upper case") << " EN " << "ko_KR" << false;
        QTest::newRow("unknown override") << "fr" << "ko_KR" << true;
    }
    void languageFollowsOverrideThenLocale()
    {
        QFETCH(QString, override);
        QFETCH(QString, locale);
        QFETCH(bool, korean);
        QCOMPARE(UiLanguage::Choose(override, QLocale(locale)) == UiLanguage::Language::Korean, korean);
    }

    void englishMessageBox()
    {
        QVERIFY(UiLanguage::Install(UiLanguage::Language::English, qApp));
        FakeRows rows;
        rows.rows.push_back({QStringLiteral("a.mp4"), QStringLiteral("/nowhere/a.mp4"), true});
        ScriptedPrompt prompt;
        prompt.answer = false;
        RecordingFileOps::DeleteTickedRecordings(rows, prompt, [](int, const QString&) {});
        QCOMPARE(prompt.questions, QStringList{QStringLiteral("Delete recordings!|Do you want to delete the selected files?")});
    }

    void englishIncidentExportTexts()
    {
        QVERIFY(UiLanguage::Install(UiLanguage::Language::English, qApp));
        QCOMPARE(IncidentExportFlow::Caption(), QStringLiteral("Export incident clip"));
        IncidentExportChoice reversed{9000, 5000, ClipLayout::SideBySide, QStringLiteral("/tmp/clip.mp4")};
        QCOMPARE(IncidentExportFlow::Check(reversed, QStringLiteral("/card/rec.mp4"), 60000),
                 QStringLiteral("The end must come after the start."));
    }
};

QTEST_MAIN(EnglishInterfaceTest)
#include "EnglishInterfaceTest.moc"

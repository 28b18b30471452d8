#include "app/CVxMainFrame.h"
#include "app/ViewerCore.h"
#include "app/UiLanguage.h"
#include "base/UiText.h"
#include "config/CPage1.h"
#include "config/CPage3.h"
#include "config/PartitionShareTable.h"
#include "display/MapOverlayText.h"
#include "recovery/RecoveryOffer.h"
#include "fakes/FakeDriveProvider.h"
#include "fakes/FakePlaybackEngine.h"
#include "fakes/FakePrompt.h"
#include "skin/CVxButton.h"
#include "incident/IncidentExportDialogs.h"
#include "incident/IncidentExportFlow.h"
#include "card/RecordingFileOps.h"
#include "card/OpsTestDoubles.h"

#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
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

    // Texts of the settings sheet, the map pop-up and the recovery offer, read
    // the way their windows read them, after englishMessageBox.
    void englishFeatureTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("english");
        QTest::newRow("sheet tab") << CPage1::Title() << "Recording";
        QTest::newRow("memory tab") << CPage3::Title() << "Memory";
        QTest::newRow("memory legend") << PartitionShareTable::Label(1) << "Event";
        QTest::newRow("map position") << MapOverlayText::PositionText(37.5665, 126.978) << "Lat:37.566500  Lon:126.978000";
        QTest::newRow("recovery failed") << UiText("RecoveryOffer", RecoveryOffer::kFailed)
                                         << "The recording could not be recovered.";
    }
    void englishFeatureTexts()
    {
        QFETCH(QString, text);
        QFETCH(QString, english);
        QCOMPARE(text, english);
    }

    void englishIncidentExportTexts()
    {
        QVERIFY(UiLanguage::Install(UiLanguage::Language::English, qApp));
        QCOMPARE(IncidentExportFlow::Caption(), QStringLiteral("Export incident clip"));
        IncidentExportChoice reversed{9000, 5000, ClipLayout::SideBySide, QStringLiteral("/tmp/clip.mp4")};
        QCOMPARE(IncidentExportFlow::Check(reversed, QStringLiteral("/card/rec.mp4"), 60000),
                 QStringLiteral("The end must come after the start."));

        // The range reads as an English sentence: words and fields in its order.
        ScriptedDialogs files;
        std::unique_ptr<QDialog> dialog(IncidentExportDialogs::MakeChoiceDialog(
            nullptr, files, IncidentExportChoice{0, 12700, ClipLayout::SideBySide, QStringLiteral("/tmp/c.mp4")}, 60000));
        auto* form = dialog->findChild<QFormLayout*>();
        QVERIFY(form);
        QLayout* range = form->itemAt(0, QFormLayout::FieldRole)->layout();
        QVERIFY(range);
        QStringList read;
        for (int i = 0; i < range->count(); ++i) {
            if (auto* label = qobject_cast<QLabel*>(range->itemAt(i)->widget()))
                read << label->text();
            else if (auto* box = qobject_cast<QDoubleSpinBox*>(range->itemAt(i)->widget()))
                read << QLatin1Char('[') + box->text() + QLatin1Char(']');
        }
        QCOMPARE(read.join(QLatin1Char(' ')), QStringLiteral("from [0.0 s] to [12.7 s]"));
        QCOMPARE(qobject_cast<QLabel*>(form->itemAt(0, QFormLayout::LabelRole)->widget())->text(),
                 QStringLiteral("Range"));
    }

    // Runs after englishMessageBox has installed the English translation.
    void englishMainWindow()
    {
        QTemporaryDir settings;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.filePath(QStringLiteral("user")));
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, settings.filePath(QStringLiteral("system")));
        FakePrompt prompt;
        MainFrameServices services;
        services.prompt = &prompt;
        services.checkMediaComponents = [] { return -1; };
        ViewerCore core({std::make_unique<FakePlaybackEngine>(), std::make_unique<FakeDriveProvider>(), nullptr});
        CVxMainFrame frame(core, std::move(services));
        QVERIFY(frame.LoadFrame());
        QCOMPARE(frame.skinButton(0)->toolTip(), QStringLiteral("Open files"));
        QCOMPARE(frame.skinButton(18)->caption(), QStringLiteral("Map"));
        QCOMPARE(frame.categoryButton(1)->caption(), QStringLiteral("Normal"));
        // The start-up message box of a missing source filter.
        QCOMPARE(prompt.texts, QStringList{QStringLiteral("The source filter is not installed.")});
    }
};

QTEST_MAIN(EnglishInterfaceTest)
#include "EnglishInterfaceTest.moc"

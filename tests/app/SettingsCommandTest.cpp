// The settings command around the sheet: pause and resume, the commit to the
// card and what the viewer then shows, the card going away, a failed write,
// and what waits while the sheet is open. The sheet is a script here.
#include "fakes/FakePrompt.h"
#include "app/SettingsCommand.h"
#include "config/SafeFileWrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Records every hook call in order.
struct Harness {
    QTemporaryDir dir;
    QString root;
    DeviceConfig config;
    FakePrompt prompt;
    QStringList calls;
    bool running = false;
    bool sheetOk = true;
    std::function<void(SettingsSheetContext&)> inSheet;
    std::unique_ptr<SettingsCommand> command;

    Harness()
    {
        root = dir.path() + QLatin1Char('/');
        DeviceSettings onCard;
        onCard.speedUnit = 1;
        onCard.timeZoneIndex = 12;
        QFile f(settingsPath());
        f.open(QIODevice::WriteOnly);
        f.write(onCard.ToBytes());
        f.close();

        SettingsCommand::Hooks h;
        h.pauseIfRunning = [this] {
            calls << QStringLiteral("pause");
            const bool was = running;
            running = false;
            return was;
        };
        h.resume = [this] { calls << QStringLiteral("resume"); };
        h.cardRoot = [this] { return root; };
        h.runSheet = [this](SettingsSheetContext& ctx) {
            calls << QStringLiteral("sheet");
            if (inSheet)
                inSheet(ctx);
            return sheetOk;
        };
        h.resetSpeedReadout = [this](int unit) { calls << QStringLiteral("speed %1").arg(unit); };
        h.redraw = [this] { calls << QStringLiteral("redraw"); };
        h.clearAfterFormat = [this] { calls << QStringLiteral("clear"); };
        command = std::make_unique<SettingsCommand>(config, h);
        command->SetPrompt(&prompt);
    }

    QString settingsPath() const { return dir.path() + QLatin1String("/__system_ini.cfg"); }
};

} // namespace

class SettingsCommandTest : public QObject {
    Q_OBJECT
private slots:
    // The recording paused here runs again however the sheet closes; the
    // read-out is reset in the new unit only when nothing was running.
    void pausesAndResumesAroundTheSheet_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("running, OK") << true << true << QStringList{u"pause"_qs, u"sheet"_qs, u"redraw"_qs, u"resume"_qs};
        QTest::newRow("running, Cancel") << true << false << QStringList{u"pause"_qs, u"sheet"_qs, u"resume"_qs};
        QTest::newRow("idle, OK") << false << true << QStringList{u"pause"_qs, u"sheet"_qs, u"speed 2"_qs, u"redraw"_qs};
        QTest::newRow("idle, Cancel") << false << false << QStringList{u"pause"_qs, u"sheet"_qs};
    }

    void pausesAndResumesAroundTheSheet()
    {
        QFETCH(bool, running);
        QFETCH(bool, ok);
        QFETCH(QStringList, calls);
        Harness h;
        h.running = running;
        h.sheetOk = ok;
        h.inSheet = [&h](SettingsSheetContext& ctx) {
            QVERIFY(h.command->IsOpen());
            QCOMPARE(ctx.config->working, h.config.live);
            ctx.config->working.speedUnit = 2; // "mph"
        };
        h.command->Run();
        QCOMPARE(h.calls, calls);
        QVERIFY(!h.command->IsOpen());
        QCOMPARE(h.config.live.speedUnit, std::uint8_t(ok ? 2 : 1));
        QCOMPARE(std::uint8_t(readAll(h.settingsPath()).at(29)), std::uint8_t(ok ? 2 : 1));
        QVERIFY(h.prompt.texts.isEmpty());
    }

    void withoutACardOnlyPauses()
    {
        Harness h;
        h.running = true;
        h.root.clear();
        h.command->Run();
        QCOMPARE(h.calls, QStringList{u"pause"_qs});
    }

    // OK after the card was pulled, or a write that fails: the card keeps its
    // file, the live record its values, nothing lands in the working folder,
    // and the user is told.
    void okThatCannotWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("cardPulled");
        QTest::newRow("card pulled") << true;
        QTest::newRow("write fails") << false;
    }

    void okThatCannotWriteChangesNothing()
    {
        QFETCH(bool, cardPulled);
        QTemporaryDir cwd;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        Harness h;
        const QByteArray before = readAll(h.settingsPath());
        h.inSheet = [&](SettingsSheetContext& ctx) {
            ctx.config->working.speedUnit = 3;
            if (cardPulled)
                h.root.clear();
        };
        if (!cardPulled)
            SetWriteFaultHook([](const QString&) { return true; });
        h.command->Run();
        SetWriteFaultHook({});
        QDir::setCurrent(oldCwd);
        QCOMPARE(QDir(cwd.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(readAll(h.settingsPath()), before);
        QCOMPARE(h.config.live.speedUnit, std::uint8_t(1));
        QCOMPARE(h.prompt.texts, QStringList{SettingsWriteFailureText(cardPulled ? CardWrite::NoCard : CardWrite::Failed)});
        QVERIFY(!h.calls.contains(u"speed 3"_qs));
    }

    // A scan asked for while the sheet is open runs once after it closed, so a
    // re-inserted card cannot overwrite the record under the user's edits.
    void scanWaitsForTheSheet()
    {
        Harness h;
        int scans = 0;
        h.inSheet = [&](SettingsSheetContext&) {
            h.command->RunWhenClosed([&] { ++scans; h.calls << QStringLiteral("scan"); });
            h.command->RunWhenClosed([&] { ++scans; h.calls << QStringLiteral("scan"); });
            QCOMPARE(scans, 0);
        };
        h.command->Run();
        QCOMPARE(scans, 1);
        QCOMPARE(h.calls.last(), u"scan"_qs);
        h.command->RunWhenClosed([&] { ++scans; });
        QCOMPARE(scans, 2);
    }

    void formattedCardClearsTheListAfterResuming()
    {
        Harness h;
        h.running = true;
        h.sheetOk = false;
        h.inSheet = [](SettingsSheetContext& ctx) { ctx.cardFormatted = true; };
        h.command->Run();
        QCOMPARE(h.calls, (QStringList{u"pause"_qs, u"sheet"_qs, u"resume"_qs, u"clear"_qs}));
    }

    // The sheet is opened on what the card holds now, not on an older record.
    void readsTheCardBeforeTheSheet()
    {
        Harness h;
        h.config.live.timeZoneIndex = 3;
        int shown = -1;
        h.inSheet = [&](SettingsSheetContext& ctx) { shown = ctx.config->working.timeZoneIndex; };
        h.command->Run();
        QCOMPARE(shown, 12);
    }
};

QTEST_GUILESS_MAIN(SettingsCommandTest)
#include "SettingsCommandTest.moc"

#include "OpsTestDoubles.h"
#include "card/RecordingFileOps.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

// A card folder with five recordings A0..A4 (distinct contents) listed as
// rows 0..4, and a library of two lists: ALL with every recording and a
// category list with A1 and A3.
struct Card {
    QTemporaryDir dir;
    FakeRows rows;
    QMap<int, QStringList> library;

    Card()
    {
        for (int i = 0; i < 5; ++i) {
            const QString name = QStringLiteral("A%1.mp4").arg(i);
            const QString path = dir.filePath(name);
            writeFile(path, QByteArray(1000 + i * 100, char('a' + i)));
            rows.rows.push_back({name, path, false});
            library[0] << path;
        }
        library[2] << dir.filePath(QStringLiteral("A1.mp4")) << dir.filePath(QStringLiteral("A3.mp4"));
    }
    QString path(int i) const { return dir.filePath(QStringLiteral("A%1.mp4").arg(i)); }
    void tick(std::initializer_list<int> which)
    {
        for (int i : which)
            rows.rows.at(i).ticked = true;
    }
    RecordingFileOps::RemoveRecording remover()
    {
        return [this](int list, const QString& p) {
            QStringList& l = library[list];
            for (qsizetype i = 0; i < l.size(); ++i)
                if (l[i].compare(p, Qt::CaseInsensitive) == 0) {
                    l.removeAt(i);
                    return;
                }
        };
    }
    QStringList namesIn(int list) const
    {
        QStringList n;
        for (const QString& p : library.value(list))
            n << QFileInfo(p).fileName();
        return n;
    }
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class RecordingFileOpsTest : public QObject {
    Q_OBJECT
private slots:
    void deleteWithNothingTickedAsksNothing()
    {
        Card card;
        ScriptedPrompt prompt;
        const DeleteReport r = RecordingFileOps::DeleteTickedRecordings(card.rows, prompt, card.remover());
        QVERIFY(!r.asked);
        QVERIFY(prompt.questions.isEmpty());
        QCOMPARE(card.rows.RowCount(), 5);

        FakeRows empty;
        RecordingFileOps::DeleteTickedRecordings(empty, prompt, card.remover());
        QVERIFY(prompt.questions.isEmpty());
    }

    void deleteAnsweredNoChangesNothingAndKeepsTicks()
    {
        Card card;
        card.tick({1, 3});
        ScriptedPrompt prompt;
        prompt.answer = false;
        RecordingFileOps::DeleteTickedRecordings(card.rows, prompt, card.remover());
        QCOMPARE(prompt.questions, QStringList{QStringLiteral("영상 파일 삭제!|선택하신 파일을 삭제하시겠습니까?")});
        QCOMPARE(card.rows.RowCount(), 5);
        QCOMPARE(card.rows.tickedCount(), 2);
        QVERIFY(QFile::exists(card.path(1)) && QFile::exists(card.path(3)));
        QCOMPARE(card.library[0].size(), 5);
    }

    void deleteTickedRecordings_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QList<int>>("undeletable"); // made a folder of that name
        QTest::addColumn<QList<int>>("alreadyGone");
        QTest::addColumn<QStringList>("rowsLeft");
        QTest::addColumn<QStringList>("categoryLeft");
        QTest::addColumn<QStringList>("reported"); // names in the failure notice
        QTest::newRow("rows 1 and 3 of five")
            << QList<int>{1, 3} << QList<int>{} << QList<int>{} << QStringList{"A0.mp4", "A2.mp4", "A4.mp4"}
            << QStringList{} << QStringList{};
        QTest::newRow("a failing delete keeps its entries and row")
            << QList<int>{0, 1, 3} << QList<int>{1} << QList<int>{}
            << QStringList{"A1.mp4", "A2.mp4", "A4.mp4"} << QStringList{"A1.mp4"} << QStringList{"A1.mp4"};
        QTest::newRow("a file already gone counts as deleted")
            << QList<int>{3} << QList<int>{} << QList<int>{3}
            << QStringList{"A0.mp4", "A1.mp4", "A2.mp4", "A4.mp4"} << QStringList{"A1.mp4"} << QStringList{};
    }
    void deleteTickedRecordings()
    {
        QFETCH(QList<int>, ticked);
        QFETCH(QList<int>, undeletable);
        QFETCH(QList<int>, alreadyGone);
        QFETCH(QStringList, rowsLeft);
        QFETCH(QStringList, categoryLeft);
        QFETCH(QStringList, reported);
        Card card;
        for (int i : ticked)
            card.tick({i});
        // A folder in the recording's place cannot be removed as a file (the
        // tests may run as root, which passes over permissions).
        for (int i : undeletable) {
            QVERIFY(QFile::remove(card.path(i)));
            QVERIFY(QDir().mkpath(card.path(i) + QStringLiteral("/keep")));
        }
        for (int i : alreadyGone)
            QVERIFY(QFile::remove(card.path(i)));

        ScriptedPrompt prompt;
        const DeleteReport r = RecordingFileOps::DeleteTickedRecordings(card.rows, prompt, card.remover());
        QVERIFY(r.confirmed);
        QCOMPARE(card.rows.names(), rowsLeft);
        QCOMPARE(card.rows.tickedCount(), 0);
        QVERIFY(card.rows.repaints > 0);
        QCOMPARE(card.namesIn(0), rowsLeft);
        QCOMPARE(card.namesIn(2), categoryLeft);
        for (int i : ticked)
            QCOMPARE(QFileInfo::exists(card.path(i)), undeletable.contains(i));
        if (reported.isEmpty()) {
            QVERIFY(prompt.messages.isEmpty());
        } else {
            QCOMPARE(prompt.messages.size(), 1);
            QCOMPARE(prompt.messages.first(), QStringLiteral("영상 파일 삭제!|") + RecordingFileOps::kDeleteFailedText
                                                  + QLatin1Char('\n') + reported.join(QLatin1Char('\n')));
        }
    }

    void copyOneTickedRowOffersItsName()
    {
        Card card;
        QTemporaryDir dest;
        card.tick({2});
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = dest.filePath(QStringLiteral("renamed.mp4"));
        ScriptedPrompt prompt;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(card.rows, dialogs, prompt);
        QCOMPARE(dialogs.calls, QStringList{QStringLiteral("save|A2.mp4|mp4|Movie Files (*.mp4)|no-confirm")});
        QCOMPARE(r.copied, QStringList{dialogs.saveAnswer});
        QCOMPARE(contentOf(dialogs.saveAnswer), contentOf(card.path(2)));
        QCOMPARE(filesIn(dest.path()), QStringList{QStringLiteral("renamed.mp4")});
        QCOMPARE(card.rows.tickedCount(), 0);
        QVERIFY(prompt.messages.isEmpty());
    }

    void copySeveralIntoAFolderReplacingSameNames()
    {
        Card card;
        QTemporaryDir dest;
        writeFile(dest.filePath(QStringLiteral("A3.mp4")), "an older file of the same name");
        card.tick({0, 3, 4});
        ScriptedDialogs dialogs;
        dialogs.folderAnswer = dest.path();
        ScriptedPrompt prompt;
        qint64 lastCopied = 0, lastTotal = 0;
        bool monotonic = true;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(
            card.rows, dialogs, prompt, [&](const QString&, qint64 copied, qint64 total) {
                monotonic = monotonic && copied >= lastCopied;
                lastCopied = copied;
                lastTotal = total;
                return true;
            });
        QCOMPARE(dialogs.calls, QStringList{QStringLiteral("folder|Select a directory")});
        QCOMPARE(filesIn(dest.path()), (QStringList{"A0.mp4", "A3.mp4", "A4.mp4"}));
        for (int i : {0, 3, 4})
            QCOMPARE(contentOf(dest.filePath(QStringLiteral("A%1.mp4").arg(i))), contentOf(card.path(i)));
        QCOMPARE(r.copied.size(), 3);
        QVERIFY(monotonic);
        QCOMPARE(lastTotal, qint64(1000 + 1300 + 1400));
        QCOMPARE(lastCopied, lastTotal);
        QCOMPARE(card.rows.tickedCount(), 0);
        QVERIFY(prompt.messages.isEmpty());
    }

    void copyIntoAVeryLongFolderPath()
    {
        Card card;
        QTemporaryDir dest;
        QString folder = dest.path();
        while (folder.size() < 400)
            folder += QStringLiteral("/a-rather-long-folder-name-for-copies");
        QVERIFY(QDir().mkpath(folder));
        card.tick({1, 2});
        ScriptedDialogs dialogs;
        dialogs.folderAnswer = folder;
        ScriptedPrompt prompt;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(card.rows, dialogs, prompt);
        QCOMPARE(r.copied.size(), 2);
        QCOMPARE(contentOf(folder + QStringLiteral("/A2.mp4")), contentOf(card.path(2)));
    }

    void copyCancelledInTheDialogUnticksEveryRow_data()
    {
        QTest::addColumn<QList<int>>("ticked");
        QTest::newRow("save dialog") << QList<int>{1};
        QTest::newRow("folder dialog") << QList<int>{1, 2, 4};
    }
    void copyCancelledInTheDialogUnticksEveryRow()
    {
        QFETCH(QList<int>, ticked);
        Card card;
        for (int i : ticked)
            card.tick({i});
        ScriptedDialogs dialogs; // answers nothing: cancelled
        ScriptedPrompt prompt;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(card.rows, dialogs, prompt);
        QCOMPARE(dialogs.calls.size(), 1);
        QVERIFY(r.copied.isEmpty() && r.failed.isEmpty());
        QCOMPARE(card.rows.tickedCount(), 0);
        QVERIFY(card.rows.repaints > 0);
        QVERIFY(prompt.messages.isEmpty());
    }

    void copyWithNothingTickedShowsNoDialog()
    {
        Card card;
        ScriptedDialogs dialogs;
        ScriptedPrompt prompt;
        RecordingFileOps::CopyTickedRecordings(card.rows, dialogs, prompt);
        QVERIFY(dialogs.calls.isEmpty());
    }

    void copyOntoItselfIsRefusedAndNamed()
    {
        Card card;
        card.tick({0, 1});
        const QByteArray before = contentOf(card.path(0));
        ScriptedDialogs dialogs;
        dialogs.folderAnswer = card.dir.path() + QStringLiteral("/./"); // the card folder, spelt differently
        ScriptedPrompt prompt;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(card.rows, dialogs, prompt);
        QVERIFY(r.copied.isEmpty());
        QCOMPARE(r.failed, (QStringList{"A0.mp4", "A1.mp4"}));
        QCOMPARE(contentOf(card.path(0)), before);
        QCOMPARE(filesIn(card.dir.path()).size(), 5);
        QCOMPARE(prompt.messages, QStringList{QStringLiteral("영상 파일 복사!|") + RecordingFileOps::kCopyFailedText
                                              + QStringLiteral("\nA0.mp4 (원본과 같은 파일)\nA1.mp4 (원본과 같은 파일)")});

        // One file through the save dialog, chosen over its own hard link.
        FakeRows one;
        one.rows.push_back({QStringLiteral("A2.mp4"), card.path(2), true});
        const QString link = card.dir.filePath(QStringLiteral("link.mp4"));
        QCOMPARE(::link(QFile::encodeName(card.path(2)).constData(), QFile::encodeName(link).constData()), 0);
        dialogs.saveAnswer = link;
        const CopyReport single = RecordingFileOps::CopyTickedRecordings(one, dialogs, prompt);
        QCOMPARE(single.failed, QStringList{QStringLiteral("A2.mp4")});
        QCOMPARE(contentOf(card.path(2)), QByteArray(1200, 'c'));
    }

    void copyCancelledMidWayKeepsTheExistingTarget()
    {
        Card card;
        QTemporaryDir dest;
        writeFile(dest.filePath(QStringLiteral("A1.mp4")), "kept as it was");
        card.tick({1, 2});
        ScriptedDialogs dialogs;
        dialogs.folderAnswer = dest.path();
        ScriptedPrompt prompt;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(
            card.rows, dialogs, prompt, [](const QString&, qint64, qint64) { return false; },
            RecordingCopier(256));
        QVERIFY(r.cancelled);
        QVERIFY(r.copied.isEmpty());
        QCOMPARE(filesIn(dest.path()), QStringList{QStringLiteral("A1.mp4")}); // no temporary left, A2 skipped
        QCOMPARE(contentOf(dest.filePath(QStringLiteral("A1.mp4"))), QByteArray("kept as it was"));
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(card.rows.tickedCount(), 0);
    }

    void copyFailingMidWayLeavesNoPartialTargetAndTells()
    {
        Card card;
        QTemporaryDir dest;
        writeFile(dest.filePath(QStringLiteral("A0.mp4")), "kept as it was");
        card.tick({0, 2, 4});
        QVERIFY(QFile::remove(card.path(4))); // gone before the copy starts
        ScriptedDialogs dialogs;
        dialogs.folderAnswer = dest.path();
        ScriptedPrompt prompt;
        // The first recording is cut short while it is read, as when the card
        // is pulled out.
        bool cut = false;
        const CopyReport r = RecordingFileOps::CopyTickedRecordings(
            card.rows, dialogs, prompt,
            [&](const QString& name, qint64, qint64) {
                if (name == QLatin1String("A0.mp4") && !cut) {
                    cut = QFile::resize(card.path(0), 300);
                }
                return true;
            },
            RecordingCopier(256));
        QVERIFY(cut);
        QCOMPARE(r.copied, QStringList{dest.filePath(QStringLiteral("A2.mp4"))});
        QCOMPARE(r.failed, (QStringList{"A0.mp4", "A4.mp4"}));
        QCOMPARE(filesIn(dest.path()), (QStringList{"A0.mp4", "A2.mp4"}));
        QCOMPARE(contentOf(dest.filePath(QStringLiteral("A0.mp4"))), QByteArray("kept as it was"));
        // Each name comes with the reason.
        QCOMPARE(prompt.messages, QStringList{QStringLiteral("영상 파일 복사!|") + RecordingFileOps::kCopyFailedText
                                              + QStringLiteral("\nA0.mp4 (source ended after 300 of 1000 bytes)"
                                                               "\nA4.mp4 (No such file or directory)")});
    }

    // A copy the system refuses says why, in the system's words, and leaves nothing behind.
    void copyFailureCarriesTheSystemsReason_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << QStringLiteral("full") << QStringLiteral("No space left on device");
        QTest::newRow("file size limit") << QStringLiteral("limit") << QStringLiteral("File too large");
        QTest::newRow("folder not writable") << QStringLiteral("denied") << QStringLiteral("Permission denied");
    }

    void copyFailureCarriesTheSystemsReason()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("src.mp4"));
        writeFile(source, QByteArray(300 * 1024, 'r'));
        QString folder = dir.filePath(QStringLiteral("target"));
        QVERIFY(QDir().mkpath(folder));
        bool mounted = false;
        rlimit before {};
        auto restore = qScopeGuard([&] {
            if (mounted)
                QProcess::execute(QStringLiteral("umount"), {folder});
            if (kind == QLatin1String("limit")) {
                setrlimit(RLIMIT_FSIZE, &before);
                signal(SIGXFSZ, SIG_DFL);
            }
        });
        if (kind == QLatin1String("full")) {
            // A small memory file system stands in for a full card.
            mounted = QProcess::execute(QStringLiteral("mount"),
                                        {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0;
            if (!mounted)
                QSKIP("cannot mount a small file system here");
        } else if (kind == QLatin1String("limit")) {
            getrlimit(RLIMIT_FSIZE, &before);
            signal(SIGXFSZ, SIG_IGN);
            rlimit small = before;
            small.rlim_cur = 100 * 1024;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        } else {
            // Root may write anywhere it can reach, but never into the kernel's own folder.
            folder = geteuid() == 0 ? QStringLiteral("/sys") : folder;
            if (geteuid() != 0)
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QStringList filesBefore = filesIn(folder);
        const CopyResult result = RecordingCopier(64 * 1000).Copy(source, folder + QStringLiteral("/dst.mp4"));
        QCOMPARE(result.outcome, CopyOutcome::Failed);
        QCOMPARE(result.error, reason);
        QCOMPARE(filesIn(folder), filesBefore);
    }

    void copierReplacesTargetOnlyWhenComplete()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("src.mp4"));
        const QString target = dir.filePath(QStringLiteral("dst.mp4"));
        QByteArray data(10000, Qt::Uninitialized);
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        writeFile(source, data);
        writeFile(target, "old");
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        QFileDevice::Permissions perms = QFile::permissions(target);

        int calls = 0;
        bool targetUntouchedWhileCopying = true;
        const CopyResult result = RecordingCopier(1024).Copy(source, target, [&](qint64 copied, qint64 total) {
            ++calls;
            targetUntouchedWhileCopying = targetUntouchedWhileCopying && contentOf(target) == "old";
            return copied <= total;
        });
        QCOMPARE(result.outcome, CopyOutcome::Copied);
        QCOMPARE(calls, 10);
        QVERIFY(targetUntouchedWhileCopying);
        QCOMPARE(contentOf(target), data);
        QCOMPARE(QFile::permissions(target), perms);
        QCOMPARE(QFileInfo(target).lastModified(), QFileInfo(source).lastModified());
        QCOMPARE(filesIn(dir.path()), (QStringList{"dst.mp4", "src.mp4"}));
    }
};

QTEST_GUILESS_MAIN(RecordingFileOpsTest)
#include "RecordingFileOpsTest.moc"

#include "OpsTestDoubles.h"
#include "listctrl/CHTMLListCtrl.h"
#include "card/CopyProgressDialog.h"
#include "card/HTMLListTickedRows.h"
#include "card/RecordingFileOps.h"

#include <QApplication>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QFileInfo>
#include <optional>
#include <QTest>

class OpsWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void deletesTickedRowsOfTheListControl()
    {
        QTemporaryDir dir;
        CHTMLListCtrl list;
        list.SetStyle(3);
        for (int i = 0; i < 5; ++i) {
            const QString name = QStringLiteral("A%1.mp4").arg(i);
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            list.InsertRow(HTMLLIST_KIND_RECORDING, name, f.fileName(), QStringLiteral("상시"), 0, 20, {});
        }
        list.RecalcRows();
        list.SetRowTicked(1, 1);
        list.SetRowTicked(3, 1);

        HTMLListTickedRows rows(list);
        ScriptedPrompt prompt;
        QStringList removed;
        const DeleteReport r = RecordingFileOps::DeleteTickedRecordings(
            rows, prompt, [&](int category, const QString& path) {
                if (category == 0)
                    removed << QFileInfo(path).fileName();
            });
        QCOMPARE(r.deleted.size(), 2);
        QCOMPARE(removed, (QStringList{"A1.mp4", "A3.mp4"}));
        QCOMPARE(list.GetRowCount(), 3);
        QStringList left;
        for (int row = 0; row < list.GetRowCount(); ++row) {
            QCOMPARE(list.FindRow(row)->index, row);
            QCOMPARE(list.GetRowTicked(row), 0);
            left << list.FindRow(row)->text;
        }
        QCOMPARE(left, (QStringList{"A0.mp4", "A2.mp4", "A4.mp4"}));
    }

    // The copy runs on a worker thread: Start returns at once, the report
    // comes back through the event loop, and cancel reaches the worker.
    void copyRunsOffTheUiThreadAndAnswersCancel()
    {
        QWidget owner;
        CopyProgressDialog progress(&owner);
        QVERIFY(owner.findChild<QProgressDialog*>() == nullptr); // nothing before the copy starts
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("A0.mp4"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3 << 20, 'x'));
        f.close();
        std::optional<CopyReport> report;
        progress.Start({CopyJob{QStringLiteral("A0.mp4"), source, dir.filePath(QStringLiteral("copy.mp4")), 3 << 20}},
                       [&](const CopyReport& r) { report = r; });
        QVERIFY(progress.IsRunning() && !report);
        QVERIFY(owner.findChild<QProgressDialog*>());
        QTRY_VERIFY(report.has_value());
        QCOMPARE(report->copied, QStringList{dir.filePath(QStringLiteral("copy.mp4"))});
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("copy.mp4"))).size(), qint64(3 << 20));
        QVERIFY(!progress.IsRunning());

        report.reset();
        progress.Start({CopyJob{QStringLiteral("A0.mp4"), source, dir.filePath(QStringLiteral("again.mp4")), 3 << 20}},
                       [&](const CopyReport& r) { report = r; });
        QVERIFY(progress.Progress()(QStringLiteral("A0.mp4"), 10, 100));
        emit owner.findChild<QProgressDialog*>()->canceled(); // the cancel button
        QVERIFY(!progress.Progress()(QStringLiteral("A0.mp4"), 20, 100));
        QTRY_VERIFY(report.has_value());
    }
};

QTEST_MAIN(OpsWidgetsTest)
#include "OpsWidgetsTest.moc"

#include "fakes/FakePlaybackEngine.h"
#include "OpsTestDoubles.h"
#include "card/SnapshotExport.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

namespace {

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class SnapshotExportTest : public QObject {
    Q_OBJECT
private slots:
    void baseNameDropsTheRealExtension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("base");
        QTest::newRow("shot.jpg") << "/p/shot.jpg" << "/p/shot";
        QTest::newRow("shot.jpeg") << "/p/shot.jpeg" << "/p/shot";
        QTest::newRow("shot") << "/p/shot" << "/p/shot";
        QTest::newRow("dotted folder, no extension") << "/p/v1.2/shot" << "/p/v1.2/shot";
        QTest::newRow("two dots") << "/p/a.b.jpg" << "/p/a.b";
        QTest::newRow("trailing dot") << "/p/shot." << "/p/shot";
        QTest::newRow("hidden name") << "/p/.jpg" << "/p/.jpg";
    }
    void baseNameDropsTheRealExtension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, base);
        QCOMPARE(SnapshotExport::SnapshotBaseName(chosen), base);
    }

    void snapshot_data()
    {
        QTest::addColumn<bool>("hasGraph");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("pins");
        QTest::addColumn<bool>("frontGrabs");
        QTest::addColumn<QString>("chosenName"); // "" cancels the dialog
        QTest::addColumn<QStringList>("engineCalls");
        QTest::addColumn<QStringList>("files");
        const int running = int(EngineState::Running), paused = int(EngineState::Paused),
                  stopped = int(EngineState::Stopped);
        QTest::newRow("stopped does nothing")
            << true << stopped << 2 << true << "shot.jpg" << QStringList{} << QStringList{};
        QTest::newRow("no graph does nothing")
            << false << running << 2 << true << "shot.jpg" << QStringList{} << QStringList{};
        QTest::newRow("paused saves and stays paused")
            << true << paused << 2 << true << "shot.jpg" << QStringList{"GrabFrame", "GrabChannel(2)"}
            << QStringList{"shot_front.jpg", "shot_rear.jpg"};
        QTest::newRow("running pauses, saves, resumes")
            << true << running << 2 << true << "shot.jpeg" << QStringList{"Pause", "GrabFrame", "GrabChannel(2)", "Run"}
            << QStringList{"shot_front.jpg", "shot_rear.jpg"};
        QTest::newRow("one channel: front only")
            << true << running << 1 << true << "shot" << QStringList{"Pause", "GrabFrame", "Run"}
            << QStringList{"shot_front.jpg"};
        QTest::newRow("dialog cancelled resumes")
            << true << running << 2 << true << "" << QStringList{"Pause", "GrabFrame", "Run"} << QStringList{};
        QTest::newRow("no picture: no dialog, resumes")
            << true << running << 2 << false << "shot.jpg" << QStringList{"Pause", "GrabFrame", "Run"}
            << QStringList{};
    }
    void snapshot()
    {
        QFETCH(bool, hasGraph);
        QFETCH(int, state);
        QFETCH(int, pins);
        QFETCH(bool, frontGrabs);
        QFETCH(QString, chosenName);
        QFETCH(QStringList, engineCalls);
        QFETCH(QStringList, files);
        QTemporaryDir dir;
        FakePlaybackEngine engine;
        engine.hasGraph = engine.hasFilterGraph = hasGraph;
        engine.state = EngineState(state);
        engine.videoPinCount = pins;
        if (frontGrabs)
            engine.channelFrames[1] = filled(QSize(64, 48), Qt::red);
        engine.channelFrames[2] = filled(QSize(32, 24), Qt::blue);
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = chosenName.isEmpty() ? QString() : dir.filePath(chosenName);
        ScriptedPrompt prompt;

        const SnapshotReport report = SnapshotExport::SaveSnapshot(engine, dialogs, prompt);
        QCOMPARE(engine.calls, engineCalls);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), files);
        QCOMPARE(report.written.size(), files.size());
        QVERIFY(prompt.messages.isEmpty());
        if (engineCalls.contains(QStringLiteral("GrabFrame")) && frontGrabs)
            QCOMPARE(dialogs.calls, QStringList{QStringLiteral("save|Vantrix.jpg||jpeg file (*.jpg)|confirm")});
        else
            QVERIFY(dialogs.calls.isEmpty());
        QCOMPARE(int(engine.state), state); // resumed when it was running
    }

    void rearFileHoldsTheRearPictureAtItsSize()
    {
        QTemporaryDir dir;
        FakePlaybackEngine engine;
        engine.hasGraph = engine.hasFilterGraph = true;
        engine.state = EngineState::Running;
        engine.videoPinCount = 2;
        engine.channelFrames[1] = filled(QSize(64, 48), Qt::red);
        engine.channelFrames[2] = filled(QSize(32, 24), Qt::blue);
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("Vantrix.jpg"));
        ScriptedPrompt prompt;
        SnapshotExport::SaveSnapshot(engine, dialogs, prompt);

        const QImage front(dir.filePath(QStringLiteral("Vantrix_front.jpg")), "jpeg");
        const QImage rear(dir.filePath(QStringLiteral("Vantrix_rear.jpg")), "jpeg");
        QCOMPARE(front.size(), QSize(64, 48));
        QCOMPARE(rear.size(), QSize(32, 24));
        QVERIFY(qRed(front.pixel(32, 24)) > 200 && qBlue(front.pixel(32, 24)) < 60);
        QVERIFY(qBlue(rear.pixel(16, 12)) > 200 && qRed(rear.pixel(16, 12)) < 60);
    }

    void jpegIsWrittenAtTheCaptureSize_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("32-bit") << int(QImage::Format_RGB32);
        QTest::newRow("with alpha") << int(QImage::Format_ARGB32);
        QTest::newRow("odd size, 24-bit") << int(QImage::Format_RGB888);
    }
    void jpegIsWrittenAtTheCaptureSize()
    {
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.jpg"));
        QImage picture(QSize(101, 57), QImage::Format(format));
        picture.fill(QColor(0, 200, 0));
        QVERIFY(SnapshotExport::SaveBitmapAsJpeg(picture, path));
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(101, 57));
    }

    void failedWriteKeepsTheOldFileAndTells()
    {
        QTemporaryDir dir;
        QVERIFY(!SnapshotExport::SaveBitmapAsJpeg(QImage(), dir.filePath(QStringLiteral("null.jpg"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("null.jpg"))));

        FakePlaybackEngine engine;
        engine.hasGraph = engine.hasFilterGraph = true;
        engine.state = EngineState::Running;
        engine.videoPinCount = 2;
        engine.channelFrames[1] = filled(QSize(16, 16), Qt::red);
        engine.videoPinCount = 1;
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("no-such-folder/shot.jpg"));
        ScriptedPrompt prompt;
        const SnapshotReport report = SnapshotExport::SaveSnapshot(engine, dialogs, prompt);
        QVERIFY(report.written.isEmpty());
        const QString expectedPath = dir.filePath(QStringLiteral("no-such-folder/shot_front.jpg"));
        QCOMPARE(report.failed, QStringList{expectedPath});
        QCOMPARE(prompt.messages, QStringList{QStringLiteral("스냅샷 저장!|") + SnapshotExport::kFailedText
                                              + QLatin1Char('\n') + expectedPath});
        QCOMPARE(engine.calls.last(), QStringLiteral("Run"));
    }
};

QTEST_GUILESS_MAIN(SnapshotExportTest)
#include "SnapshotExportTest.moc"

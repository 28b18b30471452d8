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

    void rearFileHoldsTheRearPictureAtItsSize()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("Vantrix.jpg"));
        ScriptedPrompt prompt;
        SnapshotExport::SaveSnapshot(filled(QSize(64, 48), Qt::red), filled(QSize(32, 24), Qt::blue), dialogs, prompt);
        QCOMPARE(dialogs.calls, QStringList{QStringLiteral("save|Vantrix.jpg||jpeg file (*.jpg)|confirm")});

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

        ScriptedDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("no-such-folder/shot.jpg"));
        ScriptedPrompt prompt;
        const SnapshotReport report = SnapshotExport::SaveSnapshot(filled(QSize(16, 16), Qt::red), QImage(), dialogs, prompt);
        QVERIFY(report.written.isEmpty());
        const QString expectedPath = dir.filePath(QStringLiteral("no-such-folder/shot_front.jpg"));
        QCOMPARE(report.failed, QStringList{expectedPath});
        QCOMPARE(prompt.messages, QStringList{QStringLiteral("스냅샷 저장!|") + SnapshotExport::kFailedText
                                              + QLatin1Char('\n') + expectedPath});
    }
};

QTEST_GUILESS_MAIN(SnapshotExportTest)
#include "SnapshotExportTest.moc"

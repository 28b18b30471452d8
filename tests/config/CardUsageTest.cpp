#include "CardFixture.h"
#include "config/CardUsage.h"

#include <QTest>

namespace {
class FakeSpace : public CardSpaceQuery {
public:
    std::optional<CardSpace> space;
    std::optional<CardSpace> Query(const QString&) const override { return space; }
};
} // namespace

class CardUsageTest : public QObject {
    Q_OBJECT
private slots:
    void showsCapacityInWholeMib_data()
    {
        QTest::addColumn<quint64>("total");
        QTest::addColumn<quint64>("free");
        QTest::addColumn<QString>("totalText");
        QTest::addColumn<QString>("freeText");
        QTest::newRow("8 GB card") << 8000000000ull << 1048575ull << "전체 용량 : 7629MB" << "사용 가능한 용량 : 0000MB";
        QTest::newRow("500 MiB") << 524288000ull << 3ull * 1048576 << "전체 용량 : 0500MB" << "사용 가능한 용량 : 0003MB";
        QTest::newRow("beyond 4 digits") << 128000000000ull << 64000000000ull << "전체 용량 : 122070MB"
                                         << "사용 가능한 용량 : 61035MB";
    }
    void showsCapacityInWholeMib()
    {
        QFETCH(quint64, total);
        QFETCH(quint64, free);
        QFETCH(QString, totalText);
        QFETCH(QString, freeText);
        CardFolder card;
        card.make();
        FakeSpace space;
        space.space = CardSpace{total, free};
        const CardUsage::Texts t = CardUsage::MakeTexts(CardUsage::Measure(card.root(), space));
        QCOMPARE(t.total.value_or("-"), totalText);
        QCOMPARE(t.free.value_or("-"), freeText);
    }

    void failedQueryOrNoCardLeavesTheNumbersOut()
    {
        CardFolder card;
        card.make();
        FakeSpace failing;
        CardUsage::Texts t = CardUsage::MakeTexts(CardUsage::Measure(card.root(), failing));
        QCOMPARE(t.total.value_or("-"), QStringLiteral("전체 용량 :"));
        QCOMPARE(t.free.value_or("-"), QStringLiteral("사용 가능한 용량 :"));

        t = CardUsage::MakeTexts(CardUsage::Measure(card.dir.path() + "/gone/", failing));
        QVERIFY(!t.total && !t.free);
        QCOMPARE(t.categories[0], QStringLiteral("상시녹화 : 0 MB"));
        t = CardUsage::MakeTexts(CardUsage::Measure(QString(), failing));
        QVERIFY(!t.total && !t.free);
        QCOMPARE(t.categories[3], QStringLiteral("모션녹화 : 0 MB"));
    }

    void sumsEveryFileBelowACategory()
    {
        CardFolder card;
        const QString r = card.root();
        // 1.5 MiB in all, spread over the folder and two levels of subfolders.
        writeFile(r + "INFINITE/a.mp4", QByteArray(524288, 'a'));
        writeFile(r + "INFINITE/0315/b.mp4", QByteArray(524288 - 100, 'b'));
        writeFile(r + "INFINITE/0315/deep/c.mp4", QByteArray(524288, 'c'));
        writeFile(r + "INFINITE/.thumb", QByteArray(100, 't')); // a dot-file counts
        writeFile(r + "INFINITE/.trash/old.mp4", QByteArray(8 << 20, 'o')); // a dot-folder does not
        QVERIFY(QFile::link(r + "INFINITE/.trash/old.mp4", r + "INFINITE/link.mp4"));
        QVERIFY(QFile::link(r + "INFINITE/.trash", r + "INFINITE/linkdir"));
        writeFile(r + "EVENT/e.mp4", QByteArray(2 << 20, 'e'));
        QDir().mkpath(r + "MANUAL");

        QCOMPARE(CardUsage::FolderSize(r + "INFINITE"), qint64(1572864));
        FakeSpace space;
        const CardUsage::Texts t = CardUsage::MakeTexts(CardUsage::Measure(r, space));
        QCOMPARE(t.categories[0], QStringLiteral("상시녹화 : 1 MB"));
        QCOMPARE(t.categories[1], QStringLiteral("충격녹화 : 2 MB"));
        QCOMPARE(t.categories[2], QStringLiteral("수동녹화 : 0 MB"));
        QCOMPARE(t.categories[3], QStringLiteral("모션녹화 : 0 MB")); // missing folder
    }
};

QTEST_GUILESS_MAIN(CardUsageTest)
#include "CardUsageTest.moc"

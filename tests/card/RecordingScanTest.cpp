#include "base/Trace.h"
#include "fakes/FakeRecordingListView.h"
#include "card/RecordingLibrary.h"
#include "card/CardTree.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class RecordingScanTest : public QObject {
    Q_OBJECT

    static QStringList names(const RecordingLibrary& lib, int list)
    {
        QStringList out;
        for (int i = 0; i < lib.RecordingCount(list); ++i)
            out << lib.GetRecording(list, i)->name;
        return out;
    }
    static QStringList paths(const RecordingLibrary& lib, int list, const QString& root)
    {
        QStringList out;
        for (int i = 0; i < lib.RecordingCount(list); ++i)
            out << lib.GetRecording(list, i)->path.mid(root.size());
        return out;
    }

private slots:
    // Which files of a card make it into the lists, and as what.
    void listsOnlyAcceptedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<int>("list");       // category list it must appear in, -1 = none
        QTest::addColumn<QString>("type");

        QTest::newRow("one level down") << "INFINITE/0315/20120315_142501_I01.mp4" << 2048LL << 1 << "NORMAL";
        QTest::newRow("directly in category folder") << "INFINITE/a.mp4" << 2048LL << -1 << "";
        QTest::newRow("camera name directly in folder") << "INFINITE/20120315_142501_I01.mp4" << 2048LL << -1 << "";
        QTest::newRow("two levels down") << "INFINITE/0315/deep/20120315_142501_I01.mp4" << 2048LL << -1 << "";
        QTest::newRow("own prefix without marker") << "INFINITE/0315/INF_0001.mp4" << 2048LL << -1 << "";
        QTest::newRow("other prefix without marker") << "INFINITE/0315/EVT_0001.mp4" << 2048LL << 1 << "NORMAL";
        QTest::newRow("own prefix with marker") << "EVENT/x/EVT_E01.mp4" << 2048LL << 2 << "EVENT";
        QTest::newRow("prefix is case-sensitive") << "INFINITE/0315/inf_0001.mp4" << 2048LL << 1 << "NORMAL";
        QTest::newRow("short name, no prefix") << "MANUAL/x/a.mp4" << 2048LL << 3 << "MANUAL";
        QTest::newRow("upper-case extension") << "MOTION/x/20120315_142501_M01.MP4" << 2048LL << 4 << "MOTION";
        QTest::newRow("other extension") << "INFINITE/0315/20120315_142501_I01.avi" << 2048LL << -1 << "";
        QTest::newRow("hidden file") << "INFINITE/0315/.20120315_142501_I01.mp4" << 2048LL << -1 << "";
        QTest::newRow("hidden subfolder") << "INFINITE/.trash/20120315_142501_I01.mp4" << 2048LL << -1 << "";
        QTest::newRow("1024 bytes") << "INFINITE/0315/20120315_142501_I01.mp4" << 1024LL << -1 << "";
        QTest::newRow("1025 bytes") << "INFINITE/0315/20120315_142501_I01.mp4" << 1025LL << 1 << "NORMAL";
        QTest::newRow("larger than 4 GiB") << "EVENT/x/20120315_142501_E01.mp4" << ((qint64(1) << 32) + 100) << 2 << "EVENT";
    }
    void listsOnlyAcceptedFiles()
    {
        QFETCH(QString, file);
        QFETCH(qint64, size);
        QFETCH(int, list);
        QFETCH(QString, type);
        CardTree card;
        card.makeCard();
        QVERIFY(card.file(file, size));
        RecordingLibrary lib;
        lib.ScanCard(card.root());
        for (int l = 1; l < kCategoryCount; ++l)
            QCOMPARE(lib.RecordingCount(l), l == list ? 1 : 0);
        if (list < 0) {
            QCOMPARE(lib.RecordingCount(CategoryAll), 0);
            return;
        }
        QCOMPARE(lib.RecordingCount(CategoryAll), 1);
        for (int l : {list, int(CategoryAll)}) {
            const BBOX_ITEM* e = lib.GetRecording(l, 0);
            QCOMPARE(e->path, card.path(file));
            QCOMPARE(e->name, QFileInfo(file).fileName());
            QCOMPARE(e->type, type);
            QCOMPARE(e->played, 0);
        }
        QVERIFY(lib.GetRecording(list, 0) != lib.GetRecording(CategoryAll, 0));
    }

    void keepsNameOrderAcrossCategoriesAndShowsAll()
    {
        CardTree card;
        card.makeCard();
        card.file(QStringLiteral("EVENT/b/20120315_100000_E01.mp4"));
        card.file(QStringLiteral("INFINITE/a/20120315_120000_I01.mp4"));
        card.file(QStringLiteral("INFINITE/b/20120315_090000_I01.mp4"));
        card.file(QStringLiteral("MOTION/c/20120314_230000_M01.mp4"));
        RecordingLibrary lib;
        FakeRecordingListView view;
        view.rows.append(FakeRecordingListView::Row{}); // left over from before: the scan empties the control
        lib.SetListView(&view);
        QSignalSpy shown(&lib, &RecordingLibrary::categoryShown);
        lib.ScanCard(card.root());

        QCOMPARE(names(lib, CategoryAll),
                 QStringList({"20120314_230000_M01.mp4", "20120315_090000_I01.mp4", "20120315_100000_E01.mp4",
                              "20120315_120000_I01.mp4"}));
        QCOMPARE(names(lib, CategoryNormal), QStringList({"20120315_090000_I01.mp4", "20120315_120000_I01.mp4"}));
        QCOMPARE(lib.view(CategoryAll).count, 4);
        QCOMPARE(lib.view(CategoryNormal).count, 2);
        QCOMPARE(lib.view(CategoryManual).count, 0);
        QCOMPARE(lib.shownCategory(), 0);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 0);

        QCOMPARE(view.rows.size(), 4);
        QCOMPARE(view.rows.at(2).text, QStringLiteral("20120315_100000_E01.mp4"));
        QCOMPARE(view.rows.at(2).typeText, QStringLiteral("EVENT"));
        QCOMPARE(view.rows.at(2).kind, 3);
        QCOMPARE(view.rows.at(2).height, 20);
        QCOMPARE(view.rows.at(2).userData, 0);
        QCOMPARE(view.rows.at(2).path, lib.GetRecording(CategoryAll, 2)->path);
        QCOMPARE(view.selection, 0);

        view.rows.clear();
        lib.FillRecordingList(CategoryEvent);
        QCOMPARE(view.paths(), QStringList({card.path("EVENT/b/20120315_100000_E01.mp4")}));
    }

    void emptyCardSelectsNoRow()
    {
        CardTree card;
        card.makeCard();
        RecordingLibrary lib;
        FakeRecordingListView view;
        lib.SetListView(&view);
        lib.ScanCard(card.root());
        QCOMPARE(view.rows.size(), 0);
        QCOMPARE(view.selectRowCalls, 0);
        QCOMPARE(lib.shownCategory(), 0);
    }

    void equalNamesKeepTheOrderTheyCameIn()
    {
        CardTree card;
        card.makeCard();
        const QString name = QStringLiteral("20120315_142501_I01.mp4");
        card.file("INFINITE/first/" + name);
        card.file("INFINITE/second/" + name);
        card.file(QStringLiteral("INFINITE/third/20120315_142500_I01.mp4"));
        // The order the folder listing gives, which is the camera's (FAT) order on a real card.
        QStringList discovered;
        QDirIterator it(card.path("INFINITE"), QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            const QString sub = QFileInfo(it.next()).fileName();
            if (sub != QLatin1String("third"))
                discovered << "INFINITE/" + sub + "/" + name;
        }
        RecordingLibrary lib;
        lib.ScanCard(card.root());
        const QStringList expected = QStringList{"INFINITE/third/20120315_142500_I01.mp4"} + discovered;
        QCOMPARE(paths(lib, CategoryNormal, card.root()), expected);
        QCOMPARE(paths(lib, CategoryAll, card.root()), expected);

        // The same rule for files added by hand: after every entry of the same name.
        lib.AddRecording(0, CategoryAll, card.path("INFINITE/first/" + name), name);
        QCOMPARE(paths(lib, CategoryAll, card.root()), expected + QStringList{"INFINITE/first/" + name});
        QCOMPARE(lib.GetRecording(CategoryAll, 3)->type, QStringLiteral("ALL"));
        QCOMPARE(lib.view(CategoryAll).count, 4);
    }

    void ordersByCodeUnitNotLocale()
    {
        CardTree card;
        RecordingLibrary lib;
        for (const char* n : {"b.mp4", "B.mp4", "a.mp4", "\xc3\xa4.mp4", "_.mp4"}) {
            const QString name = QString::fromUtf8(n);
            card.file(name);
            QVERIFY(lib.AddRecording(1, 1, card.path(name), name));
        }
        QCOMPARE(names(lib, 1), QStringList({"B.mp4", "_.mp4", "a.mp4", "b.mp4", QString::fromUtf8("\xc3\xa4.mp4")}));
    }

    void takesBirthTimeElseModificationTimeInLocalTime()
    {
        CardTree card;
        card.file(QStringLiteral("x.mp4"));
        QFile f(card.path("x.mp4"));
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QDateTime set(QDate(2012, 3, 15), QTime(14, 25, 1, 250), Qt::LocalTime);
        QVERIFY(f.setFileTime(set, QFileDevice::FileModificationTime));
        f.close();
        RecordingLibrary lib;
        QVERIFY(lib.AddRecording(1, 1, card.path("x.mp4"), "x.mp4"));
        const QFileInfo info(card.path("x.mp4"));
        const QDateTime expected = info.birthTime().isValid() ? info.birthTime() : set;
        QCOMPARE(lib.GetRecording(1, 0)->time, CalendarTime::FromDateTime(expected.toLocalTime()));
        QVERIFY(lib.GetRecording(1, 0)->time.year >= 2012);
    }

    void addRecordingRefusesWhatItCannotOpen()
    {
        CardTree card;
        RecordingLibrary lib;
        QVERIFY(!lib.AddRecording(1, 1, card.path("absent.mp4"), "absent.mp4"));
        QVERIFY(!lib.AddRecording(1, 7, card.path("absent.mp4"), "absent.mp4"));
        QCOMPARE(lib.view(1).count, 0);
    }

    void classifiesOpenedFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("category");
        QTest::newRow("I at M1") << "20120315_142501_I01.mp4" << 1;
        QTest::newRow("B at M1") << "20120315_142501_B01.mp4" << 2;
        QTest::newRow("E at M1") << "20120315_142501_E01.mp4" << 2;
        QTest::newRow("P at M1") << "20120315_142501_P01.mp4" << 4;
        QTest::newRow("M is not motion") << "20120315_142501_M01.mp4" << 0;
        QTest::newRow("22 characters") << "2012031_142501_I01.mp4" << 0;
        QTest::newRow("I at M2, 25 characters") << "20120315_142501_F01_I.mp4" << 1;
        QTest::newRow("27 characters, E at M2 wins over nothing") << "20120315_142501_ABCDEFE.mp4" << 2;
        QTest::newRow("I beats E") << "20120315_142501_E0I.mp4" << 1;
        QTest::newRow("letter in date") << "2012031x_142501_I01.mp4" << 0;
        QTest::newRow("no underscore after date") << "20120315-142501_I01.mp4" << 0;
        QTest::newRow("no underscore after time") << "20120315_142501-I01.mp4" << 0;
        QTest::newRow("lower-case marker") << "20120315_142501_i01.mp4" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void classifiesOpenedFileNames()
    {
        QFETCH(QString, name);
        QFETCH(int, category);
        QCOMPARE(RecordingLibrary::ClassifyRecordingName(name), category);
    }

    void removesFirstMatchIgnoringCase()
    {
        CardTree card;
        RecordingLibrary lib;
        card.file(QStringLiteral("a/x.mp4"));
        card.file(QStringLiteral("b/x.mp4"));
        lib.AddRecording(1, 1, card.path("a/x.mp4"), "x.mp4");
        lib.AddRecording(1, 1, card.path("b/x.mp4"), "x.mp4");
        lib.AddRecording(1, 1, card.path("a/x.mp4"), "x.mp4");
        QVERIFY(!lib.RemoveRecording(1, card.path("c/x.mp4")));
        QVERIFY(lib.RemoveRecording(1, card.path("A/X.MP4")));
        QCOMPARE(paths(lib, 1, card.root()), QStringList({"b/x.mp4", "a/x.mp4"}));
        QCOMPARE(lib.view(1).count, 2);
        QVERIFY(!lib.RemoveRecording(-1, card.path("a/x.mp4")));
        QCOMPARE(lib.GetRecording(1, 2), nullptr);
        QCOMPARE(lib.GetRecording(1, -1), nullptr);
        QCOMPARE(lib.GetRecording(5, 0), nullptr);
    }

    void clearAndResetLeaveCountsTrue()
    {
        CardTree card;
        card.makeCard();
        card.file(QStringLiteral("INFINITE/a/20120315_142501_I01.mp4"));
        RecordingLibrary lib;
        FakeRecordingListView view;
        lib.SetListView(&view);
        lib.ScanCard(card.root());
        lib.SetSelectedRow(1, 0);
        lib.SetScrollPos(1, 40);
        lib.SetPlayingCategory(1);

        lib.ClearLibrary();
        QCOMPARE(lib.RecordingCount(CategoryAll), 0);
        QCOMPARE(lib.view(1).count, 0);
        QCOMPARE(lib.view(1).selected, 0); // the view position survives a clear
        QCOMPARE(lib.view(1).scrollPos, 40);
        // A second scan does not count the same recordings twice.
        lib.ScanCard(card.root());
        QCOMPARE(lib.view(CategoryAll).count, 1);

        QSignalSpy reset(&lib, &RecordingLibrary::libraryReset);
        view.scrollPos = 60;
        lib.ResetLibrary();
        QCOMPARE(reset.size(), 1);
        QCOMPARE(lib.view(1).selected, -1);
        QCOMPARE(lib.view(1).scrollPos, 0);
        QCOMPARE(lib.view(CategoryAll).count, 0);
        QCOMPARE(lib.shownCategory(), -1);
        QCOMPARE(lib.playingCategory(), -1);
        QCOMPARE(view.rows.size(), 0);
        QCOMPARE(view.selection, -1);
        QCOMPARE(view.scrollPos, 0);
    }

    // Links that loop, names that are not UTF-8, a FIFO where a recording should
    // be: the scan finishes, lists the good file and passes over the rest.
    void survivesHostileCards()
    {
        CardTree card;
        card.makeCard();
        const QString good = QStringLiteral("INFINITE/a/20120315_142501_I01.mp4");
        card.file(good);
        const QByteArray a = QFile::encodeName(card.path("INFINITE/a/"));
        const QByteArray top = QFile::encodeName(card.path("INFINITE/"));
        QCOMPARE(::symlink("..", QByteArray(a + "up.mp4").constData()), 0);
        QCOMPARE(::symlink("loop", QByteArray(top + "loop").constData()), 0);
        QCOMPARE(::symlink("20120315_142502_I01.mp4", QByteArray(a + "20120315_142502_I01.mp4").constData()), 0);
        QCOMPARE(::symlink(".", QByteArray(top + "again").constData()), 0);
        QCOMPARE(::mkfifo(QByteArray(a + "20120315_142503_I01.mp4").constData(), 0644), 0);
        const QByteArray badName = QByteArray(a + "20120315_142504_I01\xff\xfe.mp4");
        {
            FILE* f = std::fopen(badName.constData(), "wb");
            QVERIFY(f);
            std::fseek(f, 4095, SEEK_SET);
            std::fputc(0, f);
            std::fclose(f);
        }
        QCOMPARE(::mkdir(QByteArray(top + "\xff\xfe").constData(), 0755), 0);

        QStringList traces;
        SetTraceSink([&](const QString& l) { traces << l; });
        RecordingLibrary lib;
        lib.ScanCard(card.root());
        SetTraceSink({});

        // The walk goes one subfolder down and no further, whatever the links say.
        QCOMPARE(paths(lib, CategoryNormal, card.root()), QStringList{good});
        QCOMPARE(lib.RecordingCount(CategoryAll), 1);
        QCOMPARE(traces.filter(QStringLiteral("not UTF-8")).size(), 2);
        QVERIFY(traces.filter(QStringLiteral("\\xff\\xfe.mp4")).size() == 1);
    }
};

QTEST_GUILESS_MAIN(RecordingScanTest)
#include "RecordingScanTest.moc"

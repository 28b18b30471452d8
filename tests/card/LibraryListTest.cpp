// The library filling the real recording list control.
#include "listctrl/CHTMLListCtrl.h"
#include "card/CardTree.h"
#include "card/HTMLListRecordingView.h"
#include "card/RecordingLibrary.h"

#include <QTest>

class LibraryListTest : public QObject {
    Q_OBJECT
private slots:
    void scanFillsAndResetEmptiesTheList()
    {
        CardTree card;
        card.makeCard();
        for (int i = 0; i < 15; ++i)
            card.file(QStringLiteral("INFINITE/0315/20120315_1425%1_I01.mp4").arg(i, 2, 10, QLatin1Char('0')));
        card.file(QStringLiteral("EVENT/0315/20120315_142530_E01.mp4"));
        CHTMLListCtrl list;
        list.Create(nullptr, QRect(0, 0, 413, 200));
        HTMLListRecordingView view(list);
        RecordingLibrary lib;
        lib.SetListView(&view);
        lib.ScanCard(card.root());

        QCOMPARE(list.GetRowCount(), 16);
        QCOMPARE(list.GetSelection(), 0);
        for (int i = 0; i < 16; ++i) {
            const BBOX_ITEM* e = lib.GetRecording(CategoryAll, i);
            const HTMLLIST_ITEM* row = list.FindRow(i);
            QVERIFY(row);
            QCOMPARE(row->text, e->name);
            QCOMPARE(row->path, e->path);
            QCOMPARE(row->typeText, e->type);
            QCOMPARE(row->kind, HTMLLIST_KIND_RECORDING);
            QCOMPARE(row->height, 20);
            QCOMPARE(row->time.year, e->time.year);
            QCOMPARE(row->time.second, e->time.second);
        }
        QCOMPARE(list.FindRow(15)->typeText, QStringLiteral("EVENT"));
        QCOMPARE(list.FindRow(15)->text, QStringLiteral("20120315_142530_E01.mp4"));

        list.SetScrollPos(100);
        lib.ResetLibrary();
        QCOMPARE(list.GetRowCount(), 0);
        QCOMPARE(list.GetSelection(), -1);
        QCOMPARE(list.GetScrollPos(), 0);
    }
};

QTEST_MAIN(LibraryListTest)
#include "LibraryListTest.moc"

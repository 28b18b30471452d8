// The recording list as a user drives it: mouse, keys, wheel, scroll bar,
// row deletion, what the parent is told, and what ends up on screen.
#include "listctrl/CHTMLListCtrl.h"

#include <QDir>
#include <QPainter>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

constexpr int kStyle = 3; // what the main window sets

QString rowName(int i)
{
    return QStringLiteral("20261209_14%1%2_I01.mp4")
        .arg(i / 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}

HTMLLIST_TIME rowTime(int i)
{
    return CalendarTime::FromDateTime(
        QDateTime(QDate(2026, 12, 9), QTime(14, 0, 0).addSecs(i * 61)));
}

// A list of the main window's size with `rows` recordings, and a log of every
// notification as "code:row:ticked".
struct ListFixture {
    explicit ListFixture(int rows, int style = kStyle)
    {
        list = std::make_unique<CHTMLListCtrl>();
        list->SetStyle(style);
        list->Create(nullptr, QRect(0, 0, 413, 200));
        for (int i = 0; i < rows; ++i)
            list->InsertRow(HTMLLIST_KIND_RECORDING, rowName(i),
                            QStringLiteral("/card/INFINITE/1209/") + rowName(i),
                            QStringLiteral("NORMAL"), 0, 20, rowTime(i));
        QObject::connect(list.get(), &CHTMLListCtrl::notify, list.get(),
                         [this](const HTMLLIST_NOTIFY& nm) {
                             log << QStringLiteral("%1:%2:%3")
                                        .arg(nm.hdr.code)
                                        .arg(nm.row)
                                        .arg(nm.ticked);
                             notes << nm;
                         });
    }
    void tick(const QList<int>& rows)
    {
        for (int r : rows)
            list->SetRowTicked(r, 1);
    }
    QList<int> ticked() const
    {
        QList<int> out;
        for (int r = 0; r < list->GetRowCount(); ++r)
            if (list->GetRowTicked(r))
                out << r;
        return out;
    }
    std::unique_ptr<CHTMLListCtrl> list;
    QStringList log;
    QList<HTMLLIST_NOTIFY> notes;
};

// Flat, distinct colours in the skin strips' geometry, so a pixel tells
// which cell or band was copied where.
const QColor kCellSelUnticked(200, 0, 0);
const QColor kCellUnticked(0, 200, 0);
const QColor kCellSelTicked(0, 0, 200);
const QColor kCellTicked(200, 200, 0);
const QColor kRowPlain(50, 60, 70);
const QColor kRowSelected(90, 20, 120);

void useTestSkin(CHTMLListCtrl& list)
{
    QPixmap check(128, 20);
    {
        QPainter p(&check);
        p.fillRect(0, 0, 32, 20, kCellSelUnticked);
        p.fillRect(32, 0, 32, 20, kCellUnticked);
        p.fillRect(64, 0, 32, 20, kCellSelTicked);
        p.fillRect(96, 0, 32, 20, kCellTicked);
    }
    QPixmap rows(383, 40);
    {
        QPainter p(&rows);
        p.fillRect(0, 0, 383, 20, kRowPlain);
        p.fillRect(0, 20, 383, 20, kRowSelected);
    }
    list.SetSkinImages(check, rows);
}

// Through the window, so a double click arrives as the platform delivers it:
// press, release, double-click, release.
void click(CHTMLListCtrl& list, Qt::MouseButton button, QPoint pt)
{
    QTest::mouseClick(list.windowHandle(), button, {}, list.mapTo(list.window(), pt));
}

void doubleClick(CHTMLListCtrl& list, Qt::MouseButton button, QPoint pt)
{
    QTest::mouseDClick(list.windowHandle(), button, {}, list.mapTo(list.window(), pt));
}

QColor brightestIn(const QImage& img, const QRect& r)
{
    QColor best(0, 0, 0);
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() > best.red() + best.green() + best.blue())
                best = c;
        }
    return best;
}

} // namespace

class HTMLListCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void clicks_data();
    void clicks();
    void doubleClicks_data();
    void doubleClicks();
    void keys_data();
    void keys();
    void wheel_data();
    void wheel();
    void scrollBar_data();
    void scrollBar();
    void ensureRowVisible_data();
    void ensureRowVisible();
    void deleteRow_data();
    void deleteRow();
    void deletingRowsShrinksScrollRange();
    void scrollBarOnlyWhenRowsOverflow();
    void notificationsCarryTheRow();
    void survivesRowsClearedByHandler();
    void unknownRowsAreIgnored();
    void formatsTime_data();
    void formatsTime();
    void rendering_data();
    void rendering();
    void textColourFollowsSelection();
    void rendersFilledListScreenshot();
};

void HTMLListCtrlTest::clicks_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<QPoint>("pt");
    QTest::addColumn<QList<int>>("tickedBefore");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QList<int>>("tickedAfter");
    QTest::addColumn<QStringList>("log");

    const auto L = Qt::LeftButton;
    const auto R = Qt::RightButton;
    QTest::newRow("left on text selects") << 30 << L << 0 << QPoint(200, 25) << QList<int>{} << 1 << QList<int>{} << QStringList{};
    QTest::newRow("left on box ticks silently") << 30 << L << 0 << QPoint(10, 25) << QList<int>{} << 1 << QList<int>{1} << QStringList{};
    QTest::newRow("left on box corner unticks") << 30 << L << 0 << QPoint(31, 39) << QList<int>{1} << 1 << QList<int>{} << QStringList{};
    QTest::newRow("left right of box") << 30 << L << 0 << QPoint(32, 25) << QList<int>{} << 1 << QList<int>{} << QStringList{};
    QTest::newRow("left below rows clears") << 3 << L << 0 << QPoint(200, 100) << QList<int>{} << -1 << QList<int>{} << QStringList{};
    QTest::newRow("left follows scroll") << 30 << L << 30 << QPoint(200, 5) << QList<int>{} << 1 << QList<int>{} << QStringList{};
    QTest::newRow("left box follows scroll") << 30 << L << 30 << QPoint(10, 12) << QList<int>{} << 2 << QList<int>{2} << QStringList{};
    QTest::newRow("right on text") << 30 << R << 0 << QPoint(200, 45) << QList<int>{} << 2 << QList<int>{} << QStringList{"3:2:0"};
    QTest::newRow("right on box ticks") << 30 << R << 0 << QPoint(5, 45) << QList<int>{} << 2 << QList<int>{2} << QStringList{"5:2:1", "3:2:1"};
    QTest::newRow("right on box unticks") << 30 << R << 0 << QPoint(5, 45) << QList<int>{2} << 2 << QList<int>{} << QStringList{"5:2:0", "3:2:0"};
    QTest::newRow("right below rows clears") << 3 << R << 0 << QPoint(200, 100) << QList<int>{} << -1 << QList<int>{} << QStringList{};
}

void HTMLListCtrlTest::clicks()
{
    QFETCH(int, rows);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, scroll);
    QFETCH(QPoint, pt);
    QFETCH(QList<int>, tickedBefore);
    QFETCH(int, selection);
    QFETCH(QList<int>, tickedAfter);
    QFETCH(QStringList, log);

    ListFixture f(rows);
    f.tick(tickedBefore);
    f.list->SetSelection(1);
    f.list->SetScrollPos(scroll);
    QCOMPARE(f.list->GetScrollPos(), scroll);
    click(*f.list, button, pt);
    QCOMPARE(f.list->GetSelection(), selection);
    QCOMPARE(f.ticked(), tickedAfter);
    QCOMPARE(f.log, log);
    QCOMPARE(f.list->window()->focusWidget(), f.list.get());
}

void HTMLListCtrlTest::doubleClicks_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("pt");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QList<int>>("tickedAfter");
    QTest::addColumn<QStringList>("log");

    QTest::newRow("on text plays") << 30 << Qt::LeftButton << QPoint(200, 65) << 3 << QList<int>{} << QStringList{"4:3:0"};
    QTest::newRow("on box flips once and plays") << 30 << Qt::LeftButton << QPoint(5, 65) << 3 << QList<int>{3} << QStringList{"4:3:1"};
    QTest::newRow("below rows") << 3 << Qt::LeftButton << QPoint(200, 150) << -1 << QList<int>{} << QStringList{};
    QTest::newRow("right double on box flips once") << 30 << Qt::RightButton << QPoint(5, 65) << 3 << QList<int>{3} << QStringList{"5:3:1", "3:3:1"};
}

void HTMLListCtrlTest::doubleClicks()
{
    QFETCH(int, rows);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, pt);
    QFETCH(int, selection);
    QFETCH(QList<int>, tickedAfter);
    QFETCH(QStringList, log);

    ListFixture f(rows);
    doubleClick(*f.list, button, pt);
    QCOMPARE(f.list->GetSelection(), selection);
    QCOMPARE(f.ticked(), tickedAfter);
    QCOMPARE(f.log, log);
}

void HTMLListCtrlTest::keys_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("selBefore");
    QTest::addColumn<int>("scrollBefore");
    QTest::addColumn<QList<int>>("tickedBefore");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<QList<int>>("tickedAfter");
    QTest::addColumn<QStringList>("log");

    const QList<int> none;
    QTest::newRow("up without selection takes first") << 30 << 3 << int(Qt::Key_Up) << -1 << 0 << none << 0 << 0 << none << QStringList{"1:0:0"};
    QTest::newRow("up on first stays and reports") << 30 << 3 << int(Qt::Key_Up) << 0 << 0 << none << 0 << 0 << none << QStringList{"1:0:0"};
    QTest::newRow("up scrolls row to top") << 30 << 3 << int(Qt::Key_Up) << 10 << 220 << QList<int>{9} << 9 << 180 << QList<int>{9} << QStringList{"1:9:1"};
    QTest::newRow("down without selection takes last") << 30 << 3 << int(Qt::Key_Down) << -1 << 0 << none << 29 << 400 << none << QStringList{"1:29:0"};
    QTest::newRow("down on last stays and reports") << 30 << 3 << int(Qt::Key_Down) << 29 << 400 << none << 29 << 400 << none << QStringList{"1:29:0"};
    QTest::newRow("down scrolls row to bottom") << 30 << 3 << int(Qt::Key_Down) << 9 << 0 << none << 10 << 20 << none << QStringList{"1:10:0"};
    QTest::newRow("down on empty list") << 0 << 3 << int(Qt::Key_Down) << -1 << 0 << none << -1 << 0 << none << QStringList{};
    QTest::newRow("up on empty list") << 0 << 3 << int(Qt::Key_Up) << -1 << 0 << none << -1 << 0 << none << QStringList{};
    QTest::newRow("space ticks selected") << 30 << 3 << int(Qt::Key_Space) << 2 << 0 << none << 2 << 0 << QList<int>{2} << QStringList{"5:2:1"};
    QTest::newRow("space unticks selected") << 30 << 3 << int(Qt::Key_Space) << 2 << 0 << QList<int>{2} << 2 << 0 << none << QStringList{"5:2:0"};
    QTest::newRow("space without selection") << 30 << 3 << int(Qt::Key_Space) << -1 << 0 << none << -1 << 0 << none << QStringList{};
    QTest::newRow("space without check column") << 30 << 2 << int(Qt::Key_Space) << 2 << 0 << none << 2 << 0 << none << QStringList{};
    QTest::newRow("other key does nothing") << 30 << 3 << int(Qt::Key_Return) << 2 << 0 << none << 2 << 0 << none << QStringList{};
}

void HTMLListCtrlTest::keys()
{
    QFETCH(int, rows);
    QFETCH(int, style);
    QFETCH(int, key);
    QFETCH(int, selBefore);
    QFETCH(int, scrollBefore);
    QFETCH(QList<int>, tickedBefore);
    QFETCH(int, selection);
    QFETCH(int, scroll);
    QFETCH(QList<int>, tickedAfter);
    QFETCH(QStringList, log);

    ListFixture f(rows, style);
    f.tick(tickedBefore);
    f.list->SetSelection(selBefore);
    f.list->SetScrollPos(scrollBefore);
    QTest::keyClick(f.list.get(), Qt::Key(key));
    QCOMPARE(f.list->GetSelection(), selection);
    QCOMPARE(f.list->GetScrollPos(), scroll);
    QCOMPARE(f.ticked(), tickedAfter);
    QCOMPARE(f.log, log);
}

void HTMLListCtrlTest::wheel_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("start");
    QTest::addColumn<QList<int>>("deltas");
    QTest::addColumn<int>("end");

    // 30 rows of 20 in a 200-pixel client: positions 0..400.
    QTest::newRow("notch towards user") << 30 << 0 << QList<int>{-120} << 20;
    QTest::newRow("notch away") << 30 << 50 << QList<int>{120} << 30;
    QTest::newRow("stops at largest") << 30 << 390 << QList<int>{-120} << 400;
    QTest::newRow("stays at largest") << 30 << 400 << QList<int>{-120, -120} << 400;
    QTest::newRow("stops at top") << 30 << 10 << QList<int>{120} << 0;
    QTest::newRow("three notches in one turn") << 30 << 0 << QList<int>{-360} << 60;
    QTest::newRow("half notches add up") << 30 << 0 << QList<int>{-60, -60} << 20;
    QTest::newRow("half notch alone") << 30 << 0 << QList<int>{-60} << 0;
    QTest::newRow("turning back drops the half") << 30 << 100 << QList<int>{-60, 60, 60} << 80;
    QTest::newRow("short list never scrolls") << 5 << 0 << QList<int>{-120} << 0;
}

void HTMLListCtrlTest::wheel()
{
    QFETCH(int, rows);
    QFETCH(int, start);
    QFETCH(QList<int>, deltas);
    QFETCH(int, end);

    ListFixture f(rows);
    f.list->SetScrollPos(start);
    for (int d : deltas) {
        QWheelEvent ev(QPointF(100, 100), f.list->mapToGlobal(QPointF(100, 100)), QPoint(),
                       QPoint(0, d), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.list.get(), &ev);
    }
    QCOMPARE(f.list->GetScrollPos(), end);
}

void HTMLListCtrlTest::scrollBar_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("end");

    using S = QAbstractSlider;
    QTest::newRow("line down") << 0 << int(S::SliderSingleStepAdd) << 50;
    QTest::newRow("page down is a line too") << 0 << int(S::SliderPageStepAdd) << 50;
    QTest::newRow("line down near end") << 380 << int(S::SliderSingleStepAdd) << 400;
    QTest::newRow("page down at end") << 400 << int(S::SliderPageStepAdd) << 400;
    QTest::newRow("line up near top") << 30 << int(S::SliderSingleStepSub) << 0;
    QTest::newRow("page up") << 100 << int(S::SliderPageStepSub) << 50;
    QTest::newRow("line up at top") << 0 << int(S::SliderSingleStepSub) << 0;
    QTest::newRow("top is ignored") << 100 << int(S::SliderToMinimum) << 100;
    QTest::newRow("bottom is ignored") << 100 << int(S::SliderToMaximum) << 100;
}

void HTMLListCtrlTest::scrollBar()
{
    QFETCH(int, start);
    QFETCH(int, action);
    QFETCH(int, end);

    ListFixture f(30);
    QScrollBar* bar = f.list->verticalScrollBar();
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->pageStep(), 200);
    f.list->SetScrollPos(start);
    bar->triggerAction(QAbstractSlider::SliderAction(action));
    QCOMPARE(f.list->GetScrollPos(), end);

    // Dragging the thumb follows it.
    bar->setSliderDown(true);
    bar->setSliderPosition(123);
    bar->setSliderDown(false);
    QCOMPARE(f.list->GetScrollPos(), 123);
}

void HTMLListCtrlTest::ensureRowVisible_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("end");

    // Rows are 20 high; the client shows 200 pixels from the position.
    QTest::newRow("row above comes to top") << 100 << 2 << 40;
    QTest::newRow("row partly above") << 100 << 4 << 80;
    QTest::newRow("row in view") << 100 << 5 << 100;
    QTest::newRow("last fully visible row") << 100 << 14 << 100;
    QTest::newRow("row partly below comes to bottom") << 100 << 15 << 120;
    QTest::newRow("last row") << 0 << 29 << 400;
    QTest::newRow("unknown row") << 100 << 30 << 100;
    QTest::newRow("no row") << 100 << -1 << 100;
}

void HTMLListCtrlTest::ensureRowVisible()
{
    QFETCH(int, start);
    QFETCH(int, row);
    QFETCH(int, end);

    ListFixture f(30);
    f.list->SetScrollPos(start);
    f.list->EnsureRowVisible(row);
    QCOMPARE(f.list->GetScrollPos(), end);
}

void HTMLListCtrlTest::deleteRow_data()
{
    QTest::addColumn<int>("selBefore");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("selectedOriginal"); // which of the original rows is now selected

    QTest::newRow("selection after keeps its number") << 5 << 2 << true << 5 << 6;
    QTest::newRow("selected row deleted") << 2 << 2 << true << -1 << -1;
    QTest::newRow("selection before unchanged") << 1 << 2 << true << 1 << 1;
    QTest::newRow("selected last row has no follower") << 7 << 2 << true << -1 << -1;
    QTest::newRow("last row deleted") << 3 << 7 << true << 3 << 3;
    QTest::newRow("no such row") << 5 << 8 << false << 5 << 5;
    QTest::newRow("negative row") << 5 << -1 << false << 5 << 5;
}

void HTMLListCtrlTest::deleteRow()
{
    QFETCH(int, selBefore);
    QFETCH(int, row);
    QFETCH(bool, found);
    QFETCH(int, selection);
    QFETCH(int, selectedOriginal);

    ListFixture f(8);
    f.list->SetSelection(selBefore);
    QCOMPARE(f.list->DeleteRow(row), found);
    QCOMPARE(f.list->GetSelection(), selection);
    if (selectedOriginal >= 0)
        QCOMPARE(f.list->FindRow(selection)->text, rowName(selectedOriginal));

    QStringList expected;
    for (int i = 0; i < 8; ++i)
        if (!found || i != row)
            expected << rowName(i);
    QCOMPARE(f.list->GetRowCount(), expected.size());
    QCOMPARE(f.list->GetTotalHeight(), 20 * int(expected.size()));
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(f.list->FindRow(i)->index, i);
        QCOMPARE(f.list->FindRow(i)->text, expected[i]);
    }
    QVERIFY(!f.list->FindRow(int(expected.size())));
}

void HTMLListCtrlTest::deletingRowsShrinksScrollRange()
{
    ListFixture f(30);
    f.list->SetScrollPos(400);
    QVERIFY(f.list->DeleteRow(0));
    QCOMPARE(f.list->GetMaxScrollPos(), 380);
    QCOMPARE(f.list->GetScrollPos(), 380);

    // Emptying keeps the selection: the caller decides it.
    f.list->SetSelection(4);
    f.list->DeleteAllRows();
    QCOMPARE(f.list->GetRowCount(), 0);
    QCOMPARE(f.list->GetTotalHeight(), 0);
    QCOMPARE(f.list->GetScrollPos(), 0);
    QCOMPARE(f.list->GetMaxScrollPos(), 0);
    QCOMPARE(f.list->GetSelection(), 4);
    QCOMPARE(f.list->InsertRow(3, rowName(0), rowName(0), QStringLiteral("EVENT"), 0, 20, {}), 0);
}

void HTMLListCtrlTest::scrollBarOnlyWhenRowsOverflow()
{
    ListFixture f(10);
    QScrollBar* bar = f.list->verticalScrollBar();
    QVERIFY(bar->isHidden());
    QCOMPARE(f.list->clientWidth(), 413);

    f.list->InsertRow(3, rowName(10), rowName(10), QStringLiteral("NORMAL"), 0, 20, {});
    QVERIFY(!bar->isHidden());
    QCOMPARE(f.list->GetMaxScrollPos(), 20);
    QCOMPARE(f.list->clientWidth(), 413 - bar->width());
    QCOMPARE(bar->geometry().right(), 412);

    f.list->DeleteRow(0);
    QVERIFY(bar->isHidden());
    QCOMPARE(f.list->clientWidth(), 413);

    // A smaller control pages by its own height.
    for (int i = 0; i < 20; ++i)
        f.list->InsertRow(3, rowName(i), rowName(i), QStringLiteral("NORMAL"), 0, 20, {});
    f.list->resize(413, 100);
    QCOMPARE(f.list->clientHeight(), 100);
    QCOMPARE(bar->pageStep(), 100);
    QCOMPARE(f.list->GetMaxScrollPos(), 600 - 100);
}

void HTMLListCtrlTest::notificationsCarryTheRow()
{
    ListFixture f(30);
    f.list->SetRowTicked(4, 1);
    click(*f.list, Qt::RightButton, QPoint(200, 85));
    doubleClick(*f.list, Qt::LeftButton, QPoint(200, 105));
    QTest::keyClick(f.list.get(), Qt::Key_Down);
    QCOMPARE(f.log, (QStringList{"3:4:1", "4:5:0", "1:6:0"}));
    const int rows[] = {4, 5, 6};
    for (int i = 0; i < 3; ++i) {
        const HTMLLIST_NOTIFY& nm = f.notes[i];
        QCOMPARE(nm.hdr.hwndFrom, f.list.get());
        QCOMPARE(nm.hdr.idFrom, 415);
        QCOMPARE(nm.text, rowName(rows[i]));
        QCOMPARE(nm.itemData, 0);
    }
}

void HTMLListCtrlTest::survivesRowsClearedByHandler()
{
    // The main window may empty the list while handling a notification.
    ListFixture f(30);
    QObject::connect(f.list.get(), &CHTMLListCtrl::notify, f.list.get(),
                     [&f](const HTMLLIST_NOTIFY& nm) {
                         if (nm.hdr.code == HTMLLIST_CHECKCHANGED)
                             f.list->DeleteAllRows();
                     });
    click(*f.list, Qt::RightButton, QPoint(5, 45));
    QCOMPARE(f.log, QStringList{"5:2:1"});
    QCOMPARE(f.list->GetRowCount(), 0);
    QCOMPARE(f.list->GetSelection(), -1);
    f.list->grab(); // paints without touching the deleted rows
}

void HTMLListCtrlTest::unknownRowsAreIgnored()
{
    ListFixture f(3);
    QVERIFY(!f.list->FindRow(3));
    QVERIFY(!f.list->FindRow(-1));
    QCOMPARE(f.list->GetRowTicked(3), 0);
    f.list->SetRowTicked(3, 1);
    f.list->SetRowTicked(-1, 1);
    QCOMPARE(f.ticked(), QList<int>{});
    f.list->SelectRow(9);
    QCOMPARE(f.list->GetScrollPos(), 0);
}

void HTMLListCtrlTest::formatsTime_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("full year") << QDateTime(QDate(2012, 3, 15), QTime(14, 25, 1)) << "2012.03.15. 14:25:01";
    QTest::newRow("end of year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999)) << "2026.12.31. 23:59:59";
    QTest::newRow("unreadable time") << QDateTime() << "00.00.00. 00:00:00";
}

void HTMLListCtrlTest::formatsTime()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, text);
    QCOMPARE(CHTMLListCtrl::FormatRowTime(CalendarTime::FromDateTime(time)), text);
}

void HTMLListCtrlTest::rendering_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("scroll");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QPoint>("pt");
    QTest::addColumn<QColor>("colour");

    const QList<int> none;
    QTest::newRow("empty list: stripe box at bottom") << 0 << 3 << 0 << -1 << none << QPoint(5, 199) << kCellUnticked;
    QTest::newRow("empty list: stripe row at bottom") << 0 << 3 << 0 << -1 << none << QPoint(300, 199) << kRowPlain;
    QTest::newRow("stripe below last row") << 3 << 3 << 0 << 1 << none << QPoint(300, 150) << kRowPlain;
    QTest::newRow("selected row background") << 5 << 3 << 0 << 1 << none << QPoint(33, 21) << kRowSelected;
    QTest::newRow("selected row box") << 5 << 3 << 0 << 1 << none << QPoint(5, 21) << kCellSelUnticked;
    QTest::newRow("ticked row box") << 5 << 3 << 0 << 1 << QList<int>{2} << QPoint(5, 45) << kCellTicked;
    QTest::newRow("ticked selected box") << 5 << 3 << 0 << 2 << QList<int>{2} << QPoint(5, 45) << kCellSelTicked;
    QTest::newRow("plain row background") << 5 << 3 << 0 << 1 << none << QPoint(33, 65) << kRowPlain;
    QTest::newRow("plain row box") << 5 << 3 << 0 << 1 << none << QPoint(5, 65) << kCellUnticked;
    QTest::newRow("scroll moves rows up") << 30 << 3 << 10 << 0 << none << QPoint(5, 5) << kCellSelUnticked;
    QTest::newRow("scroll moves next row up") << 30 << 3 << 10 << 0 << none << QPoint(5, 15) << kCellUnticked;
    QTest::newRow("no check column leaves stripe") << 5 << 2 << 0 << 1 << QList<int>{1} << QPoint(5, 25) << kCellUnticked;
    QTest::newRow("no check column row background") << 5 << 2 << 0 << 1 << none << QPoint(33, 25) << kRowSelected;
}

void HTMLListCtrlTest::rendering()
{
    QFETCH(int, rows);
    QFETCH(int, style);
    QFETCH(int, scroll);
    QFETCH(int, selection);
    QFETCH(QList<int>, ticked);
    QFETCH(QPoint, pt);
    QFETCH(QColor, colour);

    ListFixture f(rows, style);
    useTestSkin(*f.list);
    f.tick(ticked);
    f.list->SetSelection(selection);
    f.list->SetScrollPos(scroll);
    const QImage img = f.list->grab().toImage();
    QCOMPARE(img.pixelColor(pt), colour);
}

void HTMLListCtrlTest::textColourFollowsSelection()
{
    ListFixture f(5);
    useTestSkin(*f.list);
    f.list->SetSelection(1);
    const QImage img = f.list->grab().toImage();
    // Date column of the selected row (1) and of a plain row (2).
    const QColor selected = brightestIn(img, QRect(32, 20, 122, 20));
    const QColor plain = brightestIn(img, QRect(32, 40, 122, 20));
    QVERIFY2(selected.red() >= 230 && selected.green() >= 230 && selected.blue() >= 230,
             qPrintable(selected.name()));
    QVERIFY2(plain.red() >= 120 && plain.red() <= 170 && plain.blue() > plain.red(),
             qPrintable(plain.name()));
    QVERIFY(plain.blue() <= 180);
}

void HTMLListCtrlTest::rendersFilledListScreenshot()
{
    // Eight recordings with Korean type texts, one ticked and one selected,
    // in the skin the program ships (or its flat stand-in).
    auto list = std::make_unique<CHTMLListCtrl>();
    list->SetStyle(kStyle);
    list->Create(nullptr, QRect(0, 0, 413, 200));
    const QString types[] = {QStringLiteral("상시녹화"), QStringLiteral("이벤트"),
                             QStringLiteral("수동녹화"), QStringLiteral("주차 모션 감지 녹화"),
                             QStringLiteral("상시녹화"), QStringLiteral("이벤트"),
                             QStringLiteral("상시녹화"), QStringLiteral("수동녹화")};
    for (int i = 0; i < 8; ++i) {
        const QDateTime t(QDate(2026, 12, 9), QTime(14, 25, 1).addSecs(i * 61));
        const QString name = t.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral("_I01.mp4");
        list->InsertRow(3, name, QStringLiteral("/card/") + name, types[i], 0, 20,
                        CalendarTime::FromDateTime(t));
    }
    list->SetRowTicked(2, 1);
    list->SelectRow(4);
    QVERIFY(list->FindRow(4)->rect.isEmpty());
    const QImage img = list->grab().toImage();
    QCOMPARE(list->FindRow(4)->rect, QRect(0, 80, 413, 20)); // where it was painted
    QVERIFY(img.pixelColor(40, 85) != img.pixelColor(40, 65)); // selected vs plain row
    QVERIFY(img.pixelColor(16, 50) != img.pixelColor(16, 70)); // ticked vs plain box

    const QString dir = qEnvironmentVariable("HALCYON_BUILD_DIR", QDir::tempPath()) +
                        QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(img.save(dir + QStringLiteral("/html_list_ctrl.png")));
}

QTEST_MAIN(HTMLListCtrlTest)
#include "HTMLListCtrlTest.moc"

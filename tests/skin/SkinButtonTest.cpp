#include "skin/CVxButton.h"
#include "skin/CVxSwitch.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

class SkinButtonTest : public QObject {
    Q_OBJECT
private slots:
    void imageChoice_data();
    void imageChoice();
    void heldButtonFollowsThePointer_data();
    void heldButtonFollowsThePointer();
    void doubleClickCountsAsTwoClicks();
    void captionColourFollowsImage();
    void sizeIsFixedByTheStrip();
    void tooltipNeedsText();
    void createWithoutSkinFails();
    void switchFlipsBeforeParentSeesClick();
};

namespace {
void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(w, &e);
}
} // namespace

void SkinButtonTest::imageChoice_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("heldOutside");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<int>("image");
    //                                    layout hover  held   outside checked disabled image
    QTest::newRow("bar normal")          << 2 << false << false << false << false << false << 0;
    QTest::newRow("bar hover")           << 2 << true  << false << false << false << false << 1;
    QTest::newRow("bar held")            << 2 << true  << true  << false << false << false << 2;
    QTest::newRow("bar held no hover")   << 2 << false << true  << false << false << false << 0;
    QTest::newRow("bar held outside")    << 2 << true  << false << true  << false << false << 0;
    QTest::newRow("bar checked ignored") << 2 << false << false << false << true  << false << 0;
    QTest::newRow("bar disabled keeps 0")<< 2 << false << false << false << false << true  << 0;
    QTest::newRow("tab normal")          << 4 << false << false << false << false << false << 0;
    QTest::newRow("tab hover")           << 4 << true  << false << false << false << false << 1;
    QTest::newRow("tab held")            << 4 << true  << true  << false << false << false << 2;
    QTest::newRow("tab checked")         << 4 << false << false << false << true  << false << 3;
    QTest::newRow("tab checked hover")   << 4 << true  << false << false << true  << false << 1;
    QTest::newRow("tab checked held")    << 4 << true  << true  << false << true  << false << 2;
    QTest::newRow("tab checked held, no hover") << 4 << false << true << false << true << false << 3;
    QTest::newRow("tab checked held outside")   << 4 << true << false << true << true << false << 3;
    QTest::newRow("tab held outside")    << 4 << true  << false << true  << false << false << 0;
    QTest::newRow("tab disabled")        << 4 << false << false << false << false << true  << 4;
    QTest::newRow("tab disabled checked hover") << 4 << true << false << false << true << true << 4;
}

void SkinButtonTest::imageChoice()
{
    QFETCH(int, layout);
    QFETCH(bool, hovered);
    QFETCH(bool, held);
    QFETCH(bool, heldOutside);
    QFETCH(bool, checked);
    QFETCH(bool, disabled);
    QFETCH(int, image);
    QCOMPARE(CVxButton::ChooseImage(ButtonLayout(layout), hovered, held, heldOutside, checked, disabled), image);
}

// Real pointer events: press, leave while held, come back, release.
void SkinButtonTest::heldButtonFollowsThePointer_data()
{
    QTest::addColumn<int>("bitmap");
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("outsideImage");
    QTest::newRow("bar") << 142 << 2 << false << 0;
    QTest::newRow("checked tab") << 590 << 4 << true << 3;
}

void SkinButtonTest::heldButtonFollowsThePointer()
{
    QFETCH(int, bitmap);
    QFETCH(int, layout);
    QFETCH(bool, checked);
    QFETCH(int, outsideImage);
    QWidget parent;
    parent.resize(300, 200);
    CVxButton button;
    QVERIFY(button.LoadSkin(bitmap));
    QVERIFY(button.CreateSkinButton(307, 10, 10, &parent, QString(), ButtonLayout(layout)));
    button.SetChecked(checked);
    QSignalSpy clicks(&button, &CVxButton::commandClicked);

    enter(&button);
    QCOMPARE(button.currentImage(), 1);
    send(&button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(button.currentImage(), 2);
    send(&button, QEvent::MouseMove, QPoint(200, 5), Qt::LeftButton);
    QCOMPARE(button.currentImage(), outsideImage);
    send(&button, QEvent::MouseMove, QPoint(5, 5), Qt::LeftButton);
    QCOMPARE(button.currentImage(), 2);
    send(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toInt(), 307);

    // Released outside: no click.
    send(&button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(&button, QEvent::MouseMove, QPoint(200, 5), Qt::LeftButton);
    send(&button, QEvent::MouseButtonRelease, QPoint(200, 5), Qt::NoButton);
    QCOMPARE(clicks.count(), 1);
}

void SkinButtonTest::doubleClickCountsAsTwoClicks()
{
    QWidget parent;
    CVxButton button;
    button.LoadSkin(142);
    button.CreateSkinButton(300, 0, 0, &parent, QString(), ButtonLayout::Bar);
    QSignalSpy clicks(&button, &CVxButton::commandClicked);
    send(&button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    send(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    send(&button, QEvent::MouseButtonDblClick, QPoint(5, 5), Qt::LeftButton);
    send(&button, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::NoButton);
    QCOMPARE(clicks.count(), 2);
}

namespace {
bool hasPixel(const QImage& img, QRgb colour, int fromX)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = fromX; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}
} // namespace

void SkinButtonTest::captionColourFollowsImage()
{
    QWidget parent;
    CVxButton button;
    button.LoadSkin(148);
    button.CreateSkinButton(326, 0, 0, &parent, QStringLiteral("지 도"), ButtonLayout::Bar);
    QImage normal = button.grab().toImage();
    QVERIFY(hasPixel(normal, qRgb(255, 255, 255), 30));
    QVERIFY(!hasPixel(normal, qRgb(0, 255, 0), 0));
    enter(&button);
    QImage hovered = button.grab().toImage();
    QVERIFY(hasPixel(hovered, qRgb(0, 255, 0), 30));
    QVERIFY(!hasPixel(hovered.copy(0, 0, 30, hovered.height()), qRgb(0, 255, 0), 0)); // text starts 30 px in

    CVxButton plain;
    plain.LoadSkin(148);
    plain.CreateSkinButton(326, 0, 0, &parent, QString(), ButtonLayout::Bar);
    QVERIFY(!hasPixel(plain.grab().toImage(), qRgb(255, 255, 255), 30));
}

void SkinButtonTest::sizeIsFixedByTheStrip()
{
    QWidget parent;
    CVxButton tab;
    tab.LoadSkin(590);
    tab.CreateSkinButton(360, 713, 378, &parent, QStringLiteral("전체"), ButtonLayout::Tab);
    QCOMPARE(tab.geometry(), QRect(713, 378, 76, 30));
    tab.resize(200, 100);
    QCOMPARE(tab.size(), QSize(76, 30));
}

void SkinButtonTest::tooltipNeedsText()
{
    QWidget parent;
    CVxButton button;
    button.LoadSkin(141);
    button.CreateSkinButton(329, 0, 0, &parent, QString(), ButtonLayout::Bar);
    QCOMPARE(button.SetTooltipText(QString()), CVxButton::kInvalidArg);
    QVERIFY(button.toolTip().isEmpty());
    QCOMPARE(button.SetTooltipText(QStringLiteral("종료")), 0L);
    QCOMPARE(button.toolTip(), QStringLiteral("종료"));
}

void SkinButtonTest::createWithoutSkinFails()
{
    QWidget parent;
    CVxButton button;
    QVERIFY(!button.LoadSkin(99999));
    QVERIFY(!button.CreateSkinButton(1, 0, 0, &parent, QString(), ButtonLayout::Bar));
}

void SkinButtonTest::switchFlipsBeforeParentSeesClick()
{
    QWidget parent;
    CVxSwitch sw(&parent, 438, QRect(34, 489, 18, 15));
    sw.SetBitmap(176);
    sw.SetState(5);
    QList<int> seen;
    connect(&sw, &CVxSwitch::commandClicked, this, [&](int id) {
        QCOMPARE(id, 438);
        seen << sw.GetState();
    });
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&sw, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(seen, (QList<int>{0, 1}));

    // Non-zero shows the left half (sound on), zero the right half.
    const QImage bitmap(QStringLiteral(":/bitmaps/176.png"));
    const QImage shown = sw.grab().toImage();
    QCOMPARE(shown.pixel(5, 7) & 0xFFFFFF, bitmap.pixel(5, 7) & 0xFFFFFF);
}

QTEST_MAIN(SkinButtonTest)
#include "SkinButtonTest.moc"

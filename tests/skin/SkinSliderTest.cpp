#include "base/Messages.h"
#include "skin/CVxSlider.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace {
// Parent that records the slider messages it receives.
class Recorder : public QWidget {
public:
    struct Msg {
        int type, id, pos;
        bool operator==(const Msg& o) const { return type == o.type && id == o.id && pos == o.pos; }
    };
    QList<Msg> msgs;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::Type(WM_SLIDER_MOVING) || e->type() == QEvent::Type(WM_SLIDER_MOVED)) {
            auto* s = static_cast<SliderEvent*>(e);
            msgs << Msg{int(e->type()), s->id, s->pos};
            return true;
        }
        return QWidget::event(e);
    }
};

void mouse(QWidget* w, QEvent::Type type, int x)
{
    const QPointF pos(x, 5);
    const bool move = type == QEvent::MouseMove;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), move ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

Q_DECLARE_METATYPE(Recorder::Msg)

class SkinSliderTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void geometryMapsPositionsBothWays();
    void pressAwayFromThumbJumpsAndPosts();
    void pressBesideCentreKeepsGrabOffset();
    void dragPastEitherEndClamps();
    void keys_data();
    void keys();
    void disabledIgnoresInputAndShowsEmptyChannel();
    void zeroWidthRangeKeepsMin();
    void sliderNarrowerThanThumbKeepsMin();
    void setPosClampsMinWins();
    void marksPositionsOnBothChannelHalvesUnderTheThumb();

private:
    // 100 px wide, thumb 10 px: span 90. With range 0..90 the thumb centre of
    // position p is p + 5.
    Recorder* parent = nullptr;
    CVxSlider* slider = nullptr;
    using Msg = Recorder::Msg;
};

void SkinSliderTest::init()
{
    parent = new Recorder;
    parent->resize(200, 40);
    slider = new CVxSlider(parent, 411, QRect(0, 0, 100, 10));
    QVERIFY(slider->SetChannelBitmap(143));
    QVERIFY(slider->SetThumbBitmap(596));
    QCOMPARE(slider->thumbWidth(), 10);
    slider->SetRange(0, 90);
}

void SkinSliderTest::cleanup()
{
    delete parent;
}

void SkinSliderTest::geometryMapsPositionsBothWays()
{
    QCOMPARE(slider->ThumbCentre(0), 5);
    QCOMPARE(slider->ThumbCentre(45), 50);
    QCOMPARE(slider->ThumbCentre(90), 95);
    QCOMPARE(slider->PositionAt(5), 0);
    QCOMPARE(slider->PositionAt(50), 45);
    QCOMPARE(slider->PositionAt(95), 90);
    slider->SetRange(1, 9); // speed slider: 8 steps over 90 px, truncated
    QCOMPARE(slider->ThumbCentre(5), 50);
    QCOMPARE(slider->PositionAt(60), 5);
    QCOMPARE(slider->PositionAt(61), 5);
    QCOMPARE(slider->PositionAt(62), 6);
}

void SkinSliderTest::pressAwayFromThumbJumpsAndPosts()
{
    mouse(slider, QEvent::MouseButtonPress, 50);
    QCOMPARE(slider->GetPos(), 45);
    QVERIFY(parent->msgs.isEmpty()); // posted, not sent
    mouse(slider, QEvent::MouseButtonRelease, 50);
    QCoreApplication::processEvents();
    QCOMPARE(parent->msgs, (QList<Msg>{{WM_SLIDER_MOVING, 411, 45}, {WM_SLIDER_MOVED, 411, 45}}));
    QVERIFY(!slider->IsDragging());
}

void SkinSliderTest::pressBesideCentreKeepsGrabOffset()
{
    slider->SetPos(40); // centre 45
    mouse(slider, QEvent::MouseButtonPress, 48);
    QCOMPARE(slider->GetPos(), 40); // the thumb does not jump
    mouse(slider, QEvent::MouseMove, 58);
    QCOMPARE(slider->GetPos(), 50);
    mouse(slider, QEvent::MouseButtonRelease, 58);
    QCoreApplication::processEvents();
    QCOMPARE(parent->msgs, (QList<Msg>{{WM_SLIDER_MOVING, 411, 50}, {WM_SLIDER_MOVED, 411, 50}}));
}

void SkinSliderTest::dragPastEitherEndClamps()
{
    slider->SetPos(45);
    mouse(slider, QEvent::MouseButtonPress, 50);
    mouse(slider, QEvent::MouseMove, 500);
    QCOMPARE(slider->GetPos(), 90);
    mouse(slider, QEvent::MouseMove, 600); // still clamped: nothing new posted
    mouse(slider, QEvent::MouseMove, -300);
    QCOMPARE(slider->GetPos(), 0);
    mouse(slider, QEvent::MouseButtonRelease, -300);
    QCoreApplication::processEvents();
    QCOMPARE(parent->msgs,
        (QList<Msg>{{WM_SLIDER_MOVING, 411, 90}, {WM_SLIDER_MOVING, 411, 0}, {WM_SLIDER_MOVED, 411, 0}}));
}

void SkinSliderTest::keys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("Home at min still reports") << 0 << int(Qt::Key_Home) << 0;
    QTest::newRow("Home") << 50 << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << 50 << int(Qt::Key_End) << 90;
    QTest::newRow("PageUp") << 50 << int(Qt::Key_PageUp) << 30;
    QTest::newRow("PageUp clamps") << 10 << int(Qt::Key_PageUp) << 0;
    QTest::newRow("PageDown") << 50 << int(Qt::Key_PageDown) << 70;
    QTest::newRow("PageDown clamps") << 80 << int(Qt::Key_PageDown) << 90;
    QTest::newRow("Left") << 50 << int(Qt::Key_Left) << 49;
    QTest::newRow("Up") << 50 << int(Qt::Key_Up) << 49;
    QTest::newRow("Right") << 50 << int(Qt::Key_Right) << 51;
    QTest::newRow("Down at max") << 90 << int(Qt::Key_Down) << 90;
}

void SkinSliderTest::keys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    slider->SetPos(start);
    QTest::keyClick(slider, Qt::Key(key));
    QCOMPARE(slider->GetPos(), expected);
    QCoreApplication::processEvents();
    QCOMPARE(parent->msgs, (QList<Msg>{{WM_SLIDER_MOVED, 411, expected}}));
}

void SkinSliderTest::disabledIgnoresInputAndShowsEmptyChannel()
{
    slider->SetPos(45);
    const QImage enabled = slider->grab().toImage();
    slider->Enable(false);
    mouse(slider, QEvent::MouseButtonPress, 10);
    mouse(slider, QEvent::MouseButtonRelease, 10);
    QTest::keyClick(slider, Qt::Key_End);
    QCoreApplication::processEvents();
    QCOMPARE(slider->GetPos(), 45);
    QVERIFY(parent->msgs.isEmpty());

    // No thumb and no filling: the picture is the empty row everywhere.
    const QImage disabled = slider->grab().toImage();
    const QImage channel(QStringLiteral(":/bitmaps/143.png"));
    const QRgb emptyMiddle = channel.pixel(7, 5) & 0xFFFFFF;
    const QRgb filledMiddle = channel.pixel(7, 15) & 0xFFFFFF;
    QCOMPARE(enabled.pixel(20, 5) & 0xFFFFFF, filledMiddle);
    QCOMPARE(disabled.pixel(20, 5) & 0xFFFFFF, emptyMiddle);
    QCOMPARE(disabled.pixel(50, 5) & 0xFFFFFF, emptyMiddle); // where the thumb was
    QVERIFY(enabled.pixel(50, 5) != disabled.pixel(50, 5));
}

void SkinSliderTest::zeroWidthRangeKeepsMin()
{
    slider->SetRange(7, 7);
    slider->SetPos(7);
    QCOMPARE(slider->ThumbCentre(7), 5);
    mouse(slider, QEvent::MouseButtonPress, 60);
    mouse(slider, QEvent::MouseMove, 80);
    mouse(slider, QEvent::MouseButtonRelease, 80);
    QCOMPARE(slider->GetPos(), 7);
    slider->grab(); // draws without dividing by zero
    QCoreApplication::processEvents();
    QVERIFY(!parent->msgs.isEmpty());
    QCOMPARE(parent->msgs.last(), (Msg{WM_SLIDER_MOVED, 411, 7}));
}

void SkinSliderTest::sliderNarrowerThanThumbKeepsMin()
{
    CVxSlider narrow(parent, 412, QRect(0, 20, 8, 10));
    narrow.SetChannelBitmap(175);
    narrow.SetThumbBitmap(595);
    narrow.SetRange(0, 99);
    mouse(&narrow, QEvent::MouseButtonPress, 6);
    QCOMPARE(narrow.GetPos(), 0);
    narrow.grab();
}

void SkinSliderTest::setPosClampsMinWins()
{
    slider->SetPos(500);
    QCOMPARE(slider->GetPos(), 90);
    slider->SetPos(-5);
    QCOMPARE(slider->GetPos(), 0);
    slider->SetRange(10, 5);
    slider->SetPos(7);
    QCOMPARE(slider->GetPos(), 10);
    QCoreApplication::processEvents();
    QVERIFY(parent->msgs.isEmpty()); // SetPos posts nothing
}

QTEST_MAIN(SkinSliderTest)
#include "SkinSliderTest.moc"

void SkinSliderTest::marksPositionsOnBothChannelHalvesUnderTheThumb()
{
    // thumb at 45 (centre 50): marker 10 sits on the filled part, 80 on the
    // empty one, 45 under the thumb; 95 is out of range.
    slider->SetPos(45);
    slider->SetMarkers({10, 45, 80, 95});
    const QImage image = slider->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int x : {15, 85}) {
        for (int y = 0; y < 10; ++y) {
            QCOMPARE(image.pixel(x - 1, y), CVxSlider::kMarkerColour);
            QCOMPARE(image.pixel(x, y), CVxSlider::kMarkerColour);
            QCOMPARE(image.pixel(x - 2, y), CVxSlider::kMarkerEdge);
            QCOMPARE(image.pixel(x + 1, y), CVxSlider::kMarkerEdge);
        }
    }
    int markerPixels = 0;
    for (int x = 0; x < image.width(); ++x)
        markerPixels += image.pixel(x, 5) == CVxSlider::kMarkerColour;
    QCOMPARE(markerPixels, 4); // the thumb hides 45, 95 is not drawn

    slider->Enable(false);
    const QImage disabled = slider->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QVERIFY(disabled.pixel(15, 5) != CVxSlider::kMarkerColour);
    slider->Enable(true);
    slider->SetMarkers({});
    QVERIFY(slider->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(15, 5) != CVxSlider::kMarkerColour);
}

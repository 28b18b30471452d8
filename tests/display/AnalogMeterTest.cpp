#include "base/Trace.h"
#include "display/CVxAnalogMeter.h"

#include <QTest>

namespace {
// Columns [from, to) of the read-out that hold white text pixels.
QRect whiteBounds(const QImage& image, int from, int to)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = from; x < to; ++x)
            if (qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) > 200 && qBlue(image.pixel(x, y)) > 200)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage render(int speed, int unit)
{
    CVxAnalogMeter meter;
    meter.SetVelo(speed, unit);
    return meter.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
} // namespace

class AnalogMeterTest : public QObject {
    Q_OBJECT
private slots:
    void labelsEachUnitCode_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("label");
        QTest::newRow("0") << 0 << QStringLiteral("km/h");
        QTest::newRow("1") << 1 << QStringLiteral("km/h");
        QTest::newRow("2") << 2 << QStringLiteral("mi/h");
        QTest::newRow("3") << 3 << QStringLiteral("knots");
        QTest::newRow("4") << 4 << QString();
        QTest::newRow("-1") << -1 << QString();
    }
    void labelsEachUnitCode()
    {
        QFETCH(int, unit);
        QFETCH(QString, label);
        QCOMPARE(CVxAnalogMeter::UnitLabel(unit), label);
        const QRect unitText = whiteBounds(render(0, unit), 79, 122);
        QCOMPARE(unitText.isNull(), label.isEmpty());
        if (!label.isEmpty())
            QVERIFY(unitText.left() >= 122 - 40 && unitText.top() >= 10);
    }

    void showsThreeDigitsRightAlignedBesideTheUnit()
    {
        QStringList trace;
        SetTraceSink([&](const QString& l) { trace << l; });
        const QImage zero = render(0, 1);
        SetTraceSink({});
        QCOMPARE(trace, QStringList{QStringLiteral("SetVelo=0 \r\n")});
        const QRect digits = whiteBounds(zero, 0, 79);
        QVERIFY(!digits.isNull());
        // right-aligned: ends close to the 79-pixel boundary; three digits of 33 px are wide
        QVERIFY(digits.right() >= 79 - 8);
        QVERIFY(digits.width() > 40);
        // vertically centred in 72 rows
        QVERIFY(qAbs((digits.top() + digits.bottom()) / 2 - 36) <= 3);
        QVERIFY(!whiteBounds(zero, 82, 122).isNull());
        // "007" is as wide as "000"; the value is drawn with leading zeros
        QCOMPARE(whiteBounds(render(7, 1), 0, 79).left(), digits.left());
    }

    void drawsFourDigitsWhole()
    {
        const QRect three = whiteBounds(render(123, 1), 0, 122);
        const QRect four = whiteBounds(render(1234, 1), 0, 79);
        QVERIFY(four.left() < three.left());
        // nothing cut at the left edge, nothing running into the unit
        QVERIFY(four.left() > 0);
        QVERIFY(four.right() < 79);
        QVERIFY(whiteBounds(render(1234, 1), 0, 1).isNull());
    }
};

QTEST_MAIN(AnalogMeterTest)
#include "AnalogMeterTest.moc"

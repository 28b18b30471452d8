#include "base/Trace.h"

#include <QTest>

class TraceTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTheExactTextIncludingLineEnd()
    {
        QStringList lines;
        SetTraceSink([&](const QString& l) { lines << l; });
        TraceLine("SetVelo=%d \r\n", 42);
        TraceLine("GSensor cts=%d, x=0x%x,y=0x%x,z=0x%x \r\n", 100, 0x80, 0x40, 0xc0);
        SetTraceSink({});
        QCOMPARE(lines, QStringList({QStringLiteral("SetVelo=42 \r\n"),
                                     QStringLiteral("GSensor cts=100, x=0x80,y=0x40,z=0xc0 \r\n")}));
    }
};

QTEST_GUILESS_MAIN(TraceTest)
#include "TraceTest.moc"

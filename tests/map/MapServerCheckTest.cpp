// The connectivity check against a local HTTP server: what counts as
// reachable, redirects followed to the final answer, and that it gives up in
// time without blocking.
#include "display/MapServerCheck.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
// Answers every request with a fixed response (nothing at all when empty) and
// keeps the request it received.
class OneShotServer : public QTcpServer {
public:
    explicit OneShotServer(QByteArray answer) : response(std::move(answer))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    request += s->readAll();
                    if (!request.contains("\r\n\r\n") || response.isEmpty())
                        return;
                    s->write(response);
                    s->flush();
                });
            }
        });
    }
    QByteArray request;
    QByteArray response;
};

quint16 closedPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 1;
}
} // namespace

class MapServerCheckTest : public QObject {
    Q_OBJECT
private slots:
    void countsAnyResponseWithNumericLength_data()
    {
        QTest::addColumn<QByteArray>("response");
        QTest::addColumn<bool>("reachable");
        QTest::newRow("200 with length") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nthanks") << true;
        QTest::newRow("404 with length") << QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found")
                                         << true;
        // A huge announced length is still only a header: nothing is read.
        QTest::newRow("huge length") << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 99999999999\r\n\r\nx") << true;
        QTest::newRow("no length") << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nthanks") << false;
        QTest::newRow("chunked") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                               "6\r\nthanks\r\n0\r\n\r\n")
                                 << false;
    }
    void countsAnyResponseWithNumericLength()
    {
        QFETCH(QByteArray, response);
        QFETCH(bool, reachable);
        OneShotServer server(response);
        QVERIFY(server.listen(QHostAddress::LocalHost));
        MapServerCheck check;
        QSignalSpy done(&check, &MapServerCheck::finished);
        check.Start(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
        QVERIFY(check.isRunning());
        QCOMPARE(done.count(), 0); // never answers from inside Start
        QVERIFY(done.wait(5000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toBool(), reachable);
        QVERIFY(!check.isRunning());

        const QByteArray request = server.request;
        QVERIFY2(request.startsWith("GET /map/Thanks.txt HTTP/1.1\r\n"), request.constData());
        QVERIFY(request.contains("\r\nUser-Agent: kestrel\r\n"));
        QVERIFY(request.contains("\r\nAccept: */*\r\n"));
        QTest::qWait(50);
        QCOMPARE(done.count(), 1);
    }

    // A redirect counts for nothing by itself: where it leads decides.
    void followsRedirectsToTheFinalAnswer_data()
    {
        QTest::addColumn<QByteArray>("first"); // %T%: the target's port, %S%: its own
        QTest::addColumn<QByteArray>("target"); // "closed": nothing listens; empty: never answers
        QTest::addColumn<bool>("reachable");
        const QByteArray to = "Location: http://127.0.0.1:%T%/map/Thanks.txt\r\nContent-Length: 0\r\n\r\n";
        const QByteArray thanks = "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nthanks";
        QTest::newRow("302 to an answer") << "HTTP/1.1 302 Found\r\n" + to << thanks << true;
        QTest::newRow("301 to a closed port") << "HTTP/1.1 301 Moved Permanently\r\n" + to << QByteArray("closed")
                                              << false;
        QTest::newRow("307 to no length")
            << "HTTP/1.1 307 Temporary Redirect\r\n" + to
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nthanks") << false;
        QTest::newRow("308 to a silent server") << "HTTP/1.1 308 Permanent Redirect\r\n" + to << QByteArray() << false;
        QTest::newRow("endless loop")
            << QByteArray("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:%S%/again\r\nContent-Length: 0\r\n\r\n")
            << thanks << false;
        QTest::newRow("30x without a target is an answer")
            << QByteArray("HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n") << thanks << true;
    }
    void followsRedirectsToTheFinalAnswer()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, target);
        QFETCH(bool, reachable);
        OneShotServer to(target);
        QVERIFY(to.listen(QHostAddress::LocalHost));
        const quint16 toPort = target == "closed" ? closedPort() : to.serverPort();
        OneShotServer from{QByteArray()};
        QVERIFY(from.listen(QHostAddress::LocalHost));
        from.response = first.replace("%T%", QByteArray::number(toPort))
                            .replace("%S%", QByteArray::number(from.serverPort()));

        MapServerCheck check;
        QSignalSpy done(&check, &MapServerCheck::finished);
        QElapsedTimer clock;
        clock.start();
        check.Start(QStringLiteral("127.0.0.1:%1").arg(from.serverPort()));
        QVERIFY(done.wait(8000));
        QCOMPARE(done.at(0).at(0).toBool(), reachable);
        // One time limit for the whole chain.
        QVERIFY2(clock.elapsed() < 4500, QByteArray::number(clock.elapsed()).constData());
        if (reachable && first.contains("Location"))
            QVERIFY2(to.request.startsWith("GET /map/Thanks.txt HTTP/1.1\r\n"), to.request.constData());
    }

    void unreachableServerIsOffline()
    {
        // A port that was just free: the connection is refused.
        const quint16 port = closedPort();
        MapServerCheck check;
        QSignalSpy done(&check, &MapServerCheck::finished);
        check.Start(QStringLiteral("127.0.0.1:%1").arg(port));
        QVERIFY(done.wait(5000));
        QCOMPARE(done.at(0).at(0).toBool(), false);

        MapServerCheck bad;
        QSignalSpy badDone(&bad, &MapServerCheck::finished);
        bad.Start(QStringLiteral("  "));
        QCOMPARE(badDone.count(), 0);
        QVERIFY(badDone.wait(1000));
        QCOMPARE(badDone.at(0).at(0).toBool(), false);
    }

    void silentServerGivesUpAtTheLimit()
    {
        OneShotServer server{QByteArray()}; // accepts, never answers
        QVERIFY(server.listen(QHostAddress::LocalHost));
        MapServerCheck check;
        QSignalSpy done(&check, &MapServerCheck::finished);
        QElapsedTimer clock;
        clock.start();
        check.Start(QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
        QVERIFY(done.wait(8000));
        QCOMPARE(done.at(0).at(0).toBool(), false);
        QVERIFY2(clock.elapsed() >= 2500 && clock.elapsed() < 6000, QByteArray::number(clock.elapsed()).constData());
    }
};

QTEST_GUILESS_MAIN(MapServerCheckTest)
#include "MapServerCheckTest.moc"

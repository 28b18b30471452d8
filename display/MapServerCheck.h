#pragma once
// The connectivity check that decides whether the map is driven: an HTTP GET
// of "/map/Thanks.txt" on the check server (port 80 unless "host:port" names
// another). Any response carrying a numeric Content-Length counts as reachable,
// whatever its status; the body is never read. It runs asynchronously so the
// window is never held up, and gives up after the time limit.
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

class MapServerCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 3000;

    explicit MapServerCheck(QObject* parent = nullptr);
    ~MapServerCheck() override;

    // finished() follows exactly once, never from inside this call.
    void Start(const QString& hostAndPort, int timeoutMs = kDefaultTimeoutMs);
    bool isRunning() const { return m_running; }

signals:
    void finished(bool reachable);

private:
    void onMetaData();
    void conclude(bool reachable);

    QNetworkAccessManager* m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    bool m_running = false;
};

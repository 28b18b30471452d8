#pragma once
// The connectivity check that decides whether the map is driven: an HTTP GET
// of "/map/Thanks.txt" on the check server (port 80 unless "host:port" names
// another). Redirects are followed, within the same time limit, and the final
// answer decides: any response carrying a numeric Content-Length counts as
// reachable, whatever its status; the body is never read. A redirect whose
// target does not answer, or a chain of more than kMaxRedirects, is
// unreachable. It runs asynchronously so the window is never held up.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

class MapServerCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 3000;
    static constexpr int kMaxRedirects = 5;

    explicit MapServerCheck(QObject* parent = nullptr);
    ~MapServerCheck() override;

    // finished() follows exactly once, never from inside this call.
    void Start(const QString& hostAndPort, int timeoutMs = kDefaultTimeoutMs);
    bool isRunning() const { return m_running; }

signals:
    void finished(bool reachable);

private:
    void get(const QUrl& url);
    void dropReply();
    void onMetaData();
    void conclude(bool reachable);

    QNetworkAccessManager* m_manager = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_timeoutMs = kDefaultTimeoutMs;
    int m_redirects = 0;
    bool m_running = false;
};

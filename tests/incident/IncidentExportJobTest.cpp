#include "engine/RecordingFixture.h"
#include "incident/IncidentExportJob.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>

Q_DECLARE_METATYPE(ClipExportResult)

namespace {
QString recording()
{
    static RecordingFixture fixture;
    static const QString path = fixture.make(QStringLiteral("rec.mp4"));
    return path;
}

// Reports progress in steps until it reaches the end or is cancelled; notes
// the thread it ran on.
class SteppingEncoder : public IClipEncoder {
public:
    explicit SteppingEncoder(std::atomic<bool>& cancelled, QThread** ranOn) : m_cancelled(cancelled), m_ranOn(ranOn) {}
    ClipExportResult Export(const ClipExportRequest& request, const Progress& progress) override
    {
        *m_ranOn = QThread::currentThread();
        ClipExportResult r;
        for (int step = 1; step <= 100; ++step) {
            if (m_cancelled) {
                r.status = ClipExportResult::Status::Cancelled;
                return r;
            }
            progress(step / 100.0);
            QThread::msleep(step < 50 ? 1 : 20);
        }
        // the generated recording stands for the encoded clip
        QFile::remove(request.output);
        r.status = QFile::copy(recording(), request.output) ? ClipExportResult::Status::Done
                                                            : ClipExportResult::Status::Failed;
        r.toMs = 3000;
        return r;
    }
    void Cancel() override { m_cancelled = true; }

private:
    std::atomic<bool>& m_cancelled;
    QThread** m_ranOn;
};
} // namespace

class IncidentExportJobTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<ClipExportResult>(); }

    void runsOffThisThreadAndReportsHere()
    {
        QTemporaryDir dir;
        std::atomic<bool> cancelled{false};
        QThread* ranOn = nullptr;
        ClipExportRequest request;
        request.source = recording();
        request.output = dir.filePath(QStringLiteral("clip.mp4"));
        IncidentExportJob job(std::make_unique<SteppingEncoder>(cancelled, &ranOn), request, {}, {});
        QList<int> percents;
        connect(&job, &IncidentExportJob::progressChanged, this, [&](int p) {
            QCOMPARE(QThread::currentThread(), thread());
            percents << p;
        });
        QSignalSpy finished(&job, &IncidentExportJob::finished);
        job.Start();
        QVERIFY(job.IsRunning());
        QVERIFY(finished.wait(20000));
        QVERIFY(!job.IsRunning());
        QVERIFY(ranOn && ranOn != thread());
        QCOMPARE(finished.first().first().value<ClipExportResult>().status, ClipExportResult::Status::Done);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("clip.gpx"))));
        QVERIFY(percents.size() >= 2);
        QCOMPARE(percents.last(), 100);
        QVERIFY(std::is_sorted(percents.begin(), percents.end()));
    }

    void cancelEndsTheExport()
    {
        std::atomic<bool> cancelled{false};
        QThread* ranOn = nullptr;
        IncidentExportJob job(std::make_unique<SteppingEncoder>(cancelled, &ranOn), {}, {}, {});
        QSignalSpy finished(&job, &IncidentExportJob::finished);
        connect(&job, &IncidentExportJob::progressChanged, &job, [&](int p) {
            if (p >= 60)
                job.Cancel();
        });
        job.Start();
        QVERIFY(finished.wait(20000));
        QCOMPARE(finished.first().first().value<ClipExportResult>().status, ClipExportResult::Status::Cancelled);
    }

    void closingTheJobCancelsAndWaits()
    {
        std::atomic<bool> cancelled{false};
        QThread* ranOn = nullptr;
        {
            IncidentExportJob job(std::make_unique<SteppingEncoder>(cancelled, &ranOn), {}, {}, {});
            job.Start();
            QTest::qWait(80);
        }
        QVERIFY(cancelled);
    }
};

QTEST_GUILESS_MAIN(IncidentExportJobTest)
#include "IncidentExportJobTest.moc"

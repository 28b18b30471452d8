#include "config/CardFormatSequence.h"

#include "config/DeviceConfig.h"
#include "config/SafeFileWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <QCoreApplication>

namespace {

QString Caption() { return QCoreApplication::translate("CardFormatSequence", "메모리포맷"); }
// The camera software let the graph release the card's files before formatting.
constexpr int kSettleMs = 100;

std::optional<QByteArray> readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 size = f.size();
    QByteArray data = f.readAll();
    if (data.size() != size)
        return std::nullopt;
    return data;
}

void removeCopies(const std::vector<CardFormatSequence::Copy>& copies)
{
    for (const auto& c : copies) {
        if (!c.copyPath.isEmpty())
            QFile::remove(c.copyPath);
    }
}

// Copies both settings files away. An absent file is noted, not an error; any
// other failure removes what was made and returns its reason.
QString backUp(const QString& root, const QString& tempDir, std::vector<CardFormatSequence::Copy>& copies)
{
    for (const char* name : {kSettingsFileName, kTimeFileName}) {
        CardFormatSequence::Copy c;
        c.name = QString::fromLatin1(name);
        const QString source = root + c.name;
        if (!QFileInfo(source).exists()) {
            copies.push_back(c);
            continue;
        }
        c.existed = true;
        const auto data = readAll(source);
        if (!data)
            return source;
        QTemporaryFile tmp(QDir(tempDir).filePath(QStringLiteral("QuiXXXXXX")));
        tmp.setAutoRemove(false);
        if (!tmp.open())
            return QDir(tempDir).path();
        c.copyPath = tmp.fileName();
        copies.push_back(c);
        if (tmp.write(*data) != data->size() || !tmp.flush())
            return c.copyPath;
        tmp.close();
        if (readAll(c.copyPath) != data)
            return c.copyPath;
    }
    return {};
}

// Writes back the files that were on the card and reads each back. True when
// every one arrived byte for byte.
bool restore(const QString& root, const std::vector<CardFormatSequence::Copy>& copies)
{
    bool ok = true;
    for (const auto& c : copies) {
        if (!c.existed)
            continue;
        const auto data = readAll(c.copyPath);
        const QString target = root + c.name;
        if (!data || !WriteFileReplacing(target, *data) || readAll(target) != data)
            ok = false;
    }
    return ok;
}

QString sizeText(quint64 bytes)
{
    return QString::number(bytes / 1048576u) + QStringLiteral("MB");
}

} // namespace

CardFormatSequence::CardFormatSequence(CardFormatter& formatter, Hooks hooks, QObject* parent)
    : QObject(parent), tempDir(QDir::tempPath()), m_formatter(formatter), m_hooks(std::move(hooks))
{
    // Without a way to ask, nothing is ever formatted.
    if (!m_hooks.askYesNo)
        m_hooks.askYesNo = [](const QString&, const QString&) { return false; };
    if (!m_hooks.tell)
        m_hooks.tell = [](const QString&, const QString&) {};
}

CardFormatSequence::~CardFormatSequence()
{
    // The worker uses the formatter and posts back to this object.
    m_work.waitForFinished();
}

bool CardFormatSequence::Start(const QString& cardRoot)
{
    if (m_running)
        return false;
    m_running = true;
    m_mountedRoot.clear();
    m_keptCopies.clear();
    emit progress(QCoreApplication::translate("CardFormatSequence", "설정 파일을 백업하는 중..."));
    CardFormatter* formatter = &m_formatter;
    const QString dir = tempDir;
    m_work = QtConcurrent::run([this, formatter, cardRoot, dir] {
        QString why;
        // The device is checked before anything is touched: a refusal leaves
        // playback and the card as they were.
        const std::optional<FormatTarget> target = formatter->Identify(cardRoot, &why);
        std::vector<Copy> copies;
        QString backupError;
        if (target) {
            backupError = backUp(cardRoot, dir, copies);
            if (!backupError.isEmpty())
                removeCopies(copies);
        }
        QMetaObject::invokeMethod(this, [=, this] { afterBackup(cardRoot, target, why, copies, backupError); },
                                  Qt::QueuedConnection);
    });
    return true;
}

void CardFormatSequence::afterBackup(const QString& root, const std::optional<FormatTarget>& target,
                                     const QString& why, const std::vector<Copy>& copies, const QString& backupError)
{
    if (!target) {
        emit progress(QString());
        m_hooks.tell(Caption(), QCoreApplication::translate("CardFormatSequence", "이 드라이브는 포맷할 수 없습니다.\n") + why);
        finish(Outcome::Refused);
        return;
    }
    if (!backupError.isEmpty()) {
        emit progress(QString());
        m_hooks.tell(Caption(), QCoreApplication::translate("CardFormatSequence", "SD 카드의 설정 파일을 백업하지 못해 포맷하지 않았습니다.\n") + backupError);
        finish(Outcome::BackupFailed);
        return;
    }
    if (m_hooks.holdCardMonitor)
        m_hooks.holdCardMonitor();
    m_held = true;
    if (m_hooks.stopPlayback)
        m_hooks.stopPlayback();
    const FormatTarget t = *target;
    m_work = QtConcurrent::run([this, root, t, copies] {
        QThread::msleep(kSettleMs);
        QMetaObject::invokeMethod(this, [=, this] { afterSettle(root, t, copies); }, Qt::QueuedConnection);
    });
}

void CardFormatSequence::afterSettle(const QString& root, const FormatTarget& target, const std::vector<Copy>& copies)
{
    emit progress(QString());
    const QString question = QCoreApplication::translate("CardFormatSequence", "다음 SD 카드를 포맷합니다. 저장된 모든 데이터가 삭제됩니다.\n\n"
                                            "장치 : %1\n이름 : %2\n크기 : %3\n\n포맷을 시작하시겠습니까?")
                                 .arg(target.device, target.label.isEmpty() ? QCoreApplication::translate("CardFormatSequence", "(없음)") : target.label,
                                      sizeText(target.size));
    if (!m_hooks.askYesNo(Caption(), question)) {
        removeCopies(copies);
        finish(Outcome::Cancelled);
        return;
    }
    emit progress(QCoreApplication::translate("CardFormatSequence", "SD 카드를 포맷하는 중..."));
    CardFormatter* formatter = &m_formatter;
    const int timeout = mountTimeoutMs;
    m_work = QtConcurrent::run([this, formatter, root, target, copies, timeout] {
        struct {
            Outcome outcome;
            QString message;
            QString mounted;
        } r{Outcome::Formatted, {}, {}};
        QString why;
        // The user may have taken long to answer: format only the device confirmed.
        const std::optional<FormatTarget> now = formatter->Identify(root, &why);
        if (!now || !(*now == target)) {
            r = {Outcome::Refused, QCoreApplication::translate("CardFormatSequence", "SD 카드가 분리되었거나 바뀌어 포맷하지 않았습니다."), {}};
        } else {
            const CardFormatter::Result f = formatter->Format(target);
            if (f.outcome == CardFormatter::Outcome::Cancelled) {
                r = {Outcome::Cancelled, {}, {}};
            } else if (f.outcome == CardFormatter::Outcome::Failed) {
                r = {Outcome::FormatFailed, QCoreApplication::translate("CardFormatSequence", "SD 카드를 포맷하지 못했습니다.\n") + f.message, {}};
            } else {
                r.mounted = formatter->WaitForMount(target, timeout, &why);
                if (r.mounted.isEmpty())
                    r = {Outcome::RestoreFailed, why, {}};
                else if (!restore(r.mounted, copies))
                    r = {Outcome::RestoreFailed, QCoreApplication::translate("CardFormatSequence", "SD 카드에 쓰지 못했습니다."), r.mounted};
                QThread::msleep(kSettleMs);
            }
        }
        if (r.outcome != Outcome::RestoreFailed)
            removeCopies(copies);
        const Outcome outcome = r.outcome;
        const QString message = r.message;
        const QString mounted = r.mounted;
        QMetaObject::invokeMethod(
            this,
            [=, this] {
                emit progress(QString());
                m_mountedRoot = mounted;
                if (outcome == Outcome::RestoreFailed) {
                    QStringList kept;
                    for (const auto& c : copies) {
                        if (!c.copyPath.isEmpty())
                            kept << QStringLiteral("%1 → %2").arg(c.copyPath, c.name);
                        if (!c.copyPath.isEmpty())
                            m_keptCopies << c.copyPath;
                    }
                    m_hooks.tell(Caption(), QCoreApplication::translate("CardFormatSequence", "SD 카드는 포맷되었지만 설정 파일을 되돌려 쓰지 못했습니다.\n%1\n"
                                                          "설정 파일의 사본이 다음 위치에 있습니다:\n%2")
                                               .arg(message, kept.join(QLatin1Char('\n'))));
                } else if (!message.isEmpty()) {
                    m_hooks.tell(Caption(), message);
                }
                finish(outcome);
            },
            Qt::QueuedConnection);
    });
}

void CardFormatSequence::finish(Outcome outcome)
{
    if (m_held) {
        m_held = false;
        if (m_hooks.releaseCardMonitor)
            m_hooks.releaseCardMonitor();
    }
    m_outcome = outcome;
    m_running = false;
    emit finished(outcome);
}

#pragma once
// Formatting the card while keeping the camera's two settings files: copy
// them away, stop playback so no card file stays open, let the user confirm
// the device, format, wait for the card to be mounted again, write back the
// files that were there and check them byte for byte. The card monitor is
// held throughout so the unmount and remount do not reset the viewer half
// way. Blocking steps run on a worker thread; the hooks and signals run on
// the thread that owns this object (the UI thread).
#include "config/CardFormatter.h"

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class CardFormatSequence : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Formatted,     // formatted, files written back and verified
        Refused,       // not a card the viewer formats; nothing touched
        BackupFailed,  // a settings file could not be copied away; nothing formatted
        Cancelled,     // the user said no (or dismissed the authorisation)
        FormatFailed,  // the format did not happen
        RestoreFailed, // formatted, but a file could not be written back: copies kept
    };
    Q_ENUM(Outcome)

    struct Hooks {
        std::function<bool(const QString& caption, const QString& text)> askYesNo;
        std::function<void(const QString& caption, const QString& text)> tell;
        // Stops and closes playback so that no file on the card stays open.
        std::function<void()> stopPlayback;
        // Card arrivals and removals are held back between these two calls.
        std::function<void()> holdCardMonitor;
        std::function<void()> releaseCardMonitor;
    };

    CardFormatSequence(CardFormatter& formatter, Hooks hooks, QObject* parent = nullptr);
    ~CardFormatSequence() override;

    // cardRoot with its trailing "/". False (and nothing happens) while a run
    // is going on.
    bool Start(const QString& cardRoot);
    bool IsRunning() const { return m_running; }

    // Of the last finished run.
    Outcome LastOutcome() const { return m_outcome; }
    // Where the card is mounted after a format ("/" at the end), else empty.
    QString MountedRoot() const { return m_mountedRoot; }
    // Temporary copies left behind because they could not be written back.
    QStringList KeptCopies() const { return m_keptCopies; }

    // Folder of the temporary copies; tests point it elsewhere.
    QString tempDir;
    int mountTimeoutMs = 10000;

    struct Copy {
        QString name;       // file name at the card root
        bool existed = false;
        QString copyPath;   // temporary copy, when it existed
    };

signals:
    // What the worker is doing now, for a progress dialog.
    void progress(const QString& text);
    void finished(CardFormatSequence::Outcome outcome);

private:
    void afterBackup(const QString& root, const std::optional<FormatTarget>& target, const QString& why,
                     const std::vector<Copy>& copies, const QString& backupError);
    void afterSettle(const QString& root, const FormatTarget& target, const std::vector<Copy>& copies);
    void finish(Outcome outcome);

    CardFormatter& m_formatter;
    Hooks m_hooks;
    bool m_running = false;
    bool m_held = false;
    QFuture<void> m_work;
    Outcome m_outcome = Outcome::Cancelled;
    QString m_mountedRoot;
    QStringList m_keptCopies;
};

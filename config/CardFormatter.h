#pragma once
// Formats the card in use. The system implementation asks UDisks2; tests use
// a fake. Every call blocks and is made from a worker thread, one at a time.
#include <QString>
#include <optional>

struct FormatTarget {
    QString device;     // "/dev/sdb1", shown to the user
    QString label;      // the file system's label, kept through the format
    quint64 size = 0;   // bytes
    QString handle;     // the formatter's own name for the device
    bool operator==(const FormatTarget&) const = default;
};

class CardFormatter {
public:
    enum class Outcome { Done, Cancelled, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QString message; // for Failed: what went wrong, in the user's words
    };

    virtual ~CardFormatter() = default;
    // The device mounted exactly at cardRoot, when it is one the viewer may
    // format (a removable card holding the file system). Otherwise nullopt and
    // *why says why not.
    virtual std::optional<FormatTarget> Identify(const QString& cardRoot, QString* why) = 0;
    // Formats the target as FAT with its label; its mounts are taken down.
    virtual Result Format(const FormatTarget& target) = 0;
    // The formatted file system's mount point with a trailing "/" once it is
    // mounted again (mounting it when nobody else does), or empty after
    // timeoutMs with *why set.
    virtual QString WaitForMount(const FormatTarget& target, int timeoutMs, QString* why) = 0;
};

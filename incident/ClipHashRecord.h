#pragma once
// The record written beside an incident clip (same name, ".json"): what was
// asked for and what was written, from which recordings, and the SHA-256 of
// every file. Kept apart from the clip (mailed, printed), it lets anyone check
// later that the clip and its recordings are the ones exported; beside the
// clip alone it proves nothing, since whoever changes the clip can write a
// new record. Verify recomputes the hashes.
#include "telemetry/RecordingTelemetry.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class ClipHashRecord {
public:
    struct File {
        QString path;            // outputs: by name, relative to the record; sources: absolute
        qint64 size = -1;
        QByteArray sha256;       // hex
    };
    struct Range {
        std::uint32_t fromMs = 0;
        std::uint32_t toMs = 0;
    };
    QString mode;                // "copy", or the layout of a re-encoded clip
    Range requested, written;
    std::vector<File> sources, outputs;

    // The record's document; recordings named like the camera names them
    // (YYYYMMDD_hhmmss) give the ranges on the camera's clock too, and the
    // fixes at the start and the end of the written range give the positions.
    QByteArray ToJson(const RecordingTelemetry& telemetry) const;

    // The record beside a clip: the same name ending in ".json".
    static QString PathFor(const QString& clipPath);
    // The SHA-256 (hex) and size of a file, read in one pass; nullopt when it cannot be read.
    static std::optional<File> Hash(const QString& path);

    enum class State { Ok, Changed, Missing };
    struct Check {
        State state = State::Missing;
        QString path;            // as the record gives it, outputs resolved beside the record
    };
    // Every file of the record checked again: sources first, then outputs.
    // nullopt and a reason when the record cannot be read.
    static std::optional<std::vector<Check>> Verify(const QString& recordPath, QString* error = nullptr);
};

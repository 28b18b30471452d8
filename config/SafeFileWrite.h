#pragma once
// Replacing a small file on the card without ever leaving a half-written one:
// the bytes go to a temporary file in the same folder, are checked and synced,
// and only then renamed over the old file. A pulled or full card leaves the
// old file as it was.
#include <QByteArray>
#include <QString>
#include <functional>

bool WriteFileReplacing(const QString& path, const QByteArray& data);

// Tests: called after the data went to the temporary file and before the
// rename; returning true makes the write fail there (a card pulled mid-write).
void SetWriteFaultHook(std::function<bool(const QString& path)> hook);

#include "config/SafeFileWrite.h"

#include <QSaveFile>

namespace {
std::function<bool(const QString&)>& faultHook()
{
    static std::function<bool(const QString&)> hook;
    return hook;
}
} // namespace

void SetWriteFaultHook(std::function<bool(const QString& path)> hook) { faultHook() = std::move(hook); }

bool WriteFileReplacing(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    // Writing straight into the old file would bring back the half-written case.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (faultHook() && faultHook()(path)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

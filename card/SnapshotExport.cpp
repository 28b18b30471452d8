#include "card/SnapshotExport.h"


#include <QFileInfo>
#include <QImageWriter>
#include "base/LogCategories.h"
#include "base/UiText.h"
#include <QSaveFile>

namespace {
}

const QString SnapshotExport::kInitialName = QStringLiteral("Vantrix.jpg");
const QString SnapshotExport::kJpegFilter = QStringLiteral("jpeg file (*.jpg)");
const QString SnapshotExport::kFailedCaption = QString::fromUtf8(QT_TRANSLATE_NOOP("SnapshotExport", "스냅샷 저장!"));
const QString SnapshotExport::kFailedText = QString::fromUtf8(QT_TRANSLATE_NOOP("SnapshotExport", "다음 파일을 저장하지 못했습니다:"));

QString SnapshotExport::SnapshotBaseName(const QString& chosenPath)
{
    const QString name = QFileInfo(chosenPath).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return chosenPath;
    return chosenPath.left(chosenPath.size() - (name.size() - dot));
}

bool SnapshotExport::SaveBitmapAsJpeg(const QImage& picture, const QString& path)
{
    if (picture.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(vxLibrary) << "cannot write" << path << file.errorString();
        return false;
    }
    QImageWriter writer(&file, QByteArrayLiteral("jpeg"));
    if (!writer.write(picture)) {
        qCWarning(vxLibrary) << "JPEG encoding of" << path << "failed:" << writer.errorString();
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

SnapshotReport SnapshotExport::SaveSnapshot(const QImage& front, const QImage& rear, IFileDialogs& dialogs,
                                            IPrompt& prompt)
{
    SnapshotReport report;
    const QString chosen = dialogs.SaveFileName(kInitialName, QString(), kJpegFilter, true);
    if (chosen.isEmpty())
        return report;
    const QString base = SnapshotBaseName(chosen);
    auto save = [&](const QImage& picture, const QString& path) {
        (SaveBitmapAsJpeg(picture, path) ? report.written : report.failed) << path;
    };
    save(front, base + QStringLiteral("_front.jpg"));
    if (!rear.isNull())
        save(rear, base + QStringLiteral("_rear.jpg"));
    if (!report.failed.isEmpty())
        prompt.ShowMessage(UiText("SnapshotExport", kFailedCaption),
                           UiText("SnapshotExport", kFailedText) + QLatin1Char('\n') + report.failed.join(QLatin1Char('\n')));
    return report;
}

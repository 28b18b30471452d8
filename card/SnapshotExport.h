#pragma once
// The snapshot command: the pictures on screen saved as JPEG files, one for
// the front camera and, with two or more video channels, one for the rear.
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"

#include <QImage>
#include <QStringList>

struct SnapshotReport {
    QStringList written; // paths of the files saved
    QStringList failed;  // paths that could not be written
};

class SnapshotExport {
public:
    static const QString kInitialName;    // "Vantrix.jpg"
    static const QString kJpegFilter;     // "jpeg file (*.jpg)"
    static const QString kFailedCaption;
    static const QString kFailedText;     // heading of the list of files not saved

    // The chosen path without its extension (the text from the last dot of
    // the file name on); a name without one, or starting with its only dot,
    // stays whole. shot.jpeg → shot, shot.jpg → shot, shot → shot.
    static QString SnapshotBaseName(const QString& chosenPath);

    // JPEG at the picture's size with the encoder's default quality. The file
    // appears only once it is complete; a failed write leaves an existing file
    // as it was.
    static bool SaveBitmapAsJpeg(const QImage& picture, const QString& path);

    // Asks where to save the pictures, then writes "<name>_front.jpg" and,
    // when rear is not null, "<name>_rear.jpg". A file that could not be
    // written is named to the user. The pictures come from the playback
    // controller, which keeps the recording paused meanwhile.
    static SnapshotReport SaveSnapshot(const QImage& front, const QImage& rear, IFileDialogs& dialogs, IPrompt& prompt);
};

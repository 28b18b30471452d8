#pragma once
// The snapshot command: the pictures on screen saved as JPEG files, one for
// the front camera and, with two or more video channels, one for the rear.
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"

#include <QImage>
#include <QStringList>

class PlaybackEngine;

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

    // Nothing unless the engine has a graph that is Running or Paused. A
    // running graph is paused for the capture and the dialog and resumed
    // after. Front: channel 1; rear: channel 2. A file that could not be
    // written is named to the user.
    static SnapshotReport SaveSnapshot(PlaybackEngine& engine, IFileDialogs& dialogs, IPrompt& prompt);
};

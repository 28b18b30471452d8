#pragma once
// The card the playback tests use: 15 NORMAL, 3 EVENT and 1 MANUAL recording
// (paths below the card root), so ALL lists 19.
#include <QStringList>

inline QStringList playbackCardFiles()
{
    QStringList f;
    for (int i = 0; i < 15; ++i)
        f << QStringLiteral("INFINITE/a/20140101_1200%1_I01.mp4").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 3; ++i)
        f << QStringLiteral("EVENT/b/20140102_1200%1_E01.mp4").arg(i, 2, 10, QLatin1Char('0'));
    f << QStringLiteral("MANUAL/c/20140103_120000_M01.mp4");
    return f;
}

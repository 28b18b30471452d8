#pragma once
// The track list of a recording, read from the MP4 index with libavformat
// before the media graph is built: the graph's shape depends on how many
// pictures the file carries and on whether its sound is PCM.
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct ContainerProbe {
    enum class Kind { Video, Audio, Text, Other };
    struct Track {
        Kind kind = Kind::Other;
        bool pcm = false;
        QSize size;
    };
    std::vector<Track> tracks;       // in file order, the order the demuxer exposes its pads
    std::int64_t durationUnits = 0;  // 100-ns units

    int videoPinCount() const;
    // 1001 for each PCM track, 1 for each compressed one.
    int audioPinValue() const;
    QSize videoSize(int index) const;

    // nullopt (and a reason) when the file is not a readable MP4.
    static std::optional<ContainerProbe> Read(const QString& path, QString* error = nullptr);
};

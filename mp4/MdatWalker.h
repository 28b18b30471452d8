#pragma once
// One pass over the sample data of a cut recording, giving every byte range to
// a track of the reference recording: H.264/H.265 pictures by their
// length-prefixed NAL units, telemetry lines by their 16-bit length and line
// shape, and what lies between them to the sound track (PCM by its constant
// frame size, AAC by frame ends an AudioFrames helper finds). The walk stops
// at the first bytes that belong to no track: zeros, garbage or a sample the
// cut left incomplete.
#include "mp4/MdatBytes.h"
#include "mp4/Mp4Index.h"

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

class MdatWalker {
public:
    using Codec = Mp4Index::Codec;
    struct Track {
        Codec codec = Codec::Unknown;
        int nalLengthSize = 4;
        int log2MaxFrameNum = 0;         // H.264, from the SPS; 0 when unknown
        double sampleSeconds = 0;        // one sample (PCM: one frame)
        double startSeconds = 0;         // time of the first sample (priming moves it below 0)
        std::uint32_t pcmFrameBytes = 0;
        std::uint32_t maxSampleBytes = 0;
        std::uint32_t minSampleBytes = 0;
    };
    struct Sample {
        std::uint64_t offset = 0;        // in the file
        std::uint32_t size = 0;          // PCM: a run of whole frames
        bool key = false;
        bool empty = false;              // a telemetry sample without a line
        std::int64_t ms = 0;             // telemetry: time on the recording's clock
    };
    struct Result {
        std::vector<std::vector<Sample>> samples;   // per track
        std::uint64_t end = 0;           // file offset where the walk stopped
        std::uint64_t skippedBytes = 0;  // data given to no track
        bool cancelled = false;
    };
    // Finds where compressed sound frames end (libavcodec does it in the
    // engine; tests and the fuzzer hand in stand-ins).
    class AudioFrames {
    public:
        virtual ~AudioFrames() = default;
        // Lengths of the frames at the start of data. exact: the frames must
        // fill data to its last byte, else the result is empty; otherwise
        // decoding stops at the first frame that is broken or incomplete.
        virtual std::vector<std::uint32_t> split(const std::uint8_t* data, std::size_t size, bool exact) = 0;
    };
    // Called every few megabytes; false cancels the walk.
    using Progress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

    // videoOrder: track indexes of the reference's pictures in file order,
    // which says how the camera takes turns between its cameras.
    MdatWalker(std::vector<Track> tracks, std::vector<int> videoOrder, std::uint64_t maxAudioRun,
               AudioFrames* audioFrames);

    // data holds the file from fileOffset on (the mdat payload up to the end).
    Result walk(MdatBytes& data, std::uint64_t fileOffset, const Progress& progress = {});
    Result walk(const std::uint8_t* data, std::size_t size, std::uint64_t fileOffset, const Progress& progress = {});

    // log2_max_frame_num from the first SPS of an avcC payload; 0 when unreadable.
    static int h264Log2MaxFrameNum(const QByteArray& avcC);

private:
    struct Picture {
        std::size_t size = 0;
        bool key = false;
        bool ref = false;
        int frameNum = -1;
        Codec codec = Codec::Unknown;
        int nalLengthSize = 0;
        bool cutOff = false;             // not a picture only because the data ends inside it
    };
    struct TrackState {
        std::uint64_t count = 0;         // samples (PCM: frames) taken
        int lastFrameNum = -1;
        bool lastRef = true;
        double lastStart = -1e9;
    };
    bool pictureAt(std::size_t p, Picture& picture, int nalLengthSize, Codec codec) const;
    bool anyPictureAt(std::size_t p, Picture& picture) const;
    // A picture or line starts at p and the end of the data cuts it.
    bool cutSampleAt(std::size_t p) const;
    // An empty sample counts when a line follows it, or (afterLine) when it
    // follows the line taken last.
    bool lineAt(std::size_t p, std::size_t& size, bool& empty, bool allowEmpty, bool afterLine) const;
    int chooseVideoTrack(const Picture& picture, bool strict) const;
    int expectedFrameNum(int track, const Picture& picture) const;
    bool allZero(std::size_t from) const;
    // The first zero byte in [from, to), or to.
    std::size_t nextZero(std::size_t from, std::size_t to) const;
    void takePicture(int track, std::size_t p, const Picture& picture);
    void takeLine(std::size_t p, std::size_t size, bool empty);
    bool takeAudio(std::size_t from, std::size_t to, bool exact);
    double clock() const;

    std::vector<Track> m_tracks;
    // Each distinct (codec, NAL length size) of the video tracks, in track order:
    // a picture is parsed once per layout, not once per track.
    std::vector<std::pair<Codec, int>> m_videoLayouts;
    std::vector<int> m_videoOrder;
    std::uint64_t m_maxAudioRun = 0;
    AudioFrames* m_audioFrames = nullptr;
    int m_audio = -1, m_text = -1;
    bool m_zeroFirstByte = false;        // every sample start begins with a zero byte
    std::uint64_t m_maxCutSample = 0;    // the largest sample the cut can leave unfinished

    // Walk state.
    MdatBytes* m_bytes = nullptr;
    std::size_t m_size = 0;
    std::uint64_t m_base = 0;
    std::uint64_t m_pictures = 0;
    bool m_afterLine = false;            // the last sample taken was a telemetry line
    std::vector<TrackState> m_state;
    Result m_result;
};

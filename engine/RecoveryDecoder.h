#pragma once
// The decoding a recording recovery needs from libavcodec: where AAC frames
// end (raw AAC carries no lengths; the decoder finds each frame's end), and
// whether a picture decodes with a reference recording's sample description.
#include "engine/MediaHandles.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

class RecoveryDecoder {
public:
    RecoveryDecoder();
    ~RecoveryDecoder();
    RecoveryDecoder(const RecoveryDecoder&) = delete;
    RecoveryDecoder& operator=(const RecoveryDecoder&) = delete;

    // Lengths of the AAC frames at the start of data, decoded with the
    // AudioSpecificConfig config. exact: the frames must fill data to its
    // last byte (else empty); otherwise stops before the first frame that is
    // broken or incomplete.
    std::vector<std::uint32_t> aacFrames(const QByteArray& config, const std::uint8_t* data, std::size_t size,
                                         bool exact);

    // Decodes one key picture with an avcC (hevc false) or hvcC payload;
    // false and the decoder's complaint when it does not decode cleanly.
    static bool decodesPicture(bool hevc, const QByteArray& config, const std::uint8_t* sample, std::size_t size,
                               QString* why);

private:
    bool openAac(const QByteArray& config);
    // Decodes data[0, size) as one packet: for each frame made, the bytes
    // left when it began; clean when every byte was used.
    std::vector<int> decodeRun(const std::uint8_t* data, std::size_t size, bool& clean);

    AVCodecContextPtr m_aac;
    QByteArray m_config;
};

#pragma once
// The test picture: the top and bottom halves in colours that tell the
// camera apart (a test reads them), the camera's name and the time written
// in the top-left corner, optional noise so the encoder has real work.
#include <cstdint>
#include <string>

struct AVFrame;

struct ChannelColours {
    std::uint8_t topY, topU, topV;
    std::uint8_t bottomY, bottomU, bottomV;
};

class PictureGenerator {
public:
    // channel 0 front (top red, bottom blue), 1 rear (top green, bottom yellow)
    static ChannelColours colours(int channel);
    // frame: YUV420P, allocated to its size.
    static void fill(AVFrame* frame, int channel, const std::string& caption, std::int64_t frameIndex, bool noisy);
    static void addGrain(AVFrame* frame, int channel, std::int64_t frameIndex);
    static void drawCaption(AVFrame* frame, const std::string& caption);
};

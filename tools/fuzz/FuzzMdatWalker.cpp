// Mutated sample data through the walker that recovers cut recordings (and,
// by the first byte's 0x10 bit, through the index parser): two
// H.264 (or H.265) cameras, sound and telemetry. Sound frames are cut by a
// stand-in that reads a one-byte length, so the walker's own logic is what runs.
// The same bytes are walked again from a file, read in small blocks, and must
// give the same samples.
#include "mp4/MdatWalker.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {
class LengthByteFrames : public MdatWalker::AudioFrames {
public:
    std::vector<std::uint32_t> split(const std::uint8_t* data, std::size_t size, bool exact) override
    {
        std::vector<std::uint32_t> out;
        std::size_t p = 0;
        while (p < size && data[p] >= 8 && p + data[p] <= size) {
            out.push_back(data[p]);
            p += data[p];
        }
        if (exact && p != size)
            out.clear();
        return out;
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the layout: codec, NAL length size, PCM or AAC.
    const std::uint8_t layout = data[0];
    // The same bytes as the index of a reference recording (read from cards, so untrusted).
    if (layout & 0x10) {
        if (auto index = Mp4Index::ParseMoov(data + 1, size - 1))
            for (const auto& t : index->tracks)
                for (const auto& c : t.chunks)
                    if (std::uint64_t(c.firstSample) + c.samples > t.sampleCount)
                        __builtin_trap();
        return 0;
    }
    using Codec = MdatWalker::Codec;
    MdatWalker::Track video;
    video.codec = (layout & 1) ? Codec::H265 : Codec::H264;
    video.nalLengthSize = (layout & 2) ? 2 : 4;
    video.log2MaxFrameNum = (layout & 4) ? 4 : 0;
    video.sampleSeconds = 1.0 / 30;
    video.maxSampleBytes = 1u << 20;
    MdatWalker::Track rear = video;
    rear.sampleSeconds = 1.0 / 15;
    MdatWalker::Track sound;
    sound.codec = (layout & 8) ? Codec::Pcm : Codec::Aac;
    sound.pcmFrameBytes = 2;
    sound.sampleSeconds = 1024.0 / 22050;
    sound.maxSampleBytes = 512;
    sound.minSampleBytes = 8;
    MdatWalker::Track text;
    text.codec = Codec::Text;
    text.maxSampleBytes = 120;
    LengthByteFrames frames;
    MdatWalker walker({video, rear, sound, text}, {0, 1, 0, 0, 1}, 4096, &frames);
    const MdatWalker::Result r = walker.walk(data + 1, size - 1, 40, [](std::uint64_t, std::uint64_t) { return true; });
    static const int fd = memfd_create("mdat", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data + 1, size - 1, 40) != static_cast<ssize_t>(size - 1))
        __builtin_trap();
    MdatBytes fromFile(fd, 40, size - 1, 64);
    const MdatWalker::Result f = walker.walk(fromFile, 40);
    if (f.end != r.end || f.skippedBytes != r.skippedBytes || fromFile.failed())
        __builtin_trap();
    for (std::size_t t = 0; t < r.samples.size(); ++t) {
        if (f.samples[t].size() != r.samples[t].size())
            __builtin_trap();
        for (std::size_t i = 0; i < r.samples[t].size(); ++i) {
            const MdatWalker::Sample &a = r.samples[t][i], &b = f.samples[t][i];
            if (a.offset != b.offset || a.size != b.size || a.key != b.key || a.empty != b.empty || a.ms != b.ms)
                __builtin_trap();
        }
    }
    // Every sample lies inside the data and none overlaps the walk's end.
    for (const auto& track : r.samples)
        for (const auto& s : track)
            if (s.offset < 40 || s.offset + s.size > 40 + (size - 1) || s.offset + s.size > r.end)
                __builtin_trap();
    if (r.skippedBytes > size - 1)
        __builtin_trap();
    return 0;
}

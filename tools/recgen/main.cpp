// halcyon-recgen: writes a recording in the camera's format. See usage().
#include "tools/recgen/RecordingWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>

namespace {
void usage()
{
    std::fprintf(stderr,
                 "usage: halcyon-recgen OUT.mp4 [options]\n"
                 "  --front WxH          front picture size (1280x720)\n"
                 "  --rear WxH           rear picture size (640x360)\n"
                 "  --fps N              front frame rate (30)\n"
                 "  --rear-fps N         rear frame rate (same as --fps)\n"
                 "  --bitrate KBPS       front bit rate (4000)\n"
                 "  --rear-bitrate KBPS  rear bit rate (1500)\n"
                 "  --duration SEC       length in seconds (20)\n"
                 "  --preset NAME        x264 preset (ultrafast)\n"
                 "  --scene bars|road    test picture in two colours per camera (bars),\n"
                 "                       or a drive down a road (road)\n"
                 "  --noisy              grainy picture (realistic bit rates)\n"
                 "  --still              no moving block (only the caption changes)\n"
                 "  --one-video          front camera only\n"
                 "  --audio-first        sound track before the video tracks\n"
                 "  --pcm                16-bit PCM sound instead of AAC\n"
                 "  --no-audio           no sound track\n"
                 "  --no-telemetry       no telemetry track\n"
                 "  --telemetry-only     only the telemetry track\n"
                 "  --truncate N         cut the finished file after N bytes\n"
                 "  --start YYYYMMDDHHMMSS  UTC time of the first GPS fix (20261209052501)\n"
                 "  --drive-offset SEC   seconds already driven (continues a drive across files)\n"
                 "  --south, --west      southern / western hemisphere\n"
                 "  --impact SEC         acceleration spike at SEC into the recording\n"
                 "  --line MS:HEX        add a telemetry line of raw bytes at MS\n");
}

bool parseSize(const char* text, int& w, int& h)
{
    return std::sscanf(text, "%dx%d", &w, &h) == 2 && w >= 16 && h >= 16 && w % 2 == 0 && h % 2 == 0;
}

bool parseStart(const char* text, std::int64_t& utc)
{
    std::tm tm{};
    if (std::strlen(text) != 14 ||
        std::sscanf(text, "%4d%2d%2d%2d%2d%2d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min,
                    &tm.tm_sec) != 6)
        return false;
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    utc = static_cast<std::int64_t>(timegm(&tm));
    return true;
}

bool parseLine(const std::string& text, TelemetrySample& line)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    line.ms = std::atoll(text.substr(0, colon).c_str());
    const std::string hex = text.substr(colon + 1);
    if (hex.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        char* end = nullptr;
        const std::string byte = hex.substr(i, 2);
        const long v = std::strtol(byte.c_str(), &end, 16);
        if (*end != '\0')
            return false;
        line.bytes.push_back(static_cast<char>(v));
    }
    return line.ms >= 0;
}
} // namespace

int main(int argc, char** argv)
{
    RecordingOptions o;
    parseStart("20261209052501", o.drive.startUtc);
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "halcyon-recgen: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        bool ok = true;
        if (a == "--front")
            ok = parseSize(value(), o.frontWidth, o.frontHeight);
        else if (a == "--rear")
            ok = parseSize(value(), o.rearWidth, o.rearHeight);
        else if (a == "--fps")
            ok = (o.fps = std::atoi(value())) > 0;
        else if (a == "--rear-fps")
            ok = (o.rearFps = std::atoi(value())) > 0;
        else if (a == "--bitrate")
            ok = (o.frontKbps = std::atoi(value())) > 0;
        else if (a == "--rear-bitrate")
            ok = (o.rearKbps = std::atoi(value())) > 0;
        else if (a == "--duration")
            ok = (o.durationSec = std::atof(value())) > 0;
        else if (a == "--preset")
            o.preset = value();
        else if (a == "--scene") {
            const std::string scene = value();
            ok = scene == "bars" || scene == "road";
            o.road = scene == "road";
        } else if (a == "--noisy")
            o.noisy = true;
        else if (a == "--still")
            o.still = true;
        else if (a == "--one-video")
            o.oneVideo = true;
        else if (a == "--audio-first")
            o.audioFirst = true;
        else if (a == "--pcm")
            o.pcm = true;
        else if (a == "--no-audio")
            o.audio = false;
        else if (a == "--no-telemetry")
            o.telemetry = false;
        else if (a == "--telemetry-only")
            o.telemetryOnly = true;
        else if (a == "--truncate")
            ok = (o.truncateAt = std::atoll(value())) >= 0;
        else if (a == "--start")
            ok = parseStart(value(), o.drive.startUtc);
        else if (a == "--drive-offset")
            ok = (o.drive.driveOffsetSec = std::atoi(value())) >= 0;
        else if (a == "--south")
            o.drive.south = true;
        else if (a == "--west")
            o.drive.west = true;
        else if (a == "--impact")
            ok = (o.drive.impactAtSec = std::atof(value())) >= 0;
        else if (a == "--line") {
            TelemetrySample line;
            ok = parseLine(value(), line);
            o.extraLines.push_back(line);
        } else if (a == "-h" || a == "--help") {
            usage();
            return 0;
        } else if (!a.empty() && a[0] != '-' && o.path.empty())
            o.path = a;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "halcyon-recgen: bad argument near %s\n", a.c_str());
            usage();
            return 2;
        }
    }
    if (o.path.empty()) {
        usage();
        return 2;
    }
    const std::string error = writeRecording(o);
    if (!error.empty()) {
        std::fprintf(stderr, "halcyon-recgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

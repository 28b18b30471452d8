#pragma once
// The texts the main window paints for the playback position: the play times
// and the three acceleration read-outs.
#include <QString>
#include <chrono>
#include <cstdint>
#include <algorithm>
#include <optional>

struct GReadoutTexts {
    QString x;
    QString y;
    QString z;
};

class PlaybackReadoutText {
public:
    // "%02d:%02d" of minutes and seconds (hours are not shown); "00:00"
    // unless the graph is Running or Paused.
    static QString TimeText(bool runningOrPaused, std::chrono::milliseconds time);

    // An axis byte as g: 128 is 0 g, a step is 1/64 g.
    static double GValue(std::uint8_t axisByte);
    // "%0.1fG" of GValue.
    static QString GValueText(std::uint8_t axisByte);

    // The read-outs for the position: all "0.0G" unless Running or Paused;
    // otherwise from the first sample, in list order, whose timeStamp is at
    // least the position; nullopt (nothing drawn) when there is none.
    // Samples: any range of acceleration records with timeStamp, x, y, z, held
    // by value or by (smart) pointer.
    template <typename Samples>
    static std::optional<GReadoutTexts> GReadoutAt(bool runningOrPaused, std::chrono::milliseconds position,
                                                   const Samples& samples)
    {
        const auto positionMs = static_cast<std::uint64_t>(std::max<std::int64_t>(0, position.count()));
        if (!runningOrPaused)
            return GReadoutTexts{GValueText(128), GValueText(128), GValueText(128)};
        for (const auto& entry : samples) {
            const auto& s = deref(entry);
            if (static_cast<std::uint64_t>(s.timeStamp) >= positionMs)
                return GReadoutTexts{GValueText(s.x), GValueText(s.y), GValueText(s.z)};
        }
        return std::nullopt;
    }

private:
    template <typename T>
    static const auto& deref(const T& entry)
    {
        if constexpr (requires { entry->timeStamp; })
            return *entry;
        else
            return entry;
    }
};

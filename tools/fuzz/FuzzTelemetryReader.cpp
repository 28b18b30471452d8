// Mutated recordings through the telemetry file reader and LoadTelemetry.
#include "engine/TelemetryFileSource.h"
#include "telemetry/RecordingTelemetry.h"

#include <QString>
#include <cstdio>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = QStringLiteral("/tmp/halcyon-fuzz-reader-%1.mp4").arg(getpid());
    const QByteArray name = path.toLocal8Bit();
    std::FILE* f = std::fopen(name.constData(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (auto source = TelemetryFileSource::Open(path)) {
        RecordingTelemetry telemetry;
        telemetry.LoadTelemetry(source.get(), nullptr);
        if (telemetry.gpsTimes.size() != telemetry.gpsTrack.size())
            __builtin_trap();
    }
    return 0;
}

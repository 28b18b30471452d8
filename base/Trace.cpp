#include "base/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <vector>


namespace {
std::function<void(const QString&)>& traceSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}
} // namespace

void SetTraceSink(std::function<void(const QString&)> sink) { traceSink() = std::move(sink); }

void TraceText(const QString& text)
{
    if (traceSink())
        traceSink()(text);
    qCDebug(vxTrace).noquote() << text.trimmed();
}

void TraceLine(const char* format, ...)
{
    // Formatting costs more than the line is worth when nobody reads it
    // (LoadTelemetry writes one per acceleration sample).
    if (!traceSink() && !vxTrace().isDebugEnabled())
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> buffer(needed > 0 ? size_t(needed) + 1 : 1, '\0');
    if (needed > 0)
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    TraceText(QString::fromUtf8(buffer.data()));
}

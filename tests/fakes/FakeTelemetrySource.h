#pragma once
// A telemetry source that hands out prepared lines and results.
#include "engine/ITelemetrySource.h"

#include <QByteArray>
#include <cstring>
#include <utility>
#include <vector>

class FakeTelemetrySource : public ITelemetrySource {
public:
    struct Step {
        int result = kTelemetryLineOk;
        QByteArray line;
        std::int32_t timeStamp = 0;
    };

    void addLine(const QByteArray& line, std::int32_t timeStamp) { steps.push_back({kTelemetryLineOk, line, timeStamp}); }
    void addResult(int result) { steps.push_back({result, {}, 0}); }

    void TelemetrySetSpan(std::int32_t start, std::int32_t end) override { span = {start, end}; }
    int TelemetryReadLine(std::uint8_t* buffer, std::uint32_t* length, std::int32_t* timeStamp) override
    {
        ++calls;
        if (next >= steps.size())
            return endResult;
        const Step& s = steps[next++];
        const auto n = std::min<std::size_t>(std::size_t(s.line.size()), kTelemetryBufferSize);
        std::memcpy(buffer, s.line.constData(), n);
        *length = std::uint32_t(n);
        *timeStamp = s.timeStamp;
        return s.result;
    }

    std::vector<Step> steps;
    std::size_t next = 0;
    int endResult = kTelemetryNoMoreLines;
    int calls = 0;
    std::pair<std::int32_t, std::int32_t> span{-2, -2};
};

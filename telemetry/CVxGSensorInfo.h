#pragma once
// One acceleration sample: offset bytes, 128 is 0 g, 1/64 g a step.
#include <array>
#include <cstdint>

struct CVxGSensorInfo {
    std::uint32_t timeStamp = 0;
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint8_t z = 0;
    // Carried along from the line; nothing reads them.
    std::array<std::uint8_t, 3> extra{};
};

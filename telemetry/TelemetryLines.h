#pragma once
// Parsing of the two kinds of telemetry line the camera stores.
#include "telemetry/CVxGPSTrace.h"
#include "telemetry/CVxGSensorInfo.h"

#include <cstddef>
#include <cstdint>

// "G$GPRMC,..." text, read up to its first zero byte but never past size bytes.
// Only fields followed by a comma are used; no checksum, status or range test.
CVxGPSTrace ParseRmcLine(const std::uint8_t* line, std::size_t size, std::uint32_t timeStamp);

// 'M' then raw bytes X, Y, Z and three more. Bytes beyond size read as 0, as
// the caller's zero-filled buffer would give them. Writes the GSensor trace line.
CVxGSensorInfo ParseGSensorLine(const std::uint8_t* line, std::size_t size, std::uint32_t timeStamp);

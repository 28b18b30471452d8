#pragma once
#include <cstdint>

enum class EngineState : int { Running = 0, Paused = 1, Stopped = 2, NoMedia = 3 };

// Status codes at the engine interface: negative is failure.
constexpr int kStatusOk = 0;
constexpr int kStatusFail = -1;
constexpr int VFW_E_WRONG_STATE = static_cast<int>(0x80040227u);

// Positions inside the graph are 100-ns units; the interface speaks milliseconds.
constexpr std::int64_t kUnitsPerMs = 10000;

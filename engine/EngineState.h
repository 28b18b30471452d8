#pragma once

enum class EngineState : int { Running = 0, Paused = 1, Stopped = 2, NoMedia = 3 };

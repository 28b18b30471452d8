#pragma once
// The speed and volume rules shared by the engine and the main window.
#include <array>

// Rates chosen by the speed setting 1..9; Run clamps them to 0.5..2.0.
constexpr std::array<float, 9> RateTable{0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.25f, 1.5f, 1.75f, 5.0f};
constexpr float kMinRate = 0.5f;
constexpr float kMaxRate = 2.0f;

// RateTable[setting - 1], 1.0 for a setting outside 1..9.
float RateForSpeedSetting(int setting);
// What Run applies: 1.0 exactly stays, anything else is clamped to 0.5..2.0.
float ClampRate(float rate);
// Volume in hundredths of a decibel, -10000 (silence) to 0, from 0..100 %.
int VolumeLevelFromPercent(int percent);
// Linear gain of a level in hundredths of a decibel; 0 for -10000 and below.
double GainFromVolumeLevel(int level);

#pragma once
// What the keypad player says about times and speeds.
#include <string>

// A position or length in milliseconds as "%d分%d秒".
std::wstring SpokenTime(long milliseconds);

// Speeds are MCI speeds in thousandths, 100 to 2,000 in steps of 50.
constexpr int kNormalSpeed = 1000;
constexpr int kSlowestSpeed = 100;
constexpr int kFastestSpeed = 2000;
constexpr int kSpeedStep = 50;

// "再生スピード1.0", "再生スピード1.05": one decimal on the tenths, two
// otherwise. Empty for a speed off the grid.
std::wstring SpeedText(int speed);

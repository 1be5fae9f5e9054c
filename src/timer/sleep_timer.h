#pragma once
// The sleep timer counts down once a second (timer 100) while it runs.

constexpr unsigned kSleepTimerId = 100;

void SleepTimerTick();

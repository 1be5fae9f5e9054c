#include "timer/sleep_timer.h"

// The sleep timer is not built yet: it never runs, so a tick does nothing.
void SleepTimerTick() {}

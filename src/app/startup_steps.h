#pragma once
// Time marks along the start-up path. Only the benchmark's copy of the
// program (built with ORINDA_STARTUP_STEPS) records them; in the program
// that ships they are empty and compile away.
#ifdef ORINDA_STARTUP_STEPS
// Records that the step called `name` has just ended.
void MarkStartupStep(const char* name);
#else
inline void MarkStartupStep(const char*) {}
#endif

#include "audio/audio_history.h"

// The audio history is not kept yet: nothing is converted or loaded.

void MigrateLegacyAudioHistory(const std::wstring&) {}

void LoadAudioHistory() {}

#pragma once
// Audio history: Audio.log in the data folder, with resume points.
#include <string>

void MigrateLegacyAudioHistory(const std::wstring& legacyFolder);
void LoadAudioHistory();

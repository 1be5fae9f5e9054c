#include "audio/keypad_player.h"

#include "speech/speech.h"

// The player is not built yet: it is never enabled and has nothing to play.

bool IsKeypadPlayerEnabled() {
    return false;
}

void RegisterKeypadHotKeys() {}

void UnregisterKeypadHotKeys() {}

void HandleKeypadHotKey(int) {}

void HandlePlaybackNotify(WPARAM, LPARAM) {}

void ClosePlayer() {}

void ReadKeypadPlayerState(HWND, LPARAM) {
    Speak(IsKeypadPlayerEnabled() ? L"テンキープレーヤー有効" : L"テンキープレーヤー無効", kAtOnce);
}

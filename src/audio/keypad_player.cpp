#include "audio/keypad_player.h"

// The player is not built yet: it is never enabled and has nothing to play.

bool IsKeypadPlayerEnabled() {
    return false;
}

void RegisterKeypadHotKeys() {}

void UnregisterKeypadHotKeys() {}

void HandleKeypadHotKey(int) {}

void HandlePlaybackNotify(WPARAM, LPARAM) {}

void ClosePlayer() {}

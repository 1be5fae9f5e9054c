#pragma once
// The numeric-keypad audio player: global hot keys 601-615 while the editor
// has the focus, and MCI playback.
#include <windows.h>

bool IsKeypadPlayerEnabled();
void RegisterKeypadHotKeys();
void UnregisterKeypadHotKeys();
void HandleKeypadHotKey(int hotKeyId);
void HandlePlaybackNotify(WPARAM flags, LPARAM deviceId);
// Stop playback, keep the resume point and close the audio file.
void ClosePlayer();
// Command 591: whether the player is enabled.
void ReadKeypadPlayerState(HWND mainWindow, LPARAM);

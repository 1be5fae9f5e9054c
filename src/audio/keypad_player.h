#pragma once
// The numeric-keypad audio player: one audio file on the MCI device, driven
// by global hot keys 601-615 while the editor has the focus and the player is
// enabled. While it plays, its confirmations are silent.
#include <windows.h>

bool IsKeypadPlayerEnabled();
// The editor has the focus again: take the keys while the player is enabled.
// Keys held elsewhere meanwhile turn the player off, and it says so once.
void RetakeKeypadHotKeys();
void UnregisterKeypadHotKeys();
void HandleKeypadHotKey(int hotKeyId);
void HandlePlaybackNotify(WPARAM flags, LPARAM deviceId);
// Main window closing: store where the file was left, close it and release
// the keys, so that a new main window starts with a fresh player.
void ClosePlayer();

// The commands; each hot key runs the command of its number.
void ToggleKeypadPlayer(HWND, LPARAM);      // 580
void ReadKeypadPlayerState(HWND, LPARAM);   // 591
void ReadPlayerVolume(HWND, LPARAM);        // 595
void ReadPlayerSpeed(HWND, LPARAM);         // 596
void ReadPlayerPosition(HWND, LPARAM);      // 597
void ReadPlayerLength(HWND, LPARAM);        // 598
void ReadPlayerFileName(HWND, LPARAM);      // 599
void BackThreeSeconds(HWND, LPARAM);        // 601
void VolumeDown(HWND, LPARAM);              // 602
void ForwardThreeSeconds(HWND, LPARAM);     // 603
void BackTenSeconds(HWND, LPARAM);          // 604
void PlayOrStop(HWND, LPARAM);              // 605
void ForwardTenSeconds(HWND, LPARAM);       // 606
void BackOneMinute(HWND, LPARAM);           // 607
void VolumeUp(HWND, LPARAM);                // 608
void ForwardOneMinute(HWND, LPARAM);        // 609
void BackToStart(HWND, LPARAM);             // 610
void MoveToEnd(HWND, LPARAM);               // 611
void OpenAudioFileCommand(HWND, LPARAM);    // 612
void NormalSpeed(HWND, LPARAM);             // 613
void SpeedUp(HWND, LPARAM);                 // 614
void SpeedDown(HWND, LPARAM);               // 615
void OpenFromAudioHistory(HWND, LPARAM);    // 616

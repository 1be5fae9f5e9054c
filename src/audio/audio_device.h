#pragma once
// The keypad player's one MCI device, alias "File", reached through the
// outside-world seam. Positions and lengths are in milliseconds.
#include <string>

bool OpenDevice(const std::wstring& path);
void CloseDevice();
// Playback reports its end to the main window (MM_MCINOTIFY).
bool PlayDevice();
void StopDevice();
bool SeekDevice(long position);
// 0 when the device gives no number.
long DevicePosition();
long DeviceLength();
// Level 0 to 20: MCI volume 50 times the level.
void SetDeviceVolume(int level);
void SetDeviceSpeed(int speed);

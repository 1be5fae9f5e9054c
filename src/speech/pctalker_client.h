#pragma once
// PC-Talker's user library, loaded by name at run time; every entry point may
// be missing, and then the calls through it are skipped.
#include <functional>
#include <string>

// The library comes with PC-Talker, which puts it in the system folder; one
// beside the program comes first. Each is loaded by full path.
bool LoadPcTalker(const std::wstring& programFolder);
bool PcTalkerLoaded();
void UnloadPcTalker();

// PC-Talker is running (its status export says so).
bool PcTalkerRunning();
void PcTalkerSpeak(const std::wstring& text);
// Wait, in 100 ms steps, until PC-Talker is silent; bounded, and ended early
// when `stopRequested` turns true. Returns false when stopped.
bool WaitForPcTalkerSilence(const std::wstring& text, const std::function<bool()>& stopRequested);

#pragma once
// Audio history: the audio files opened last, newest first, each with its
// resume point (the position where it was left), in Audio.log of the data
// folder. Every change rereads the file and rewrites it whole, so that all
// instances share one list.
#include <windows.h>

#include <optional>
#include <string>

#include "lists/list_file.h"

constexpr size_t kAudioHistoryEntries = 20;

std::wstring AudioHistoryPath();
// Empty when Audio.log is missing or cannot be read.
PathEntries LoadAudioHistory();
bool SaveAudioHistory(const PathEntries& history);

// The changes below write nothing when Audio.log exists but cannot be read.
// Put a file at the top, with the resume point it had when already listed.
void AddToAudioHistory(const std::wstring& path);
// Store where a listed file was left; a file no longer listed stays out.
void StoreResumePoint(const std::wstring& path, long position);

// "AudioHistoryDialog": the entry chosen, or nothing when cancelled.
std::optional<PathEntry> ChooseFromAudioHistory(HWND owner);

// Never over an Audio.log that exists already.
void MigrateLegacyAudioHistory(const std::wstring& legacyFolder);

#pragma once
// The four search dialogs. Each only collects the terms; the commands search,
// store the terms and add them to the history.
#include <windows.h>

#include <string>

enum class SearchKind { Plain, Regex };

struct FindRequest {
    std::wstring term;
    bool matchCase = false;  // shown and read back by the plain dialog only
};

struct ReplaceRequest {
    std::wstring term;
    std::wstring replacement;
    bool matchCase = false;  // shown and read back by the plain dialog only
    bool replaceAll = false;
};

// True on OK; the request then holds what the user entered.
bool AskFind(HWND owner, SearchKind kind, FindRequest& request);
bool AskReplace(HWND owner, SearchKind kind, ReplaceRequest& request);

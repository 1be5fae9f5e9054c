#include "core/clipboard.h"

#include <cstring>
#include <cwchar>

namespace {

// The clipboard is closed and its memory unlocked even when the copy runs
// out of memory.
struct OpenedClipboard {
    ~OpenedClipboard() { CloseClipboard(); }
};
struct LockedMemory {
    HANDLE data;
    const void* bytes;
    ~LockedMemory() {
        if (bytes) GlobalUnlock(data);
    }
};

}  // namespace

bool SetClipboardText(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return false;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
    } else {
        GlobalFree(memory);
        return false;
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    // Once set, the memory belongs to the clipboard.
    const bool taken = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    if (!taken) GlobalFree(memory);
    return taken;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
    const OpenedClipboard opened;
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    const LockedMemory locked{data, GlobalLock(data)};
    if (!locked.bytes) return std::nullopt;
    const auto* units = static_cast<const wchar_t*>(locked.bytes);
    return std::wstring(units, wcsnlen(units, GlobalSize(data) / sizeof(wchar_t)));
}

#pragma once
// Text handed to other programs through the clipboard.
#include <windows.h>

#include <optional>
#include <string>

// Put `text` on the clipboard as Unicode text. Returns whether the clipboard
// took it (another program may hold the clipboard open).
bool SetClipboardText(HWND owner, const std::wstring& text);
// The clipboard's Unicode text, up to its first NUL; nothing when the
// clipboard cannot be opened or holds no text.
std::optional<std::wstring> ClipboardText(HWND owner);

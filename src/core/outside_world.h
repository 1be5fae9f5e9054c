#pragma once
// The one seam for calls whose effects leave the process (starting programs,
// opening folders and web pages, power, sound devices, voices, the network).
// Tests replace these pointers so that nothing outside is ever touched.
#include <windows.h>

#include <string>

struct OutsideWorld {
    // Open a file, folder or URL with its default program. Returns whether
    // the shell accepted it.
    bool (*shellOpen)(const std::wstring& target);
    // Put the machine to sleep, or into hibernation. Returns whether it went.
    bool (*suspendSystem)(bool hibernate);
    // Shut the machine down, closing programs by force. Returns whether the
    // shutdown started.
    bool (*shutDownSystem)();
    // "https://" and the host of the maker's web site, or empty when the
    // program was built without one.
    std::wstring (*makerSite)();
    // One GET of a URL: at most `maxBytes` bytes of the body, and only from
    // an answer with HTTP status 200. Returns whether such bytes were read.
    bool (*httpGet)(const std::wstring& url, size_t maxBytes, std::string& body);
    // The folder browser, starting at `initialFolder`. Returns false when the
    // user cancels.
    bool (*browseForFolder)(HWND owner, const std::wstring& title, const std::wstring& initialFolder,
                            std::wstring& chosen);
    // The user's Send-To folder, or empty when it cannot be found.
    std::wstring (*sendToFolder)();
};

OutsideWorld& Outside();

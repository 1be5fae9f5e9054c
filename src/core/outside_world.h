#pragma once
// The one seam for calls whose effects leave the process (starting programs,
// opening folders and web pages, power, sound devices, voices, the network).
// Tests replace these pointers so that nothing outside is ever touched.
#include <string>

struct OutsideWorld {
    // Open a file, folder or URL with its default program. Returns whether
    // the shell accepted it.
    bool (*shellOpen)(const std::wstring& target);
    // Send an MCI command string. Returns whether the device accepted it;
    // `reply` then holds its answer (empty when it gave none) and is empty
    // otherwise. Notifications ("notify") go to the main window.
    bool (*sendMciString)(const std::wstring& command, std::wstring& reply);
};

OutsideWorld& Outside();

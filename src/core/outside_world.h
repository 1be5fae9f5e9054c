#pragma once
// The one seam for calls whose effects leave the process (starting programs,
// opening folders and web pages, power, sound devices, voices, the network).
// Tests replace these pointers so that nothing outside is ever touched.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// A voice's volume (0 to 100), rate and pitch (-10 to 10) as SAPI counts
// them; the voice engine clamps them before use.
struct VoiceParameters {
    int volume = 100;
    int rate = 0;
    int pitch = 0;
};

struct OutsideWorld {
    // Open a file, folder or URL with its default program. Returns whether
    // the shell accepted it.
    bool (*shellOpen)(const std::wstring& target);

    // Start a program with a hidden window. Returns its process handle (the
    // caller closes it), or null when it could not be started.
    HANDLE (*startHidden)(const std::wstring& program, const std::wstring& parameters);
    // Start a program in a window of its own, as the user would. Returns
    // whether it started.
    bool (*startProgram)(const std::wstring& program, const std::wstring& parameters);
    // The system's folder browser, starting at `startFolder`. Returns whether
    // the user picked a folder, whose path is then in `chosen`.
    bool (*browseForFolder)(HWND owner, const std::wstring& title, const std::wstring& startFolder,
                            std::wstring& chosen);

    // The names of the installed voices, in the system's order.
    std::vector<std::wstring> (*voiceNames)();
    // Speak a test sentence aloud without waiting; a new test cuts off the last.
    void (*speakTest)(const std::wstring& text, const std::wstring& voiceName, const VoiceParameters& parameters);
    // Render the text into a new WAV file (16 kHz, 16-bit, mono). Returns true
    // only when all of it was rendered and the file closed; gives up soon
    // after `cancel` is set.
    bool (*renderToWave)(const std::wstring& text, const std::wstring& path, const std::wstring& voiceName,
                         const VoiceParameters& parameters, const std::atomic<bool>& cancel);

    // Send an MCI command string. Returns whether the device accepted it;
    // `reply` then holds its answer (empty when it gave none) and is empty
    // otherwise. Notifications ("notify") go to the main window.
    bool (*sendMciString)(const std::wstring& command, std::wstring& reply);
    // Put the machine to sleep, or into hibernation. Returns whether it went.
    bool (*suspendSystem)(bool hibernate);
    // Shut the machine down; with `force` programs are closed without being
    // asked. Returns whether the shutdown started.
    bool (*shutDownSystem)(bool force);
    // "https://" and the host of the maker's web site, or empty when the
    // program was built without one.
    std::wstring (*makerSite)();
    // One GET of a URL: at most `maxBytes` bytes of the body, and only from
    // an answer with HTTP status 200. Returns whether such bytes were read.
    bool (*httpGet)(const std::wstring& url, size_t maxBytes, std::string& body);
    // The user's Send-To folder, or empty when it cannot be found.
    std::wstring (*sendToFolder)();
};

OutsideWorld& Outside();

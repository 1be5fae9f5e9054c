#pragma once
// The one pattern of every modal dialog: the controls are filled when the
// dialog opens and read back when it is accepted; the dialog only collects
// input and the command that opened it does the work.
#include <windows.h>

#include <functional>

struct DialogHandlers {
    // WM_INITDIALOG: fill the controls.
    std::function<void(HWND dialog)> fill;
    // OK, or `acceptButton`: read the controls. False keeps the dialog open
    // (the handler has told the user why).
    std::function<bool(HWND dialog, int button)> accept;
    // Any other button; returns whether it was handled. May be empty.
    std::function<bool(HWND dialog, int id)> command;
    // The Delete key in a list box of the dialog. May be empty.
    std::function<void(HWND dialog)> deleteKey;
    // A second button that accepts like OK (0: none).
    int acceptButton = 0;
};

// Run the named dialog template. Returns whether it was accepted.
bool RunDialog(HWND owner, const wchar_t* templateName, const DialogHandlers& handlers);

// The plain form: fill on open, read on OK.
template <class Data>
bool RunInputDialog(HWND owner, const wchar_t* templateName, Data& data, void (*fill)(HWND, Data&),
                    void (*read)(HWND, Data&)) {
    DialogHandlers handlers;
    handlers.fill = [&data, fill](HWND dialog) { fill(dialog, data); };
    handlers.accept = [&data, read](HWND dialog, int) {
        read(dialog, data);
        return true;
    };
    return RunDialog(owner, templateName, handlers);
}

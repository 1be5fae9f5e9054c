#pragma once
// The one pattern of every modal dialog: a small data struct is filled into
// the controls when the dialog opens and read back on OK; the dialog only
// collects input and the command that opened it does the work.
#include <windows.h>

struct InputDialogSteps {
    void (*fill)(HWND dialog, void* data);
    void (*read)(HWND dialog, void* data);
    // Buttons other than OK and CANCEL (browse, test); may be null.
    void (*command)(HWND dialog, WORD id, void* data);
};

// Run the named dialog template. Returns whether it closed with OK.
bool RunUntypedInputDialog(HWND owner, const wchar_t* templateName, const InputDialogSteps& steps, void* data);

template <class Data>
bool RunInputDialog(HWND owner, const wchar_t* templateName, Data& data, void (*fill)(HWND, Data&),
                    void (*read)(HWND, Data&), void (*command)(HWND, WORD, Data&) = nullptr) {
    struct Steps {
        void (*fill)(HWND, Data&);
        void (*read)(HWND, Data&);
        void (*command)(HWND, WORD, Data&);
        Data* data;
    } typed{fill, read, command, &data};
    const InputDialogSteps steps{
        [](HWND dialog, void* context) {
            auto* steps = static_cast<Steps*>(context);
            steps->fill(dialog, *steps->data);
        },
        [](HWND dialog, void* context) {
            auto* steps = static_cast<Steps*>(context);
            steps->read(dialog, *steps->data);
        },
        [](HWND dialog, WORD id, void* context) {
            auto* steps = static_cast<Steps*>(context);
            if (steps->command) steps->command(dialog, id, *steps->data);
        },
    };
    return RunUntypedInputDialog(owner, templateName, steps, &typed);
}

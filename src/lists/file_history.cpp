#include "lists/file_history.h"

// The history list is not kept yet: nothing is converted, recorded or found.

void MigrateLegacyFileHistory(const std::wstring&) {}

void AddToHistory(const std::wstring&) {}

void RecordCaretInHistory() {}

long RememberedCaret(const std::wstring&) {
    return -1;
}

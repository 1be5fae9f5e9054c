#include "document/document_state.h"

#include <utility>

#include "core/app_window.h"
#include "core/paths.h"
#include "core/window_titles.h"
#include "document/encodings.h"
#include "speech/speech.h"

namespace {
std::wstring g_path;
std::wstring g_fileName;
int g_encoding = kUtf8;
bool g_cutShort = false;
bool g_editable = true;
bool g_lockToggleAllowed = true;
std::wstring g_loadedText;
std::wstring g_insertPath;
int g_untitledNumber = 1;
}  // namespace

const std::wstring& DocumentPath() {
    return g_path;
}

const std::wstring& DocumentFileName() {
    return g_fileName;
}

void SetDocumentPath(const std::wstring& path) {
    g_path = path;
    g_fileName = FileNameOf(path);
    g_cutShort = false;
}

void SetCutShortOfItsFile(bool cutShort) {
    g_cutShort = cutShort;
}

bool CanSaveInPlace() {
    return !g_path.empty() && !g_cutShort;
}

void SetDocumentEncoding(int codePage) {
    g_encoding = codePage;
}

const std::wstring& InsertPath() {
    return g_insertPath;
}

void SetInsertPath(const std::wstring& path) {
    g_insertPath = path;
}

const std::wstring& LoadedText() {
    return g_loadedText;
}

void SetLoadedText(std::wstring text) {
    g_loadedText = std::move(text);
}

int DocumentEncoding() {
    return g_encoding;
}

bool IsEditable() {
    return g_editable;
}

void SetEditable(bool editable) {
    g_editable = editable;
}

bool IsLockToggleAllowed() {
    return g_lockToggleAllowed;
}

void SetLockToggleAllowed(bool allowed) {
    g_lockToggleAllowed = allowed;
}

bool RefuseWhileLocked() {
    if (IsEditable()) return false;
    Speak(L"編集禁止", kAnswerDelayMs);
    return true;
}

int UntitledNumber() {
    return g_untitledNumber;
}

std::wstring DocumentName() {
    return g_path.empty() ? UntitledName(g_untitledNumber) : g_fileName;
}

void ShowUntitledTitle() {
    g_untitledNumber = NextUntitledNumber(MainWindow());
    SetWindowTextW(MainWindow(), UntitledTitle(g_untitledNumber).c_str());
}

void ShowDocumentTitle() {
    const std::wstring title = g_path.empty() ? UntitledTitle(g_untitledNumber) : DocumentTitle(g_fileName);
    SetWindowTextW(MainWindow(), title.c_str());
}

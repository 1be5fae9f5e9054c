#include "document/document_state.h"

#include <utility>

#include "app/paths.h"

namespace {
std::wstring g_path;
std::wstring g_fileName;
int g_encoding = kUtf8;
bool g_editable = true;
bool g_lockToggleAllowed = true;
std::wstring g_loadedText;
std::wstring g_insertPath;
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

const wchar_t* EncodingDisplayName(int codePage) {
    switch (codePage) {
    case kUtf16Le: return L"UTF-16 LE";
    case kUtf16Be: return L"UTF-16 BE";
    case kUtf8: return L"UTF-8";
    case kUtf8WithBom: return L"UTF-8（BOM付き）";
    default: return L"Shift_JIS";
    }
}

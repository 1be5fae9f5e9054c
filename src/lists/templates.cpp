#include "lists/templates.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cwchar>
#include <functional>

#include "core/clipboard.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/file_io.h"
#include "core/input_dialog.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "core/text_units.h"
#include "core/window_text.h"
#include "core/within_memory.h"
#include "lists/list_file.h"
#include "resources/lists_ids.h"
#include "speech/speech.h"

namespace {

const wchar_t kHeaderStart[] = L"[Header]";
const wchar_t kTitleKey[] = L"Title=";
const wchar_t kSeparator[] = L"----------";
const wchar_t kCannotOpenMessage[] = L"ファイルを開けませんでした";
const wchar_t kStoreFailedMessage[] = L"定型文の登録に失敗しました";
// Far beyond any template typed or selected. A larger file is not read at
// all, so that no template is ever cut.
constexpr size_t kMaxTemplateBytes = 64u << 20;
constexpr int kMaxSequence = 99;

// The position after the line end (LF or CR LF) at `position`, or npos.
size_t AfterLineEnd(const std::wstring& text, size_t position) {
    if (text.compare(position, 2, L"\r\n") == 0) return position + 2;
    if (position < text.size() && text[position] == L'\n') return position + 1;
    return std::wstring::npos;
}

// The position after the line at `position` when that line is `word`.
size_t AfterLineOf(const std::wstring& text, size_t position, const std::wstring& word) {
    if (position == std::wstring::npos || text.compare(position, word.size(), word) != 0) return std::wstring::npos;
    return AfterLineEnd(text, position + word.size());
}

// Only a complete header counts: anything else is the user's text.
bool SplitHeader(const std::wstring& text, std::wstring& title, std::wstring& body) {
    const size_t titleLine = AfterLineOf(text, 0, kHeaderStart);
    if (titleLine == std::wstring::npos || text.compare(titleLine, wcslen(kTitleKey), kTitleKey) != 0) return false;
    const size_t titleStart = titleLine + wcslen(kTitleKey);
    const size_t titleEnd = text.find_first_of(L"\r\n", titleStart);
    if (titleEnd == std::wstring::npos) return false;
    const size_t bodyStart = AfterLineOf(text, AfterLineEnd(text, titleEnd), kSeparator);
    if (bodyStart == std::wstring::npos) return false;
    title = text.substr(titleStart, titleEnd - titleStart);
    body = text.substr(bodyStart);
    return true;
}

// A file without the mark that is not UTF-8 was most likely written in the
// ANSI code page.
std::wstring TemplateText(const std::string& bytes) {
    std::wstring text;
    if (bytes.compare(0, 3, kUtf8Mark) == 0) DecodeText(bytes, 3, CP_UTF8, false, text);
    else if (!DecodeText(bytes, 0, CP_UTF8, true, text)) DecodeText(bytes, 0, CP_ACP, false, text);
    return text;
}

std::wstring TemplatePath(const std::wstring& name) {
    return TemplateFolder() + L"\\" + name + L".txt";
}

// The whole file, or false: never a part of it.
bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    return ReadFileBytes(path, kMaxTemplateBytes + 1, bytes) && bytes.size() <= kMaxTemplateBytes;
}

// False also when the template does not fit in memory.
bool ReadTemplate(const std::wstring& name, TextTemplate& text) {
    bool read = false;
    RunWithinMemory([&] {
        std::string bytes;
        read = ReadWholeFile(TemplatePath(name), bytes);
        if (read) text = ParseTemplate(bytes, name);
    });
    return read;
}

// The names of the *.txt files of a folder, without the extension.
std::vector<std::wstring> TextFileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring fileName = found.cFileName;
        // The pattern also matches by short names ("long.txta" as LONG~1.TXT).
        const bool isText = fileName.size() > 4 && _wcsicmp(fileName.c_str() + fileName.size() - 4, L".txt") == 0;
        if (isText && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            FitsPathBuffer(folder + L"\\" + fileName))
            names.push_back(fileName.substr(0, fileName.size() - 4));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

enum class NewFile { kWritten, kNameTaken, kFailed };

// Write a file that must not exist yet; a half-written one is removed.
NewFile WriteNewFile(const std::wstring& path, const std::string& bytes) {
    if (!FitsPathBuffer(path)) return NewFile::kFailed;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::kNameTaken : NewFile::kFailed;
    }
    const bool written = WriteAll(file.Get(), bytes.data(), bytes.size()) && FlushFileBuffers(file.Get());
    file.Close();
    if (written) return NewFile::kWritten;
    DeleteFileW(path.c_str());
    return NewFile::kFailed;
}

// Tab leaves the body for the next control and types nothing; Enter stays
// a line break.
LRESULT CALLBACK BodyFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_GETDLGCODE && wParam == VK_TAB)
        return DefSubclassProc(field, message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(field, BodyFieldProc, id);
    return DefSubclassProc(field, message, wParam, lParam);
}

// The add and edit dialogs: title 101, rich-edit body 102.
void FillFields(HWND dialog, const TextTemplate& text) {
    const HWND body = GetDlgItem(dialog, IDC_TEMPLATE_BODY);
    // Plain text, as in the editor: a body beginning with "{\rtf" is kept as
    // typed and no RTF reaches the control's parsers. The mode can be set
    // only while the control is empty, its undo included; a body that would
    // take rich text is never used.
    SendMessageW(body, EM_EMPTYUNDOBUFFER, 0, 0);
    if (SendMessageW(body, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0) != 0) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    SetWindowSubclass(body, BodyFieldProc, 0, 0);
    // Only this much of a title is read back.
    SendDlgItemMessageW(dialog, IDC_TEMPLATE_TITLE, EM_LIMITTEXT, kMaxTemplateTitleUnits, 0);
    // The control's default limit would cut a long body.
    SendDlgItemMessageW(dialog, IDC_TEMPLATE_BODY, EM_EXLIMITTEXT, 0, kMaxTemplateBytes);
    SetDlgItemTextW(dialog, IDC_TEMPLATE_TITLE, text.title.c_str());
    SetDlgItemTextW(dialog, IDC_TEMPLATE_BODY, text.body.c_str());
    SendDlgItemMessageW(dialog, IDC_TEMPLATE_TITLE, EM_SETMODIFY, FALSE, 0);
    SendDlgItemMessageW(dialog, IDC_TEMPLATE_BODY, EM_SETMODIFY, FALSE, 0);
}

bool FieldsChanged(HWND dialog) {
    return SendDlgItemMessageW(dialog, IDC_TEMPLATE_TITLE, EM_GETMODIFY, 0, 0) ||
           SendDlgItemMessageW(dialog, IDC_TEMPLATE_BODY, EM_GETMODIFY, 0, 0);
}

bool RefuseEmptyField(HWND dialog, int field, const wchar_t* message) {
    MessageBoxW(dialog, message, L"入力エラー", MB_OK | MB_ICONINFORMATION);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, field)), TRUE);
    return false;
}

// An empty title would be a blank line in the list, an empty body a
// template that inserts nothing.
bool ReadFields(HWND dialog, TextTemplate& text) {
    text.title = WindowText(GetDlgItem(dialog, IDC_TEMPLATE_TITLE));
    text.body = WindowText(GetDlgItem(dialog, IDC_TEMPLATE_BODY));
    if (text.title.empty()) return RefuseEmptyField(dialog, IDC_TEMPLATE_TITLE, L"定型文のタイトルが入力されていません");
    if (text.body.empty()) return RefuseEmptyField(dialog, IDC_TEMPLATE_BODY, L"定型文の本文が入力されていません");
    return true;
}

// "eTemplateDialog": returns whether the user ended it with OK.
bool EditTemplate(HWND owner, const std::wstring& name) {
    TextTemplate text;
    // Saving fields that never got the template would destroy it.
    if (!ReadTemplate(name, text)) {
        Speak(kCannotOpenMessage, kAnswerDelayMs);
        return false;
    }
    DialogHandlers handlers;
    handlers.fill = [&text](HWND dialog) { FillFields(dialog, text); };
    handlers.accept = [&name](HWND dialog, int) {
        // Unchanged, the file keeps its exact bytes.
        if (!FieldsChanged(dialog)) return true;
        bool refused = false;
        bool saved = false;
        RunWithinMemory([&] {
            TextTemplate edited;
            refused = !ReadFields(dialog, edited);
            saved = !refused && WriteFileSafely(TemplatePath(name), FormatTemplate(edited));
        });
        if (saved || refused) return saved;
        Speak(L"変更の保存に失敗しました", kAnswerDelayMs);
        return false;
    };
    return RunDialog(owner, L"eTemplateDialog", handlers);
}

struct ListedTemplate {
    std::wstring name;
    std::wstring title;
};

struct TemplateList {
    std::vector<ListedTemplate> templates;
    std::wstring chosenBody;
};

// Rebuild the list from the folder, newest first, and select the line at
// `index` (or the last one).
void FillTemplateList(HWND dialog, TemplateList& data, LRESULT index) {
    data.templates.clear();
    for (const std::wstring& name : NewestTemplateNames(TextFileNames(TemplateFolder()), kMaxListedTemplates)) {
        TextTemplate text;
        data.templates.push_back({name, ReadTemplate(name, text) ? text.title : name});
    }
    const HWND list = GetDlgItem(dialog, IDC_TEMPLATE_LIST);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const ListedTemplate& listed : data.templates)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listed.title.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    const auto count = static_cast<LRESULT>(data.templates.size());
    if (count > 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(index, count - 1)), 0);
    for (const int button : {IDOK, IDC_TEMPLATE_EDIT, IDC_TEMPLATE_COPY})
        EnableWindow(GetDlgItem(dialog, button), count > 0);
}

LRESULT SelectedIndex(HWND dialog) {
    return SendDlgItemMessageW(dialog, IDC_TEMPLATE_LIST, LB_GETCURSEL, 0, 0);
}

const ListedTemplate* SelectedTemplate(HWND dialog, const TemplateList& data) {
    const LRESULT index = SelectedIndex(dialog);
    if (index == LB_ERR || static_cast<size_t>(index) >= data.templates.size()) return nullptr;
    return &data.templates[static_cast<size_t>(index)];
}

// The body of the selected template; a template gone meanwhile leaves the list.
bool ReadSelectedBody(HWND dialog, TemplateList& data, std::wstring& body) {
    const ListedTemplate* selected = SelectedTemplate(dialog, data);
    if (!selected) return false;
    TextTemplate text;
    if (ReadTemplate(selected->name, text)) {
        body = std::move(text.body);
        return true;
    }
    Speak(kCannotOpenMessage, kAnswerDelayMs);
    FillTemplateList(dialog, data, SelectedIndex(dialog));
    return false;
}

void CopySelectedBody(HWND dialog, TemplateList& data) {
    std::wstring body;
    if (!ReadSelectedBody(dialog, data, body)) return;
    Speak(SetClipboardText(dialog, body) ? L"コピーしました" : L"コピーできませんでした", kAtOnce);
}

void EditSelected(HWND dialog, TemplateList& data) {
    const ListedTemplate* selected = SelectedTemplate(dialog, data);
    if (selected && EditTemplate(dialog, selected->name)) FillTemplateList(dialog, data, SelectedIndex(dialog));
}

void DeleteSelected(HWND dialog, TemplateList& data) {
    const ListedTemplate* selected = SelectedTemplate(dialog, data);
    if (!selected) return;
    const std::wstring question = L"定型文の「" + selected->title + L"」を削除してもよろしいですか";
    if (MessageBoxW(dialog, question.c_str(), L"削除確認", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const bool deleted = DeleteFileW(TemplatePath(selected->name).c_str()) != FALSE;
    FillTemplateList(dialog, data, SelectedIndex(dialog));
    Speak(deleted ? L"削除しました" : L"削除できませんでした", kAnswerDelayMs);
}

}  // namespace

TextTemplate ParseTemplate(const std::string& bytes, const std::wstring& name) {
    const std::wstring text = TemplateText(bytes);
    TextTemplate parsed{std::wstring(CutToUnits(name, kMaxTemplateTitleUnits)), text};
    std::wstring title;
    if (SplitHeader(text, title, parsed.body) && !title.empty())
        parsed.title = CutToUnits(title, kMaxTemplateTitleUnits);
    return parsed;
}

std::string FormatTemplate(const TextTemplate& text) {
    return kUtf8Mark + EncodeUtf8(std::wstring(kHeaderStart) + L"\n" + kTitleKey + text.title + L"\n" + kSeparator +
                                  L"\n" + text.body);
}

std::wstring TemplateName(const SYSTEMTIME& time, int sequence) {
    wchar_t name[32] = {};
    swprintf(name, 32, L"%d%02d%02d%02d%02d%02d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
             time.wSecond);
    if (sequence < 2) return name;
    wchar_t suffix[8] = {};
    swprintf(suffix, 8, L"_%02d", sequence);
    return std::wstring(name) + suffix;
}

std::vector<std::wstring> NewestTemplateNames(std::vector<std::wstring> names, size_t limit) {
    std::sort(names.begin(), names.end(), std::greater<std::wstring>());
    if (names.size() > limit) names.resize(limit);
    return names;
}

std::wstring TemplateFolder() {
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\Template";
}

bool StoreTemplate(const TextTemplate& text, const SYSTEMTIME& time) {
    if (TemplateFolder().empty()) return false;
    // The folder may have been removed since the start.
    CreateDirectoryW(TemplateFolder().c_str(), nullptr);
    const std::string bytes = FormatTemplate(text);
    for (int sequence = 1; sequence <= kMaxSequence; ++sequence) {
        const NewFile result = WriteNewFile(TemplatePath(TemplateName(time, sequence)), bytes);
        if (result != NewFile::kNameTaken) return result == NewFile::kWritten;
    }
    return false;
}

void AddTemplateCommand(HWND mainWindow, LPARAM) {
    const Editor editor = CurrentEditor();
    const Selection selection = editor.GetSelection();
    TextTemplate selected;
    if (!RunWithinMemory([&] { selected.body = editor.TextRange(selection.start, selection.end); })) {
        Speak(kStoreFailedMessage, kAnswerDelayMs);
        return;
    }
    DialogHandlers handlers;
    handlers.fill = [&selected](HWND dialog) { FillFields(dialog, selected); };
    handlers.accept = [](HWND dialog, int) {
        bool refused = false;
        bool stored = false;
        RunWithinMemory([&] {
            TextTemplate entered;
            refused = !ReadFields(dialog, entered);
            SYSTEMTIME now{};
            GetLocalTime(&now);
            stored = !refused && StoreTemplate(entered, now);
        });
        if (stored || refused) return stored;
        Speak(kStoreFailedMessage, kAnswerDelayMs);
        return false;
    };
    if (RunDialog(mainWindow, L"RegTemplateDialog", handlers)) Speak(L"登録しました", kAtOnce);
}

bool ChooseTemplate(HWND owner, std::wstring& body) {
    TemplateList data;
    DialogHandlers handlers;
    handlers.fill = [&data](HWND dialog) { FillTemplateList(dialog, data, 0); };
    handlers.accept = [&data](HWND dialog, int) { return ReadSelectedBody(dialog, data, data.chosenBody); };
    handlers.deleteKey = [&data](HWND dialog) { DeleteSelected(dialog, data); };
    handlers.command = [&data](HWND dialog, int id) {
        if (id == IDC_TEMPLATE_EDIT) EditSelected(dialog, data);
        else if (id == IDC_TEMPLATE_COPY) CopySelectedBody(dialog, data);
        else return false;
        return true;
    };
    if (!RunDialog(owner, L"TemplateDialog", handlers)) return false;
    body = std::move(data.chosenBody);
    return true;
}

void MigrateLegacyTemplates(const std::wstring& legacyFolder) {
    if (TemplateFolder().empty()) return;
    const std::wstring legacyTemplates = legacyFolder + L"\\Template";
    for (const std::wstring& name : TextFileNames(legacyTemplates)) {
        std::string bytes;
        if (!ReadWholeFile(legacyTemplates + L"\\" + name + L".txt", bytes) || bytes.empty()) continue;
        std::wstring text;
        DecodeText(bytes, 0, CP_ACP, false, text);
        // Never over a template of the same name.
        WriteNewFile(TemplatePath(name), kUtf8Mark + EncodeUtf8(text));
    }
}

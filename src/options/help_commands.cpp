#include "options/help_commands.h"

#include <string>

#include "core/outside_world.h"
#include "core/paths.h"
#include "speech/speech.h"

const wchar_t kProductPage[] = L"/orinda/";

namespace {

// Opened by full path: the data folder stays the current directory.
void OpenManual(const wchar_t* fileName, const wchar_t* failure) {
    const std::wstring folder = ProgramFolder();
    if (folder.empty() || !Outside().shellOpen(folder + L"\\" + fileName)) Speak(failure, kAnswerDelayMs);
}

}  // namespace

void OpenMakerPage(const wchar_t* path) {
    const std::wstring site = Outside().makerSite();
    if (site.empty() || !Outside().shellOpen(site + path)) Speak(L"ページを開けませんでした", kAnswerDelayMs);
}

void OpenManualCommand(HWND, LPARAM) {
    OpenManual(L"manual.txt", L"操作マニュアルを開けませんでした");
}

void OpenCommandListCommand(HWND, LPARAM) {
    OpenManual(L"command.txt", L"キーボードコマンド一覧を開けませんでした");
}

void OpenUpdateHistoryCommand(HWND, LPARAM) {
    OpenMakerPage(L"/orinda/ver5/history.html");
}

void ShowVersionCommand(HWND mainWindow, LPARAM) {
    MessageBoxW(mainWindow, L"オリンダ Ver5.01（2026年2月25日公開）", L"バージョン情報", MB_OK | MB_ICONINFORMATION);
}

void OpenProductPageCommand(HWND, LPARAM) {
    OpenMakerPage(kProductPage);
}

void OpenMakerSiteCommand(HWND, LPARAM) {
    OpenMakerPage(L"/");
}

void OpenContactFormCommand(HWND, LPARAM) {
    OpenMakerPage(L"/inquiry/");
}

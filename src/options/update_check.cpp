#include "options/update_check.h"

#include <optional>
#include <string>

#include "core/outside_world.h"
#include "options/help_commands.h"
#include "speech/speech.h"

namespace {

// This build is 5.01; versions compare as the version times 100.
constexpr int kThisVersion = 501;
constexpr size_t kVersionFileBytes = 4;

// The leading decimal digits of what was read; nothing when it starts
// otherwise (an error page served as 200 is no version).
std::optional<int> PublishedVersion(const std::string& bytes) {
    if (bytes.empty() || bytes[0] < '0' || bytes[0] > '9') return std::nullopt;
    int number = 0;
    for (const char digit : bytes) {
        if (digit < '0' || digit > '9') break;
        number = number * 10 + (digit - '0');
    }
    return number;
}

}  // namespace

bool CheckForUpdates(HWND owner, UpdateCheckMode mode) {
    const std::wstring site = Outside().makerSite();
    std::string bytes;
    std::optional<int> published;
    if (!site.empty() && Outside().httpGet(site + L"/appversion/orinda500.ver", kVersionFileBytes, bytes))
        published = PublishedVersion(bytes);
    if (!published) {
        // Whoever asked must not be left in silence.
        if (mode == UpdateCheckMode::kOnDemand) Speak(L"更新を確認できませんでした", kAnswerDelayMs);
        return false;
    }
    if (*published <= kThisVersion) {
        if (mode == UpdateCheckMode::kOnDemand)
            MessageBoxW(owner, L"お使いのオリンダ Ver5は最新版です", L"更新チェック", MB_OK | MB_ICONINFORMATION);
        return true;
    }
    if (MessageBoxW(owner, L"オリンダ Ver5の新しいバージョンが公開されています\n今すぐ作者サイトで確認しますか？",
                    L"更新通知", MB_YESNO | MB_ICONQUESTION) == IDYES)
        OpenMakerPage(kProductPage);
    return true;
}

void RunStartupUpdateCheck(HWND mainWindow) {
    CheckForUpdates(mainWindow, UpdateCheckMode::kQuiet);
}

void CheckForUpdatesCommand(HWND mainWindow, LPARAM) {
    CheckForUpdates(mainWindow, UpdateCheckMode::kOnDemand);
}

#include "bench_support.h"

#include <fstream>

#include "app/commands.h"
#include "app/main_window.h"
#include "core/settings.h"
#include "speech/speech.h"

namespace {

// Deterministic pseudo-random numbers, the same in every process.
struct Random {
    unsigned state;
    unsigned Next(unsigned bound) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % bound;
    }
};

// Words of the kinds Japanese technical prose mixes: kanji compounds, kana
// endings and particles, katakana loan words, Latin names and options,
// numbers; the script changes every few characters, as in real text.
const wchar_t* const kKanji[] = {L"日本語", L"文字", L"設定", L"変換", L"表示", L"入力", L"出力", L"機能",
                                 L"画面", L"操作", L"利用", L"場合", L"指定", L"実行", L"処理", L"情報",
                                 L"説明", L"項目", L"環境", L"動作", L"番号", L"行数", L"文書", L"検索",
                                 L"置換", L"保存", L"編集", L"全体", L"部分", L"標準", L"既定値", L"引数"};
const wchar_t* const kKana[] = {L"は", L"が", L"を", L"に", L"で", L"と", L"の", L"も", L"から", L"まで",
                                L"します", L"されます", L"ですが", L"できる", L"という", L"ことが", L"ように",
                                L"ため", L"なければ", L"すると"};
const wchar_t* const kKatakana[] = {L"ファイル", L"テキスト", L"コマンド", L"オプション", L"ディレクトリ",
                                    L"プログラム", L"ユーザー", L"メニュー", L"ウィンドウ", L"キーボード"};
const wchar_t* const kLatin[] = {L"-h", L"--help", L"UTF-8", L"Shift_JIS", L"EUC-JP", L"man", L"grep",
                                 L"Linux", L"HOME", L"PATH", L"/usr/bin", L"printf"};

template <size_t N>
const wchar_t* Pick(Random& random, const wchar_t* const (&words)[N]) {
    return words[random.Next(N)];
}

}  // namespace

std::wstring Prose(long lines, unsigned seed) {
    Random random{seed};
    std::wstring text;
    long paragraphLeft = 3 + static_cast<long>(random.Next(10));
    for (long line = 0; line < lines; ++line) {
        if (line > 0) text += L"\r\n";
        if (paragraphLeft-- == 0) {
            paragraphLeft = 3 + static_cast<long>(random.Next(10));
            continue;
        }
        const size_t start = text.size();
        const size_t length = 20 + random.Next(51);
        while (text.size() - start < length) {
            switch (random.Next(8)) {
            case 0: case 1: case 2: text += Pick(random, kKanji); break;
            case 3: text += Pick(random, kKatakana); break;
            case 4: text += Pick(random, kLatin); break;
            case 5: text += std::to_wstring(random.Next(10000)); break;
            case 6: text += random.Next(3) == 0 ? L"「" + std::wstring(Pick(random, kKanji)) + L"」" : L"、"; break;
            default: break;
            }
            text += Pick(random, kKana);
        }
        text += L"。";
    }
    return text;
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

size_t WriteUtf8(const std::wstring& path, const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
    return bytes.size();
}

HWND MakeMainWindow(bool wrap, int speech) {
    SetDllDirectoryW(L"");
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterMainWindowClass(instance)) return nullptr;
    const HWND window = CreateMainWindow(instance, L"");
    if (!window) return nullptr;
    SetSpeechEngine(kNoSpeech);
    MoveWindow(window, 0, 0, 800, 600, TRUE);
    if ((CurrentSettings().wordWrap == 1) != wrap) SendMessageW(window, WM_COMMAND, kCmdWordWrap, 0);
    SetSpeechEngine(speech);
    return window;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

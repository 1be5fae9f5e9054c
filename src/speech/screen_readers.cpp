#include "speech/screen_readers.h"

#include "core/paths.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/speech.h"

namespace {

std::wstring g_libraryFolder;

const wchar_t kNvdaMissing[] =
    L"NVDA で読み上げるためのファイル nvdaControllerClient32.dll（または nvdaControllerClient.dll）が、"
    L"見つからないか読み込めません。このままでは NVDA で読み上げません。\n\n"
    L"このファイルは NVDA のコントローラークライアント（NVDA Controller Client）のダウンロードに入っています。"
    L"その中の x86 フォルダにある nvdaControllerClient.dll（古い版では nvdaControllerClient32.dll）を、"
    L"オリンダのプログラム（Orinda.exe）と同じフォルダに置いてください。x86 以外のフォルダのファイルは使えません。\n\n";
const wchar_t kNvdaChosenAgain[] = L"置いたあと、オリンダを起動し直すか、音声設定で NVDA を選び直してください。";
const wchar_t kNvdaToChoose[] = L"置いたあと、ツールメニューの音声設定で NVDA を選んでください。";

const wchar_t kPcTalkerMissing[] =
    L"PC-Talker で読み上げるためのファイル PCTKUSR.dll が、見つからないか読み込めません。"
    L"このままでは PC-Talker で読み上げません。\n\n"
    L"PCTKUSR.dll は PC-Talker のファイルです。PC-Talker が正しくインストールされているか確かめるか、"
    L"このファイルをオリンダのプログラム（Orinda.exe）と同じフォルダに置いてください。\n\n"
    L"そのあと、オリンダを起動し直すか、音声設定で PCTalker を選び直してください。";

// The chosen engine is a screen reader whose library is not loaded.
bool ChosenLibraryMissing() {
    switch (SpeechEngine()) {
    case kNvda: return !NvdaClientLoaded();
    case kPcTalker: return !PcTalkerLoaded();
    default: return false;
    }
}

bool NvdaMissingAtFirstStart(bool firstStart) {
    return firstStart && SpeechEngine() == kNoSpeech && !NvdaClientLoaded();
}

}  // namespace

void SetSpeechLibraryFolder(const std::wstring& folder) {
    g_libraryFolder = folder;
}

std::wstring SpeechLibraryFolder() {
    return g_libraryFolder.empty() ? ProgramFolder() : g_libraryFolder;
}

int RunningScreenReader() {
    if (LoadNvdaClient(SpeechLibraryFolder()) && NvdaReportsRunning()) return kNvda;
    if (LoadPcTalker(SpeechLibraryFolder()) && PcTalkerRunning()) return kPcTalker;
    return kNoSpeech;
}

bool LibraryMissing(bool firstStart) {
    return ChosenLibraryMissing() || NvdaMissingAtFirstStart(firstStart);
}

void RetryChosenLibrary() {
    // PC-Talker's was tried just now, when it was chosen (SetSpeechEngine).
    if (SpeechEngine() == kNvda && !NvdaClientLoaded()) LoadNvdaClient(SpeechLibraryFolder());
}

void ExplainMissingLibrary(HWND owner, bool firstStart) {
    std::wstring text;
    if (ChosenLibraryMissing() && SpeechEngine() == kPcTalker) text = kPcTalkerMissing;
    else if (ChosenLibraryMissing()) text = std::wstring(kNvdaMissing) + kNvdaChosenAgain;
    else if (NvdaMissingAtFirstStart(firstStart)) text = std::wstring(kNvdaMissing) + kNvdaToChoose;
    else return;
    const std::wstring folder = SpeechLibraryFolder();
    if (!folder.empty()) text += L"\n\nプログラムのフォルダ：" + folder;
    MessageBoxW(owner, text.c_str(), L"オリンダ", MB_OK | MB_ICONINFORMATION);
}

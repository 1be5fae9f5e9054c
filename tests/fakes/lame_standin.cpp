// Stand-in for the MP3 encoder lame.exe: writes the command line it was given
// (after its own name, UTF-16) to the file named by ORINDA_FAKE_LAME_LOG, then
// writes the file named by its last argument. ORINDA_FAKE_LAME_MODE "fail"
// ends with an error and writes nothing; "slow" first waits a minute.
// Built without a console: Wine keeps the console host of an ended console
// program alive, and with it the test run's output.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length < MAX_PATH ? value : L"";
}

void WriteBytes(const wchar_t* path, const void* bytes, DWORD size) {
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring log = Environment(L"ORINDA_FAKE_LAME_LOG");
    if (!log.empty()) WriteBytes(log.c_str(), arguments, static_cast<DWORD>(wcslen(arguments) * sizeof(wchar_t)));
    const std::wstring mode = Environment(L"ORINDA_FAKE_LAME_MODE");
    if (!argv || count < 2 || mode == L"fail") return 1;
    if (mode == L"slow") Sleep(60000);
    WriteBytes(argv[count - 1], "ID3", 3);
    return 0;
}

// Stand-in for the MP3 encoder lame.exe: writes the command line it was given
// (after its own name) to the file named by ORINDA_FAKE_LAME_LOG, then writes
// the file named by its last argument. ORINDA_FAKE_LAME_MODE "fail" ends with
// an error and writes nothing; "slow" first waits a minute (to be ended).
// Built without a console: Wine keeps the console host of an ended console
// program alive, and with it the test run's output.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : L"";
}

void WriteBytes(const std::wstring& path, const void* bytes, DWORD size) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

const wchar_t* ArgumentsAsGiven() {
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        do ++line;
        while (*line && *line != L'"');
        if (*line) ++line;
    } else {
        while (*line && *line != L' ') ++line;
    }
    while (*line == L' ') ++line;
    return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 1;
    const std::wstring arguments = ArgumentsAsGiven();
    const std::wstring log = Environment(L"ORINDA_FAKE_LAME_LOG");
    if (!log.empty()) WriteBytes(log, arguments.data(), static_cast<DWORD>(arguments.size() * sizeof(wchar_t)));
    const std::wstring mode = Environment(L"ORINDA_FAKE_LAME_MODE");
    if (mode == L"fail" || argc < 2) return 1;
    if (mode == L"slow") Sleep(60000);
    const char mp3[] = "ID3 stand-in";
    WriteBytes(argv[argc - 1], mp3, sizeof mp3 - 1);
    return 0;
}

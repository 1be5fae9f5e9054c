#include "fake_log.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace fake {

namespace {

SRWLOCK g_lock = SRWLOCK_INIT;

std::string Utf8(const wchar_t* text) {
    std::wstring escaped;
    for (const wchar_t* unit = text; unit && *unit; ++unit) {
        if (*unit == L'\r') escaped += L"\\r";
        else if (*unit == L'\n') escaped += L"\\n";
        else if (*unit == L'\\') escaped += L"\\\\";
        else escaped += *unit;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, escaped.data(), static_cast<int>(escaped.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

}  // namespace

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double EnvironmentNumber(const wchar_t* name, double fallback) {
    wchar_t value[64] = {};
    if (!GetEnvironmentVariableW(name, value, 64)) return fallback;
    return wcstod(value, nullptr);
}

void Log(const char* function, const wchar_t* text) {
    char stamp[32];
    snprintf(stamp, sizeof stamp, "%.3f ", NowMs());
    const std::string line = std::string(stamp) + function + " " + Utf8(text) + "\n";

    AcquireSRWLockExclusive(&g_lock);
    wchar_t path[MAX_PATH] = {};
    HANDLE file;
    const bool toFile = GetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", path, MAX_PATH) > 0;
    if (toFile)
        file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    else
        file = GetStdHandle(STD_ERROR_HANDLE);
    if (file && file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        if (toFile) CloseHandle(file);
    }
    ReleaseSRWLockExclusive(&g_lock);
}

}  // namespace fake

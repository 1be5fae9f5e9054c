#include "core/profile.h"

namespace {

const wchar_t kMaker[] = L"Temmaku";
const wchar_t* g_profile = L"Orinda";

}  // namespace

std::wstring SettingsKey() {
    return std::wstring(L"Software\\") + kMaker + L"\\" + g_profile;
}

std::wstring DataFolderBelowAppData() {
    return std::wstring(kMaker) + L"\\" + g_profile;
}

void UseTestProfile() {
    g_profile = L"OrindaTest";
}

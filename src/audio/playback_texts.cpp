#include "audio/playback_texts.h"

std::wstring SpokenTime(long milliseconds) {
    const long seconds = milliseconds / 1000;
    return std::to_wstring(seconds / 60) + L"分" + std::to_wstring(seconds % 60) + L"秒";
}

std::wstring SpeedText(int speed) {
    if (speed < kSlowestSpeed || speed > kFastestSpeed || speed % kSpeedStep != 0) return {};
    std::wstring text = L"再生スピード" + std::to_wstring(speed / 1000) + L"." + std::to_wstring(speed / 100 % 10);
    if (speed % 100 != 0) text += std::to_wstring(speed / 10 % 10);
    return text;
}

#include "speech/sapi_voice.h"

#include <sapi.h>
#include <sphelper.h>
#include <wrl/client.h>

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace {

// SPDFID_WaveFormatEx, which MinGW's SAPI library declares but lacks.
const GUID kWaveFormatExFormatId = {0xc31adbae, 0x527f, 0x4ff5, {0xa2, 0x30, 0xf6, 0x2b, 0xb6, 0x1f, 0xf7, 0x0c}};

// How often a rendering looks for a cancel request.
constexpr DWORD kRenderPollMs = 50;

// COM for the calling thread as long as this lives; balanced only when the
// initialisation succeeded. Declared before the objects it must outlive.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// The whole description in the user's interface language; a voice that
// has none there cannot be listed or found.
bool ReadVoiceName(ISpObjectToken* token, std::wstring& name) {
    WCHAR* description = nullptr;
    if (FAILED(SpGetDescription(token, &description)) || !description) return false;
    name = description;
    CoTaskMemFree(description);
    return true;
}

// Visit every voice that has a name until `visit` returns true.
template <class Visit>
void ForEachVoice(Visit visit) {
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(SpEnumTokens(SPCAT_VOICES, nullptr, nullptr, &tokens))) return;
    ComPtr<ISpObjectToken> token;
    while (tokens->Next(1, token.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        std::wstring name;
        if (ReadVoiceName(token.Get(), name) && visit(token.Get(), name)) return;
    }
}

bool FindVoiceToken(const std::wstring& name, ComPtr<ISpObjectToken>& found) {
    ForEachVoice([&](ISpObjectToken* token, const std::wstring& voiceName) {
        if (voiceName != name) return false;
        found = token;
        return true;
    });
    return found != nullptr;
}

// A voice that is not found, or a value the voice refuses, leaves the one it
// had: the text is still spoken.
void PrepareVoice(ISpVoice* voice, const std::wstring& voiceName, const VoiceParameters& clamped) {
    ComPtr<ISpObjectToken> token;
    if (!voiceName.empty() && FindVoiceToken(voiceName, token)) voice->SetVoice(token.Get());
    voice->SetVolume(static_cast<USHORT>(clamped.volume));
    voice->SetRate(clamped.rate);
}

DWORD SpeakFlags(const SpokenText& spoken) {
    // Plain text is never taken for markup, even when it begins with "<".
    return spoken.isXml ? SPF_IS_XML : SPF_IS_NOT_XML;
}

// Speak asynchronously and wait in short steps, so that a cancel request is
// answered at once: the voice drops what it has not yet rendered.
bool SpeakUntilDone(ISpVoice* voice, const SpokenText& spoken, const std::atomic<bool>& cancel) {
    if (cancel || FAILED(voice->Speak(spoken.text.c_str(), SPF_ASYNC | SpeakFlags(spoken), nullptr))) return false;
    for (;;) {
        const HRESULT waited = voice->WaitUntilDone(kRenderPollMs);
        if (waited == S_OK) return true;
        if (FAILED(waited)) return false;
        if (cancel) {
            voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            return false;
        }
    }
}

bool RenderWithSapi(const std::wstring& text, const std::wstring& path, const std::wstring& voiceName,
                    const VoiceParameters& parameters, const std::atomic<bool>& cancel) {
    if (text.empty() || path.empty()) return false;
    const ComApartment com;
    ComPtr<ISpVoice> voice;
    ComPtr<ISpStream> stream;
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&voice)))) return false;
    const VoiceParameters clamped = ClampVoiceParameters(parameters);
    PrepareVoice(voice.Get(), voiceName, clamped);
    if (FAILED(CoCreateInstance(CLSID_SpStream, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&stream)))) return false;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 16000;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = 32000;
    if (FAILED(stream->BindToFile(path.c_str(), SPFM_CREATE_ALWAYS, &kWaveFormatExFormatId, &format,
                                  SPFEI_ALL_EVENTS)))
        return false;
    const bool rendered = SUCCEEDED(voice->SetOutput(stream.Get(), TRUE)) &&
                          SpeakUntilDone(voice.Get(), SpokenForm(text, clamped.pitch), cancel);
    const bool closed = SUCCEEDED(stream->Close());
    return rendered && closed;
}

std::vector<std::wstring> SapiVoiceNames() {
    const ComApartment com;
    std::vector<std::wstring> names;
    ForEachVoice([&names](ISpObjectToken*, const std::wstring& name) {
        names.push_back(name);
        return false;
    });
    return names;
}

// The settings dialog's test voice lives on the UI thread until the main
// window goes, so that a new test can cut off the one still sounding.
ComPtr<ISpVoice> g_testVoice;
bool g_testComTried = false;
HRESULT g_testCom = E_FAIL;

void SpeakTestWithSapi(const std::wstring& text, const std::wstring& voiceName, const VoiceParameters& parameters) {
    if (text.empty()) return;
    if (!g_testComTried) {
        g_testCom = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        g_testComTried = true;
    }
    if (!g_testVoice && FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_PPV_ARGS(&g_testVoice))))
        return;
    const VoiceParameters clamped = ClampVoiceParameters(parameters);
    PrepareVoice(g_testVoice.Get(), voiceName, clamped);
    const SpokenText spoken = SpokenForm(text, clamped.pitch);
    g_testVoice->Speak(spoken.text.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SpeakFlags(spoken), nullptr);
}

}  // namespace

void InstallSapiVoices() {
    Outside().voiceNames = SapiVoiceNames;
    Outside().speakTest = SpeakTestWithSapi;
    Outside().renderToWave = RenderWithSapi;
}

void ReleaseTestVoice() {
    g_testVoice.Reset();
    if (g_testComTried && SUCCEEDED(g_testCom)) CoUninitialize();
    g_testComTried = false;
}

void FillVoiceList(HWND combo) {
    if (!combo || !IsWindow(combo)) return;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : Outside().voiceNames())
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (SendMessageW(combo, CB_GETCOUNT, 0, 0) > 0) SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

VoiceParameters ClampVoiceParameters(const VoiceParameters& parameters) {
    return VoiceParameters{std::clamp(parameters.volume, 0, 100), std::clamp(parameters.rate, -10, 10),
                           std::clamp(parameters.pitch, -10, 10)};
}

std::wstring EscapeXml(const std::wstring& text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t unit : text) {
        switch (unit) {
        case L'"': escaped += L"&quot;"; break;
        case L'&': escaped += L"&amp;"; break;
        case L'\'': escaped += L"&apos;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        default: escaped += unit; break;
        }
    }
    return escaped;
}

SpokenText SpokenForm(const std::wstring& text, int pitch) {
    pitch = std::clamp(pitch, -10, 10);
    if (pitch == 0) return SpokenText{text, false};
    return SpokenText{L"<pitch absmiddle=\"" + std::to_wstring(pitch) + L"\">" + EscapeXml(text) + L"</pitch>", true};
}

#include "audio/audio_device.h"

#include "core/leading_number.h"
#include "core/outside_world.h"

namespace {

bool Send(const std::wstring& command) {
    std::wstring reply;
    return Outside().sendMciString(command, reply);
}

long ReadNumber(const std::wstring& command) {
    std::wstring reply;
    return Outside().sendMciString(command, reply) ? LeadingNumber(reply) : 0;
}

}  // namespace

bool OpenDevice(const std::wstring& path) {
    // A quote would end the path and let the rest pass as the command's words.
    if (path.find(L'"') != std::wstring::npos) return false;
    return Send(L"open \"" + path + L"\" type MPEGVideo alias File");
}

void CloseDevice() {
    Send(L"close File");
}

bool PlayDevice() {
    return Send(L"play File notify");
}

void StopDevice() {
    Send(L"stop File");
}

bool SeekDevice(long position) {
    return Send(L"seek File to " + std::to_wstring(position));
}

long DevicePosition() {
    return ReadNumber(L"status File position");
}

long DeviceLength() {
    return ReadNumber(L"status File length");
}

void SetDeviceVolume(int level) {
    Send(L"setaudio File volume to " + std::to_wstring(50 * level));
}

void SetDeviceSpeed(int speed) {
    Send(L"set File speed " + std::to_wstring(speed));
}

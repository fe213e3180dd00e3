#include "platform/win32/MciPlayer.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include <atomic>
#include <string_view>

#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

// Sound files are opened on the wave audio device, whatever their name ends in.
constexpr std::wstring_view kDeviceType = L"WaveAudio";

}  // namespace

MciPlayer::MciPlayer() {
    // An alias of its own per player, so that two players never share a device.
    static std::atomic<unsigned> count{0};
    alias_ = L"vantorel_sound_" + std::to_wstring(++count);
}

MciPlayer::~MciPlayer() {
    stop();
}

void MciPlayer::send(const std::wstring& command) {
    // Every failure (no file, no sound device, no such device open) is
    // silent: the player stays as it was.
    mciSendStringW(command.c_str(), nullptr, 0, nullptr);
}

void MciPlayer::load(std::string_view path) {
    stop();
    send(L"open \"" + Widen(path) + L"\" type " + std::wstring(kDeviceType) + L" alias " + alias_);
}

void MciPlayer::play(std::string_view path) {
    load(path);
    send(L"play " + alias_ + L" from 0");
}

void MciPlayer::stop() {
    if (deviceId() != 0) {
        send(L"close " + alias_);
    }
}

int MciPlayer::deviceId() const {
    return static_cast<int>(mciGetDeviceIDW(alias_.c_str()));
}

}  // namespace vantorel::win32

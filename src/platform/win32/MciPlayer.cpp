#include "platform/win32/MciPlayer.h"

#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include <atomic>

#include "platform/win32/WideText.h"
#include "text/AsciiCase.h"

namespace vantorel::win32 {

namespace {

// Commands are English words in any letter case, as the player control took them.
bool SameWord(std::string_view a, std::string_view b) {
    return text::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

MciPlayer::MciPlayer() {
    // An alias of its own per player, so that two players never share a device.
    static std::atomic<unsigned> count{0};
    alias_ = L"vantorel_sound_" + std::to_wstring(++count);
}

MciPlayer::~MciPlayer() {
    if (deviceId() != 0) {
        send(L"close " + alias_);
    }
}

void MciPlayer::send(const std::wstring& command) {
    // Every failure (no file, no sound device, no such device open) is
    // silent: the player stays as it was.
    mciSendStringW(command.c_str(), nullptr, 0, nullptr);
}

void MciPlayer::open() {
    if (deviceId() != 0) {
        send(L"close " + alias_);
    }
    std::wstring command = L"open \"" + Widen(fileName_) + L"\"";
    if (!deviceType_.empty()) {
        command += L" type " + Widen(deviceType_);
    }
    command += L" alias " + alias_;
    send(command);
}

void MciPlayer::setCommand(std::string_view command) {
    if (SameWord(command, "open")) {
        open();
    } else if (SameWord(command, "play")) {
        send(L"play " + alias_ + L" from 0");
    } else if (SameWord(command, "close")) {
        send(L"close " + alias_);
    }
}

int MciPlayer::deviceId() {
    return static_cast<int>(mciGetDeviceIDW(alias_.c_str()));
}

}  // namespace vantorel::win32

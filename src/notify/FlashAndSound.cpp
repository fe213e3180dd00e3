// The caption flash and the sound player of an announcement.

#include "notify/DisplayCycle.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {

constexpr std::uint32_t kFlashCount = 3;
constexpr std::uint32_t kBlinkRateTimeout = 0;  // the system's cursor blink rate

constexpr std::string_view kWaveAudio = "WaveAudio";
constexpr std::string_view kOpenCommand = "Open";
constexpr std::string_view kPlayCommand = "Play";
constexpr std::string_view kCloseCommand = "Close";

}  // namespace

void DisplayCycle::flashTarget() {
    platform::FlashInfo info;
    info.window = display_.targetWindow;
    info.flags = platform::FlashInfo::kFlashCaption;
    info.count = kFlashCount;
    info.timeoutMs = kBlinkRateTimeout;
    os_.windows.flashWindow(info);
}

void DisplayCycle::closeSound() {
    // Closing also stops a sound that is still playing.
    if (os_.player.deviceId() != 0) {
        os_.player.setCommand(kCloseCommand);
    }
}

void DisplayCycle::openSound(const std::string& path) {
    soundOn_ = true;
    os_.player.setDeviceType(kWaveAudio);
    os_.player.setFileName(path);
    os_.player.setCommand(kOpenCommand);
}

void DisplayCycle::soundChosen(bool on, const std::string& path) {
    soundOn_ = on;
    if (!on) {
        return;
    }
    // The player is opened on the new file now, ready for the next
    // announcement.
    closeSound();
    openSound(path);
}

void DisplayCycle::playArrivalSound() {
    closeSound();
    os_.player.setDeviceType(kWaveAudio);
    // Read anew, so that a file chosen since the last check plays. A file
    // that cannot be played fails silently in the player.
    os_.player.setFileName(ini_.read(keys::kSound, keys::kWavePath, keys::kEmpty));
    os_.player.setCommand(kOpenCommand);
    os_.player.setCommand(kPlayCommand);
}

}  // namespace vantorel

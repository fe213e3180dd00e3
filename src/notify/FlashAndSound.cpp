// The caption flash and the sound player of an announcement.

#include "notify/DisplayCycle.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

namespace {

constexpr int kFlashCount = 3;

}  // namespace

void DisplayCycle::flashTarget() {
    os_.windows.flash(display_.targetWindow, kFlashCount);
}

void DisplayCycle::closeSound() {
    os_.player.stop();
}

void DisplayCycle::openSound(const std::string& path) {
    soundOn_ = true;
    os_.player.load(path);
}

void DisplayCycle::soundChosen(bool on, const std::string& path) {
    soundOn_ = on;
    if (on) {
        // Ready for the next announcement, in place of the file open before.
        os_.player.load(path);
    }
}

void DisplayCycle::playArrivalSound() {
    // Read anew, so that a file chosen since the last check plays.
    os_.player.play(ini_.read(keys::kSound, keys::kWavePath, keys::kEmpty));
}

}  // namespace vantorel

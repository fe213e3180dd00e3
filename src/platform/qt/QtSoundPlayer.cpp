#include "platform/qt/QtSoundPlayer.h"

#include <QFileInfo>

#include "platform/qt/QtText.h"

namespace vantorel::qt {

namespace {

constexpr int kFirstDeviceId = 1;

bool SameWord(std::string_view a, std::string_view b) {
    return ToQ(a).compare(ToQ(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

QtSoundPlayer::QtSoundPlayer(platform::LibraryLoader& loader, platform::Diagnostics& diagnostics)
    : loader_(loader), diagnostics_(diagnostics) {}

QtSoundPlayer::~QtSoundPlayer() {
    close();
}

void QtSoundPlayer::setDeviceType(std::string_view type) {
    deviceType_ = std::string(type);
}

void QtSoundPlayer::setFileName(std::string_view path) {
    fileName_ = std::string(path);
}

void QtSoundPlayer::setCommand(std::string_view command) {
    if (SameWord(command, "Open")) {
        open();
    } else if (SameWord(command, "Play")) {
        play();
    } else if (SameWord(command, "Close")) {
        close();
    }
    // Any other command is not understood and changes nothing.
}

void QtSoundPlayer::open() {
    if (deviceId_ != 0 || !SameWord(deviceType_, "WaveAudio")) {
        return;  // already open, or a device this player does not have
    }
    const QFileInfo file(ToQ(fileName_));
    if (fileName_.empty() || !file.isFile() || !file.isReadable()) {
        return;  // nothing to open: the player stays closed
    }
    openFile_ = FromQ(file.absoluteFilePath());
    deviceId_ = nextDeviceId_++;
    if (nextDeviceId_ <= 0) {
        nextDeviceId_ = kFirstDeviceId;
    }
}

void QtSoundPlayer::play() {
    if (deviceId_ == 0) {
        return;
    }
    played_ = true;
    if (!loadModule()) {
        return;  // no sound module: the sound fails silently
    }
    // Playing again starts the file from its beginning.
    close_(sound_);
    sound_ = play_(openFile_.c_str());
}

void QtSoundPlayer::close() {
    if (sound_ != nullptr) {
        close_(sound_);
        sound_ = nullptr;
    }
    openFile_.clear();
    deviceId_ = 0;
    played_ = false;
}

bool QtSoundPlayer::loadModule() {
    if (play_ != nullptr) {
        return true;
    }
    if (moduleFailed_) {
        return false;
    }
    void* module = loader_.load(sound::kModuleName);
    if (module != nullptr) {
        play_ =
            reinterpret_cast<VantorelSoundPlayFunction>(loader_.symbol(module, sound::kPlayEntry));
        close_ = reinterpret_cast<VantorelSoundCloseFunction>(
            loader_.symbol(module, sound::kCloseEntry));
    }
    if (play_ == nullptr || close_ == nullptr) {
        play_ = nullptr;
        close_ = nullptr;
        moduleFailed_ = true;
        diagnostics_.warn("the sound module could not be loaded, no sound is played: " +
                          loader_.lastError());
        return false;
    }
    return true;
}

}  // namespace vantorel::qt

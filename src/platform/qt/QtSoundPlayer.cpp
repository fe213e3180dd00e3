#include "platform/qt/QtSoundPlayer.h"

#include <QFileInfo>

#include "platform/qt/QtText.h"

namespace vantorel::qt {

QtSoundPlayer::QtSoundPlayer(platform::LibraryLoader& loader, platform::Diagnostics& diagnostics)
    : loader_(loader), diagnostics_(diagnostics) {}

QtSoundPlayer::~QtSoundPlayer() {
    stop();
}

void QtSoundPlayer::load(std::string_view path) {
    stop();
    open(path);
}

bool QtSoundPlayer::open(std::string_view path) {
    const QFileInfo file(ToQ(path));
    if (path.empty() || !file.isFile() || !file.isReadable()) {
        return false;  // nothing to open: the player stays closed
    }
    openFile_ = FromQ(file.absoluteFilePath());
    return true;
}

void QtSoundPlayer::play(std::string_view path) {
    stop();
    if (!open(path)) {
        return;
    }
    played_ = true;
    if (!loadModule()) {
        return;  // no sound module: the sound fails silently
    }
    sound_ = play_(openFile_.c_str());
}

void QtSoundPlayer::stop() {
    if (sound_ != nullptr) {
        close_(sound_);
        sound_ = nullptr;
    }
    openFile_.clear();
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

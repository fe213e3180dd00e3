#include "platform/qt/QtSoundPlayer.h"

#include <QFileInfo>
#include <QUrl>

#include "platform/qt/QtText.h"

namespace vantorel::qt {

namespace {

constexpr int kFirstDeviceId = 1;

bool SameWord(std::string_view a, std::string_view b) {
    return ToQ(a).compare(ToQ(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

QtSoundPlayer::QtSoundPlayer() = default;

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
        if (sound_) {
            sound_->play();
            played_ = true;
        }
    } else if (SameWord(command, "Close")) {
        close();
    }
    // Any other command is not understood and changes nothing.
}

void QtSoundPlayer::open() {
    if (sound_ || !SameWord(deviceType_, "WaveAudio")) {
        return;  // already open, or a device this player does not have
    }
    const QFileInfo file(ToQ(fileName_));
    if (fileName_.empty() || !file.isFile() || !file.isReadable()) {
        return;  // nothing to open: the player stays closed
    }
    sound_ = std::make_unique<QSoundEffect>();
    sound_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    deviceId_ = nextDeviceId_++;
    if (nextDeviceId_ <= 0) {
        nextDeviceId_ = kFirstDeviceId;
    }
}

void QtSoundPlayer::close() {
    if (sound_) {
        sound_->stop();
        sound_.reset();
    }
    deviceId_ = 0;
    played_ = false;
}

}  // namespace vantorel::qt

#pragma once
// The sound player on QSoundEffect: "Open" loads the WAV file, "Play"
// plays it, "Close" stops and unloads it. Like the multimedia control it
// stands in for, it fails silently: a missing file leaves it closed, a
// missing sound device plays nothing. It never waits for a sound to end.

#include <QSoundEffect>
#include <memory>
#include <string>

#include "platform/MediaPlayer.h"

namespace vantorel::qt {

class QtSoundPlayer : public platform::MediaPlayer {
  public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void setDeviceType(std::string_view type) override;
    void setFileName(std::string_view path) override;
    void setCommand(std::string_view command) override;
    int deviceId() override { return sound_ ? deviceId_ : 0; }

    // True after "Play" until "Close" (for the tests; the sound itself may
    // have failed or ended).
    bool played() const { return played_; }

  private:
    void open();
    void close();

    std::string deviceType_;
    std::string fileName_;
    std::unique_ptr<QSoundEffect> sound_;
    int deviceId_ = 0;
    int nextDeviceId_ = 1;
    bool played_ = false;
};

}  // namespace vantorel::qt

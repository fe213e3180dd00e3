#pragma once
// The sound player: "Open" checks the WAV file and opens the device,
// "Play" plays the file, "Close" stops it and closes the device. Like the
// multimedia control it stands in for, it fails silently: a missing file
// leaves it closed, a missing sound device plays nothing. It never waits
// for a sound to end.
//
// The sound itself is played by the sound module (sound/SoundModule.h),
// loaded with the first "Play": the audio libraries stay out of a program
// that has not played a sound yet, which is most of its day in the tray.

#include <string>

#include "platform/AppInfo.h"
#include "platform/MailLibrary.h"
#include "platform/MediaPlayer.h"
#include "platform/qt/sound/SoundModule.h"

namespace vantorel::qt {

class QtSoundPlayer : public platform::MediaPlayer {
  public:
    QtSoundPlayer(platform::LibraryLoader& loader, platform::Diagnostics& diagnostics);
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void setDeviceType(std::string_view type) override;
    void setFileName(std::string_view path) override;
    void setCommand(std::string_view command) override;
    int deviceId() override { return deviceId_; }

    // True after "Play" until "Close" (for the tests; the sound itself may
    // have failed or ended).
    bool played() const { return played_; }
    // True once the sound module is loaded (for the tests).
    bool moduleLoaded() const { return play_ != nullptr; }

  private:
    void open();
    void play();
    void close();
    bool loadModule();

    platform::LibraryLoader& loader_;
    platform::Diagnostics& diagnostics_;
    std::string deviceType_;
    std::string fileName_;
    std::string openFile_;  // the absolute path "Open" checked
    int deviceId_ = 0;
    int nextDeviceId_ = 1;
    bool played_ = false;

    VantorelSoundPlayFunction play_ = nullptr;
    VantorelSoundCloseFunction close_ = nullptr;
    bool moduleFailed_ = false;  // tried once, and told once
    VantorelSound* sound_ = nullptr;
};

}  // namespace vantorel::qt

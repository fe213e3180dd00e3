#pragma once
// The sound player: a file is opened when it exists and can be read, played
// from its beginning, and stopped by closing it. It fails silently: a
// missing file leaves it closed, a missing sound device plays nothing. It
// never waits for a sound to end.
//
// The sound itself is played by the sound module (sound/SoundModule.h),
// loaded with the first sound played: the audio libraries stay out of a
// program that has not played a sound yet, which is most of its day in the
// tray.

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

    void load(std::string_view path) override;
    void play(std::string_view path) override;
    void stop() override;

    // True while a file is open (for the tests).
    bool isOpen() const { return !openFile_.empty(); }
    // True after play() until stop() (for the tests; the sound itself may
    // have failed or ended).
    bool played() const { return played_; }
    // True once the sound module is loaded (for the tests).
    bool moduleLoaded() const { return play_ != nullptr; }

  private:
    bool open(std::string_view path);
    bool loadModule();

    platform::LibraryLoader& loader_;
    platform::Diagnostics& diagnostics_;
    std::string openFile_;  // the absolute path of the open file; "" when closed
    bool played_ = false;

    VantorelSoundPlayFunction play_ = nullptr;
    VantorelSoundCloseFunction close_ = nullptr;
    bool moduleFailed_ = false;  // tried once, and told once
    VantorelSound* sound_ = nullptr;
};

}  // namespace vantorel::qt

#pragma once
// The sound player through the MCI string interface: one "WaveAudio"
// device opened under an alias of its own, played without waiting, closed
// on request.

#include <string>

#include "platform/MediaPlayer.h"

namespace vantorel::win32 {

class MciPlayer : public platform::MediaPlayer {
  public:
    MciPlayer();
    // Closes a device that is still open, which also stops its sound.
    ~MciPlayer() override;
    MciPlayer(const MciPlayer&) = delete;
    MciPlayer& operator=(const MciPlayer&) = delete;

    // "Open": an empty path opens the bare wave device, which plays nothing.
    void load(std::string_view path) override;
    // "Close", "Open" and "Play" from the beginning.
    void play(std::string_view path) override;
    // "Close".
    void stop() override;

    // The MCI device id while a device is open; 0 otherwise.
    int deviceId() const;

  private:
    void send(const std::wstring& command);

    std::wstring alias_;
};

}  // namespace vantorel::win32

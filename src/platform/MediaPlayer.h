#pragma once
// The sound player: a multimedia device driven by device type, file name and
// command texts, as the main window's player control is.

#include <string_view>

namespace vantorel::platform {

class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;

    // The device type for the next "Open" ("WaveAudio").
    virtual void setDeviceType(std::string_view type) = 0;

    // The file for the next "Open" (may be empty).
    virtual void setFileName(std::string_view path) = 0;

    // Runs "Open", "Play" or "Close". Failures (no file, no sound device,
    // an unknown command) are silent: nothing is reported and the player
    // stays as it was.
    virtual void setCommand(std::string_view command) = 0;

    // Non-zero while a device is open; 0 otherwise.
    virtual int deviceId() = 0;
};

}  // namespace vantorel::platform

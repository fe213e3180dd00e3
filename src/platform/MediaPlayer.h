#pragma once
// The sound player: one sound file at a time, opened ready to play, played
// without waiting for its end, and stopped. Every failure (no file, a file
// that is not a sound, no sound device) is silent: nothing is reported and
// nothing plays.

#include <string_view>

namespace vantorel::platform {

class MediaPlayer {
  public:
    virtual ~MediaPlayer() = default;

    // Opens the file at `path` ready to play, in place of the file open
    // before (whose sound stops).
    virtual void load(std::string_view path) = 0;

    // Closes what is open and plays the file at `path` from its beginning,
    // opened anew so that the file as it is now plays.
    virtual void play(std::string_view path) = 0;

    // Stops a sound still playing and closes the file; nothing happens
    // when nothing is open.
    virtual void stop() = 0;
};

}  // namespace vantorel::platform

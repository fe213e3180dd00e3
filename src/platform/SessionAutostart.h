#pragma once
// Starting the program with the user's session: the entry that makes the
// session start this program at login (an XDG autostart file on Linux, the
// per-user "Run" key on Windows). The program never keeps this state
// itself: the system's entry is the truth, read again whenever it matters,
// so that a change made elsewhere (the desktop's settings, another copy of
// the program) is never overwritten by a stale mark.

#include <string>
#include <utility>

namespace vantorel::platform {

struct AutostartOutcome {
    bool done = false;
    // When not done: what stood in the way, in the system's words (UTF-8),
    // with the file or key concerned.
    std::string problem;

    static AutostartOutcome Done() { return {true, {}}; }
    static AutostartOutcome Failed(std::string why) { return {false, std::move(why)}; }
};

class SessionAutostart {
  public:
    virtual ~SessionAutostart() = default;

    // True when the session's entry exists, is switched on and starts this
    // very executable. False when there is none, when it names another
    // program or copy, or when it cannot be read.
    virtual bool registered() = 0;

    // Writes the entry for this executable, replacing an entry of the same
    // name that starts something else. On failure an entry that was there
    // is left as it was.
    virtual AutostartOutcome add() = 0;

    // Removes the entry when it starts this executable; an entry that starts
    // something else is left alone. No entry at all is done.
    virtual AutostartOutcome remove() = 0;
};

}  // namespace vantorel::platform

#pragma once
// Making a window's caption ask for attention for a while, and ending that
// again. Two ways, since window managers watch one or the other: the
// urgency flag of WM_HINTS (ICCCM) and, for a window the window manager
// manages, _NET_WM_STATE_DEMANDS_ATTENTION asked for through the root
// (EWMH). Each is undone later only when we were the ones who set it.

#include <cstdint>
#include <map>

#include "platform/qt/x11/WindowTree.h"
#include "platform/qt/x11/XlibCommon.h"

namespace vantorel::x11 {

class Attention {
  public:
    Attention(Display* display, const Atoms& atoms, const WindowTree& tree);

    struct Started {
        bool flashing = false;         // the caption now asks for attention
        std::uint64_t generation = 0;  // 0: nothing of ours to end later
    };

    // Asks for attention for `blinks` blink periods. A window the user is
    // already working in shows nothing, so it is left alone. A second
    // request for the same window starts the count again.
    Started start(Window window, std::uint32_t blinks);

    // One blink period has passed for the request of that generation. Ends
    // it when its blinks are over, when the window has become the active
    // one, or when the window is gone. True while it goes on.
    bool blinkPassed(Window window, std::uint64_t generation);

    // Ends the request for `window` now, if there is one.
    void stop(Window window);
    void stopAll();

    bool pending(Window window) const { return requests_.count(window) != 0; }

  private:
    struct Request {
        bool urgencySet = false;    // we set the urgency flag
        bool hintsCreated = false;  // and WM_HINTS did not exist before
        bool stateAdded = false;    // we asked for DEMANDS_ATTENTION
        std::uint32_t blinksLeft = 0;
        std::uint64_t generation = 0;
    };

    void setUrgency(Window window, Request& request);
    void clearUrgency(Window window, const Request& request);
    bool hasAttentionState(Window window) const;
    void askAttentionState(Window window, bool on);
    void end(Window window, const Request& request);

    Display* display_;
    const Atoms& atoms_;
    const WindowTree& tree_;
    std::map<Window, Request> requests_;
    std::uint64_t lastGeneration_ = 0;
};

}  // namespace vantorel::x11

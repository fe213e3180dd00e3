#pragma once
// What one announcement shows in a title bar, from its arrival notice to
// the window's own title again. A mail check builds a new one and hands it
// to the display cycle only when it announces, so that a check that finds
// nothing to say leaves a running announcement exactly as it stands.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace vantorel {

struct Announcement {
    // The summary of message k of the mailbox at index k (index 0 is never
    // shown); entries the list did not fill read as empty.
    std::vector<std::string> entries;
    // The last message index to show.
    std::int16_t lastIndex = 0;
    // The index of the next message to show.
    std::int16_t position = 0;
    // Messages the announcement leaves out: message k is numbered k - shownBase.
    std::int16_t shownBase = 0;
    // How many messages the announcement is about.
    std::int16_t newCount = 0;
    std::string subjectLabel;
    std::string fromLabel;
    std::string dateLabel;
    // The window written into and the title it had before.
    platform::WindowHandle targetWindow = 0;
    std::string savedTitle;
    // False when the target's title could not be read: a restore would put
    // an empty or wrong title over the real one, so there is none.
    bool savedTitleRead = false;
};

}  // namespace vantorel

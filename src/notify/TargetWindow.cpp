// The window that receives the notices: choosing it, saving its own title
// and writing into its title bar.

#include "notify/DisplayCycle.h"
#include "notify/TopLevelWindow.h"

namespace vantorel {

void DisplayCycle::chooseTarget(Announcement& next) {
    platform::ForeignWindows& windows = os_.windows;
    const platform::WindowHandle found = host_.targetUnderMouse()
                                             ? windows.windowFromPoint(windows.cursorPos())
                                             : windows.foregroundWindow();
    next.targetWindow = TopLevelWindowOf(windows, found);
    if (timer_->enabled() && next.targetWindow == display_.targetWindow) {
        // The window shows a notice of the running announcement now; the
        // title saved when that announcement began is the one to restore.
        next.savedTitle = display_.savedTitle;
        next.savedTitleRead = display_.savedTitleRead;
        return;
    }
    const std::optional<std::string> title = getTitle(next.targetWindow);
    next.savedTitle = title.value_or("");
    next.savedTitleRead = title.has_value();
}

std::optional<std::string> DisplayCycle::getTitle(platform::WindowHandle window) {
    if (!os_.windows.isWindow(window)) {
        return "";  // nothing there to restore to
    }
    // The whole title, however long, so that a restore gives it back as it was.
    return os_.windows.windowText(window);
}

bool DisplayCycle::setTitle(std::string_view text) {
    // A window that has gone meanwhile just does not change.
    return os_.windows.setWindowText(display_.targetWindow, text);
}

void DisplayCycle::restoreTitle() {
    // A title that could not be read is left as the notices left it rather
    // than replaced by a guess.
    if (display_.savedTitleRead) {
        setTitle(display_.savedTitle);
    }
}

}  // namespace vantorel

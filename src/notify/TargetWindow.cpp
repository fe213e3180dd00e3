// The window that receives the notices: choosing it, saving its own title
// and writing into its title bar.

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"
#include "notify/hWndBas.h"

namespace vantorel {

void StartUpForm::PickTarget(Announcement& next) {
    platform::ForeignWindows& windows = os_.windows;
    const platform::WindowHandle found = form_->checked(ctl::mnuMouse)
                                             ? windows.windowFromPoint(windows.cursorPos())
                                             : windows.foregroundWindow();
    next.TargetWindow = GetTopParent(windows, found);
    if (Timer2->enabled() && next.TargetWindow == Display.TargetWindow) {
        // The window shows a notice of the running announcement now; the
        // title saved when that announcement began is the one to restore.
        next.SavedTitle = Display.SavedTitle;
        next.SavedTitleRead = Display.SavedTitleRead;
        return;
    }
    const std::optional<std::string> title = GetTitle(next.TargetWindow);
    next.SavedTitle = title.value_or("");
    next.SavedTitleRead = title.has_value();
}

std::optional<std::string> StartUpForm::GetTitle(platform::WindowHandle window) {
    if (!os_.windows.isWindow(window)) {
        return "";  // nothing there to restore to
    }
    // The whole title, however long, so that a restore gives it back as it was.
    return os_.windows.windowText(window);
}

bool StartUpForm::SetTitle(std::string_view text) {
    // A window that has gone meanwhile just does not change.
    return os_.windows.setWindowText(Display.TargetWindow, text);
}

void StartUpForm::RestoreTitle() {
    // A title that could not be read is left as the notices left it rather
    // than replaced by a guess.
    if (Display.SavedTitleRead) {
        SetTitle(Display.SavedTitle);
    }
}

}  // namespace vantorel

// "ログイン時に起動する": the session's autostart entry for this program.
// The mark always shows what the system holds, never a remembered choice,
// so the menu tells the truth after the desktop's own settings (or another
// copy of the program) changed the entry.

#include <string>
#include <string_view>

#include "app/App.h"
#include "app/SettingsWindowLayout.h"

namespace vantorel {

namespace {

constexpr std::string_view kAddFailed = "ログイン時に起動するように登録できませんでした。";
constexpr std::string_view kRemoveFailed = "ログイン時に起動する登録を解除できませんでした。";

}  // namespace

void App::ReadAutostartMark() {
    form().setChecked(ctl::Autostart, os_.autostart.registered());
}

void App::toggleAutostart() {
    // The mark was read from the system as the menu opened: the user asks
    // for the opposite of what it showed.
    const bool wasRegistered = form().checked(ctl::Autostart);
    const platform::AutostartOutcome outcome =
        wasRegistered ? os_.autostart.remove() : os_.autostart.add();
    if (!outcome.done) {
        const std::string_view what = wasRegistered ? kRemoveFailed : kAddFailed;
        os_.ui.messageBox(std::string(what) + "\n" + outcome.problem, os_.app.title(),
                          platform::MessageIcon::None);
    }
    ReadAutostartMark();
}

}  // namespace vantorel

#include "tray/TrayIcon.h"

#include <exception>
#include <utility>

namespace vantorel {

namespace {

// The tray object goes on past a step that fails, so that a refused icon
// never keeps the window from being shown or hidden.
template <typename Step>
void ContinueOnError(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

TrayIcon::TrayIcon(platform::TrayShell& shell, platform::Form& owner, platform::ControlId menu,
                   std::function<void()> onSeen)
    : shell_(shell), owner_(owner), menu_(menu), onSeen_(std::move(onSeen)) {
    shell_.watchAvailability([this] { trayAppeared(); });
}

TrayIcon::~TrayIcon() {
    shell_.watchAvailability({});
}

platform::TrayLook TrayIcon::look() const {
    platform::TrayLook look;
    ContinueOnError([&] { look.icon = owner_.icon(); });
    look.mark = mark_;
    look.tip = tip_;
    return look;
}

void TrayIcon::show(const platform::TrayMark& mark, const std::string& tip) {
    mark_ = mark;
    tip_ = tip;
    showIcon();
}

void TrayIcon::showIcon() {
    inTray_ = true;
    platform::WindowHandle owner = 0;
    ContinueOnError([&] { owner = owner_.handle(); });
    bool shown = false;
    ContinueOnError([&] { shown = shell_.show(owner, look()); });
    hideOwnerUnlessNoTray(shown);
}

void TrayIcon::hideOwnerUnlessNoTray(bool shown) {
    // A refused icon is no reason to keep the window (the shell refuses one
    // it already shows); only a missing tray is.
    bool noTray = false;
    ContinueOnError([&] { noTray = !shown && !shell_.available(); });
    ContinueOnError([&] { owner_.setVisible(noTray); });
}

void TrayIcon::hide() {
    inTray_ = false;
    ContinueOnError([&] { shell_.remove(); });
    ContinueOnError([&] { owner_.setVisible(true); });
    ContinueOnError([&] { owner_.setControlVisible(menu_, false); });
}

void TrayIcon::trayAppeared() {
    if (inTray_) {
        showIcon();
    }
}

void TrayIcon::showStatus(const platform::TrayMark& mark, const std::string& tip) {
    if (mark == mark_ && tip == tip_) {
        return;
    }
    mark_ = mark;
    tip_ = tip;
    if (!inTray_) {
        return;  // the next show carries it
    }
    // A refused change (no tray just now) is made good by the next show,
    // which carries the state as it is then.
    ContinueOnError([&] { shell_.update(look()); });
}

void TrayIcon::tellSeen() {
    if (onSeen_) {
        ContinueOnError([&] { onSeen_(); });
    }
}

void TrayIcon::popUpMenu() {
    // Told before the menu opens, so that the icon is plain while it is up.
    tellSeen();
    ContinueOnError([&] { owner_.setControlVisible(menu_, true); });
    ContinueOnError([&] { owner_.popupMenu(menu_); });
}

void TrayIcon::onAction(platform::TrayAction action) {
    switch (action) {
        case platform::TrayAction::DoubleClicked:
            // The icon goes and the window comes back.
            hide();
            tellSeen();
            break;
        case platform::TrayAction::MenuRequested:
            popUpMenu();
            break;
    }
}

}  // namespace vantorel

#include "platform/qt/QtTrayShell.h"

#include <utility>

#include "platform/qt/QtForm.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindowFramework.h"
#include "platform/qt/TrayMarkIcon.h"

namespace vantorel::qt {

namespace {

// The X11 tray sometimes reports one right-button press twice; a second
// report this soon after the menu closed belongs to the same press.
constexpr qint64 kSamePressMs = 250;

// How often a missing tray is looked for: soon enough that the window left
// on the screen goes to a panel that starts after login, and one cheap X
// round trip a second only while there is no tray.
constexpr int kTrayPollMs = 1000;

}  // namespace

QtTrayShell::QtTrayShell(QtWindowFramework& ui, platform::Diagnostics& diagnostics)
    : ui_(ui), diagnostics_(diagnostics) {
    poll_.setInterval(kTrayPollMs);
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { poll(); });
}

QtTrayShell::~QtTrayShell() {
    if (icon_) {
        icon_->hide();
    }
}

void QtTrayShell::setLook(QSystemTrayIcon& icon, const platform::TrayLook& look) {
    icon.setIcon(markedIcons_.get(ui_.iconFor(look.icon), look.mark));
    icon.setToolTip(ToQ(look.tip));
}

bool QtTrayShell::update(const platform::TrayLook& look) {
    if (!icon_) {
        return false;
    }
    setLook(*icon_, look);
    return true;
}

bool QtTrayShell::show(platform::WindowHandle owner, const platform::TrayLook& look) {
    if (icon_) {
        return false;  // the shell refuses an icon it already has
    }
    icon_ = std::make_unique<QSystemTrayIcon>();
    owner_ = owner;
    setLook(*icon_, look);
    QSystemTrayIcon* shown = icon_.get();
    // An icon already removed may still report the action under way.
    QObject::connect(shown, &QSystemTrayIcon::activated, shown,
                     [this, shown](QSystemTrayIcon::ActivationReason reason) {
                         if (shown == icon_.get()) {
                             activated(reason);
                         }
                     });
    icon_->show();
    const bool trayThere = available();
    waitsForTray_ = !trayThere;
    if (trayThere) {
        return true;
    }
    if (!toldNoTray_) {
        toldNoTray_ = true;
        diagnostics_.warn(
            "no system tray is available: the settings window stays on the screen until one "
            "appears, and mail is checked as usual");
    }
    return false;
}

bool QtTrayShell::available() {
    const bool there = QSystemTrayIcon::isSystemTrayAvailable();
    if (!there && !poll_.isActive()) {
        poll_.start();
    }
    return there;
}

void QtTrayShell::watchAvailability(std::function<void()> appeared) {
    appeared_ = std::move(appeared);
}

void QtTrayShell::poll() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    poll_.stop();
    // An icon shown while there was no tray may never have been docked:
    // shown again, it goes into the tray that is there now.
    if (icon_ && waitsForTray_) {
        waitsForTray_ = false;
        icon_->hide();
        icon_->show();
    }
    if (appeared_) {
        appeared_();
    }
}

bool QtTrayShell::remove() {
    if (!icon_) {
        return false;
    }
    // Hiding would take down the icon's widget at once, and the removal may
    // come from inside that widget's own mouse event (a double-click, or a
    // menu popped up by a right press whose item ends the program): the
    // icon goes once that event has returned. A deletion merely posted from
    // there is not enough: an event loop nested in the event (a box shown
    // by the menu's command, ended when the session ends) carries it out
    // while the widget's event is still running, so such an icon is kept
    // until the mouse action has returned.
    std::unique_ptr<QSystemTrayIcon> icon = std::move(icon_);
    waitsForTray_ = false;
    if (activations_ > 0) {
        removedDuringActivation_.push_back(std::move(icon));
    } else {
        icon.release()->deleteLater();
    }
    return true;
}

void QtTrayShell::releaseRemoved() {
    if (activations_ > 0) {
        return;
    }
    for (auto& icon : removedDuringActivation_) {
        icon.release()->deleteLater();
    }
    removedDuringActivation_.clear();
}

void QtTrayShell::activated(QSystemTrayIcon::ActivationReason reason) {
    if (!icon_) {
        return;
    }
    if (reason == QSystemTrayIcon::DoubleClick) {
        deliver(platform::TrayAction::DoubleClicked);
    } else if (reason == QSystemTrayIcon::Context) {
        menuRequested();
    }
    // A single click (Trigger) or the middle button is no action.
}

void QtTrayShell::menuRequested() {
    const bool repeated = sinceMenuClosed_.isValid() && sinceMenuClosed_.elapsed() < kSamePressMs;
    if (menuOpen_ || repeated) {
        return;
    }
    menuOpen_ = true;
    deliver(platform::TrayAction::MenuRequested);
    menuOpen_ = false;
    sinceMenuClosed_.start();
}

void QtTrayShell::deliver(platform::TrayAction action) {
    if (QtForm* owner = ui_.formByHandle(owner_)) {
        ++activations_;
        owner->raiseTrayAction(action);
        --activations_;
        releaseRemoved();
    }
}

}  // namespace vantorel::qt

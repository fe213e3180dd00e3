#include "platform/qt/QtTrayShell.h"

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
    for (auto& [key, entry] : icons_) {
        entry.icon->hide();
    }
}

bool QtTrayShell::notifyIcon(platform::NotifyIconMessage message,
                             const platform::NotifyIconRecord& record) {
    switch (message) {
        case platform::NotifyIconMessage::Add:
            return add(record);
        case platform::NotifyIconMessage::Modify:
            return modify(record);
        case platform::NotifyIconMessage::Delete:
            break;
    }
    return remove(record);
}

void QtTrayShell::apply(QSystemTrayIcon& icon, const platform::NotifyIconRecord& record) {
    if ((record.flags & platform::NotifyIconRecord::kFlagIcon) != 0) {
        icon.setIcon(markedIcons_.get(ui_.iconFor(record.icon), record.mark));
    }
    if ((record.flags & platform::NotifyIconRecord::kFlagTip) != 0) {
        icon.setToolTip(ToQ(record.tip));
    }
}

bool QtTrayShell::modify(const platform::NotifyIconRecord& record) {
    const auto it = icons_.find({record.window, record.id});
    if (it == icons_.end()) {
        return false;
    }
    apply(*it->second.icon, record);
    return true;
}

bool QtTrayShell::add(const platform::NotifyIconRecord& record) {
    const Key key{record.window, record.id};
    if (icons_.count(key) != 0) {
        return false;  // the shell refuses an icon it already has
    }
    Icon entry;
    entry.icon = std::make_unique<QSystemTrayIcon>();
    entry.callbacks = (record.flags & platform::NotifyIconRecord::kFlagMessage) != 0;
    apply(*entry.icon, record);
    QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated, entry.icon.get(),
                     [this, key](QSystemTrayIcon::ActivationReason reason) {
                         activated(key.first, key.second, reason);
                     });
    entry.icon->show();
    const bool trayThere = available();
    entry.waitsForTray = !trayThere;
    icons_.emplace(key, std::move(entry));

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
    for (auto& [key, entry] : icons_) {
        if (entry.waitsForTray) {
            entry.waitsForTray = false;
            entry.icon->hide();
            entry.icon->show();
        }
    }
    if (appeared_) {
        appeared_();
    }
}

bool QtTrayShell::remove(const platform::NotifyIconRecord& record) {
    const auto it = icons_.find({record.window, record.id});
    if (it == icons_.end()) {
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
    std::unique_ptr<QSystemTrayIcon> icon = std::move(it->second.icon);
    icons_.erase(it);
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

QSystemTrayIcon* QtTrayShell::icon(platform::WindowHandle window, std::uint32_t id) const {
    const auto it = icons_.find({window, id});
    return it == icons_.end() ? nullptr : it->second.icon.get();
}

void QtTrayShell::activated(platform::WindowHandle window, std::uint32_t id,
                            QSystemTrayIcon::ActivationReason reason) {
    const auto it = icons_.find({window, id});
    if (it == icons_.end() || !it->second.callbacks) {
        return;
    }
    if (reason == QSystemTrayIcon::DoubleClick) {
        deliver(window, platform::tray_code::kLeftDoubleClick);
        return;
    }
    if (reason != QSystemTrayIcon::Context) {
        return;  // a single click (Trigger) or the middle button does nothing
    }
    const bool repeated = sinceMenuClosed_.isValid() && sinceMenuClosed_.elapsed() < kSamePressMs;
    if (menuOpen_ || repeated) {
        return;
    }
    menuOpen_ = true;
    deliver(window, platform::tray_code::kRightButtonDown);
    menuOpen_ = false;
    sinceMenuClosed_.start();
}

void QtTrayShell::deliver(platform::WindowHandle window, int mouseCode) {
    if (QtForm* owner = ui_.formByHandle(window)) {
        ++activations_;
        owner->raiseTrayNotify(mouseCode);
        --activations_;
        releaseRemoved();
    }
}

}  // namespace vantorel::qt

// The program's side of a mail check, of the check timer and of the
// basic-settings OK: the options they read from the window and its menus,
// the outcome of a check on the tray icon, and the announcement of what it
// found.

#include <utility>

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "settings/SettingsKeys.h"

namespace vantorel {

bool App::CheckMail() {
    CheckResult result = mailCheck_.run();
    if (result.news) {
        Announce(std::move(*result.news));
    }
    // One change of the icon for the whole check, whatever it found.
    if (result.completed && !unloaded_) {
        ShowTrayStatus();
    }
    return result.succeeded;
}

void App::Announce(NewMail news) {
    Announcement next = std::exchange(next_, {});
    next.newCount = news.count;
    next.position = news.firstIndex;
    next.shownBase = news.shownBase;
    next.lastIndex = news.lastIndex;
    next.entries = std::move(news.entries);
    display_->show(std::move(next));
    trayStatus_.MailAnnounced(news.count, news.onceOnly);
}

bool App::showErrors() {
    return form().checked(ctl::ShowErrors);
}

bool App::announceZero() {
    return form().checked(ctl::AnnounceZero);
}

bool App::onceOnly() {
    return form().checked(ctl::OnceOnly);
}

void App::announcementComing() {
    next_ = {};
    display_->chooseTarget(next_);
}

void App::checkSucceeded() {
    // Shown once the check has decided what it announces.
    trayStatus_.CheckSucceeded(os_.clock.now());
}

void App::checkFailed(std::string_view reason) {
    trayStatus_.CheckFailed(os_.clock.now(), reason);
    ShowTrayStatus();
}

void App::resumeChecking() {
    scheduler_->resume();
}

std::string App::intervalText() {
    return form().text(ctl::IntervalBox);
}

bool App::paused() {
    return form().checked(ctl::Pause);
}

bool App::checkRunning() {
    return mailCheck_.running();
}

void App::checkDue() {
    CheckMail();
}

void App::restartChecking() {
    scheduler_->setMinutes(0);
    scheduler_->resume();
}

void App::setChecking(bool on) {
    scheduler_->timer().setEnabled(on);
}

bool App::checkNewSettings() {
    return CheckMail();
}

void App::settingsAccepted() {
    scheduler_->resume();
    display_->setInterval(ini_.read(keys::kUserInfo, keys::kTimer, keys::kEmpty));
    toTray();
}

bool App::targetUnderMouse() {
    return form().checked(ctl::UnderMouse);
}

bool App::restoreTitles() {
    return form().checked(ctl::RestoreTitles);
}

bool App::notifyDesktop() {
    return form().checked(ctl::NotifyDesktop);
}

void App::holdChecks() {
    scheduler_->setEnabled(false);
}

void App::cycleEnded() {
    scheduler_->resume();
}

}  // namespace vantorel

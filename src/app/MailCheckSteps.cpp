// The program's side of a mail check and of the check timer: the options
// they read from the window and its menus, the outcome of a check on the tray
// icon, and the announcement of what it found.

#include <utility>

#include "app/StartUpForm.h"
#include "app/StartUpFormLayout.h"

namespace vantorel {

bool StartUpForm::CheckMail() {
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

void StartUpForm::Announce(NewMail news) {
    Announcement next = std::exchange(next_, {});
    next.NewCount = news.count;
    next.DispIndex = news.firstIndex;
    next.ShownBase = news.shownBase;
    next.MailCount = news.lastIndex;
    next.MailList = std::move(news.entries);
    display_->show(std::move(next));
    trayStatus_.MailAnnounced(news.count, news.onceOnly);
}

bool StartUpForm::showErrors() {
    return form_->checked(ctl::mnuErrPop);
}

bool StartUpForm::announceZero() {
    return form_->checked(ctl::mnuZeroCheck);
}

bool StartUpForm::onceOnly() {
    return form_->checked(ctl::mnuCHKOnceOnly);
}

void StartUpForm::announcementComing() {
    next_ = {};
    display_->chooseTarget(next_);
}

void StartUpForm::checkSucceeded() {
    // Shown once the check has decided what it announces.
    trayStatus_.CheckSucceeded(os_.clock.now());
}

void StartUpForm::checkFailed(std::string_view reason) {
    trayStatus_.CheckFailed(os_.clock.now(), reason);
    ShowTrayStatus();
}

void StartUpForm::resumeChecking() {
    scheduler_->resume();
}

std::string StartUpForm::intervalText() {
    return form_->text(ctl::txtInterval);
}

bool StartUpForm::paused() {
    return form_->checked(ctl::mnuTempStop);
}

bool StartUpForm::checkRunning() {
    return mailCheck_.running();
}

void StartUpForm::checkDue() {
    CheckMail();
}

bool StartUpForm::targetUnderMouse() {
    return form_->checked(ctl::mnuMouse);
}

bool StartUpForm::restoreTitles() {
    return form_->checked(ctl::mnuTitleBack);
}

bool StartUpForm::notifyDesktop() {
    return form_->checked(ctl::mnuNotify);
}

void StartUpForm::holdChecks() {
    scheduler_->setEnabled(false);
}

void StartUpForm::cycleEnded() {
    scheduler_->resume();
}

}  // namespace vantorel

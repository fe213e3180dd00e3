// The basic-settings window's two buttons: OK validates and saves the five
// boxes and puts the program into the tray; CANCEL puts the stored values
// back into the boxes.

#include <string>

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "dialogs/SettingsNotSaved.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"

namespace vantorel {

namespace {

constexpr std::string_view kInvalidNumber = "数値が不正です";
constexpr std::string_view kFirstCheckFailed = "エラーです。設定しなおしてください";
constexpr double kSmallestInterval = 1.0;  // minutes or seconds
// A failed first check marks the settings with the upper-case word, as
// settings files have always held it; any value but "True" means the same.
constexpr std::string_view kNotAccepted = "FALSE";

// Makes sure the "save" folder handed to the mail library exists. The
// library works without it, so a folder that cannot be created (a write-
// protected program folder) is reported on standard error and OK goes on.
void MakeSaveFolder(platform::Platform& os, SettingsStore& ini) {
    const std::string folder = ini.saveFolder();
    if (os.files.exists(folder)) {
        return;
    }
    if (!os.files.createFolder(folder)) {
        os.diagnostics.warn("the folder " + folder + " cannot be created");
    }
}

// True when the box's leading number is at least 1. Otherwise the user is
// told, and the box gets the focus with its whole text selected.
bool AcceptInterval(platform::Platform& os, platform::Form& form, platform::ControlId box) {
    if (text::LeadingNumber(form.text(box)) >= kSmallestInterval) {
        return true;
    }
    os.ui.messageBox(kInvalidNumber, os.app.title(), platform::MessageIcon::None);
    form.setFocus(box);
    form.selectAll(box);
    return false;
}

// Writes the five boxes exactly as typed. Every box is written even after
// one failed, so that as much as possible is kept.
bool SaveBoxes(platform::Form& form, SettingsStore& ini) {
    const std::pair<std::string_view, platform::ControlId> boxes[] = {
        {keys::kUserName, ctl::UserBox},         {keys::kPassword, ctl::PasswordBox},
        {keys::kRemoteHost, ctl::ServerBox},     {keys::kInterval, ctl::IntervalBox},
        {keys::kTimer, ctl::DisplayIntervalBox},
    };
    bool saved = true;
    for (const auto& [key, box] : boxes) {
        saved = ini.write(keys::kUserInfo, key, form.text(box)) && saved;
    }
    return saved;
}

// True once a previous OK was accepted. A value that is no Boolean text
// (hand-edited) counts as never accepted, so the first check runs again.
bool SettingsAccepted(SettingsStore& ini) {
    const std::string startUp = ini.read(keys::kUserInfo, keys::kStartUp, keys::kFalseText);
    return text::TextToBoolean(startUp).value_or(false);
}

// A settings file that cannot be written keeps the window open with what
// the user typed, rather than going to the tray as if it were kept.
// Checking goes on (or stays off) as the file's settings allow: with
// settings accepted earlier, the check timer runs on them while the window
// stays, unless the user paused it; on a first run there is nothing to
// check with.
void StayAfterFailedSave(platform::Platform& os, SettingsStore& ini, platform::Timer& checkTimer,
                         bool paused) {
    ShowSettingsNotSaved(os, ini);
    checkTimer.setEnabled(SettingsAccepted(ini) && !paused);
}

// The first check proves the settings; until one succeeds the window stays
// for correction, checking stays off and the program stays out of the tray.
void StayAfterFailedFirstCheck(platform::Platform& os, SettingsStore& ini, platform::Form& form,
                               platform::Timer& checkTimer) {
    os.ui.messageBox(kFirstCheckFailed, os.app.title(), platform::MessageIcon::Information);
    const bool saved = ini.write(keys::kUserInfo, keys::kStartUp, kNotAccepted);
    checkTimer.setEnabled(false);
    form.setVisible(true);
    if (!saved) {
        ShowSettingsNotSaved(os, ini);
    }
}

}  // namespace

void App::accept() {
    MakeSaveFolder(os_, ini_);
    // The check interval is examined first: with both wrong, only it is reported.
    if (!AcceptInterval(os_, *form_, ctl::IntervalBox) ||
        !AcceptInterval(os_, *form_, ctl::DisplayIntervalBox)) {
        return;
    }
    if (!SaveBoxes(*form_, ini_)) {
        StayAfterFailedSave(os_, ini_, scheduler_->timer(), form_->checked(ctl::Pause));
        return;
    }

    scheduler_->setMinutes(0);
    scheduler_->resume();

    // Settings never accepted before get one check at once.
    if (!SettingsAccepted(ini_) && !CheckMail()) {
        StayAfterFailedFirstCheck(os_, ini_, *form_, scheduler_->timer());
        return;
    }
    if (!ini_.write(keys::kUserInfo, keys::kStartUp, keys::kTrueText)) {
        StayAfterFailedSave(os_, ini_, scheduler_->timer(), form_->checked(ctl::Pause));
        return;
    }
    scheduler_->resume();
    display_->setInterval(ini_.read(keys::kUserInfo, keys::kTimer, keys::kEmpty));
    toTray();
}

void App::revert() {
    FillBasicSettings();
}

}  // namespace vantorel

// The basic-settings window's boxes and its two buttons: OK validates and
// saves the five boxes and, once they are proved, lets the program go to the
// tray; CANCEL puts the stored values back into the boxes.

#include "app/SettingsWindow.h"

#include <string>
#include <utility>

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

}  // namespace

SettingsWindow::SettingsWindow(platform::Platform& os, SettingsStore& ini,
                               platform::FormEvents& events, SettingsWindowHost& host)
    : os_(os), ini_(ini), host_(host), form_(os.ui.createForm(SettingsWindowLayout(), events)) {}

void SettingsWindow::fill() {
    form_->setText(ctl::UserBox, ini_.read(keys::kUserInfo, keys::kUserName, keys::kEmpty));
    form_->setText(ctl::PasswordBox, ini_.read(keys::kUserInfo, keys::kPassword, keys::kEmpty));
    form_->setText(ctl::ServerBox, ini_.read(keys::kUserInfo, keys::kRemoteHost, keys::kEmpty));
    form_->setText(ctl::IntervalBox,
                   ini_.read(keys::kUserInfo, keys::kInterval, keys::kDefaultInterval));
    form_->setText(ctl::DisplayIntervalBox, ini_.read(keys::kUserInfo, keys::kTimer, keys::kEmpty));
}

void SettingsWindow::accept() {
    MakeSaveFolder(os_, ini_);
    // The check interval is examined first: with both wrong, only it is reported.
    if (!acceptInterval(ctl::IntervalBox) || !acceptInterval(ctl::DisplayIntervalBox)) {
        return;
    }
    if (!saveBoxes()) {
        stayAfterFailedSave();
        return;
    }

    host_.restartChecking();

    // Settings never accepted before get one check at once.
    if (!settingsAccepted() && !host_.checkNewSettings()) {
        stayAfterFailedFirstCheck();
        return;
    }
    if (!ini_.write(keys::kUserInfo, keys::kStartUp, keys::kTrueText)) {
        stayAfterFailedSave();
        return;
    }
    host_.settingsAccepted();
}

// True when the box's leading number is at least 1. Otherwise the user is
// told, and the box gets the focus with its whole text selected.
bool SettingsWindow::acceptInterval(platform::ControlId box) {
    if (text::LeadingNumber(form_->text(box)) >= kSmallestInterval) {
        return true;
    }
    os_.ui.messageBox(kInvalidNumber, os_.app.title(), platform::MessageIcon::None);
    form_->setFocus(box);
    form_->selectAll(box);
    return false;
}

// Writes the five boxes exactly as typed. Every box is written even after
// one failed, so that as much as possible is kept.
bool SettingsWindow::saveBoxes() {
    const std::pair<std::string_view, platform::ControlId> boxes[] = {
        {keys::kUserName, ctl::UserBox},         {keys::kPassword, ctl::PasswordBox},
        {keys::kRemoteHost, ctl::ServerBox},     {keys::kInterval, ctl::IntervalBox},
        {keys::kTimer, ctl::DisplayIntervalBox},
    };
    bool saved = true;
    for (const auto& [key, box] : boxes) {
        saved = ini_.write(keys::kUserInfo, key, form_->text(box)) && saved;
    }
    return saved;
}

// True once a previous OK was accepted. A value that is no Boolean text
// (hand-edited) counts as never accepted, so the first check runs again.
bool SettingsWindow::settingsAccepted() {
    const std::string startUp = ini_.read(keys::kUserInfo, keys::kStartUp, keys::kFalseText);
    return text::TextToBoolean(startUp).value_or(false);
}

// A settings file that cannot be written keeps the window open with what
// the user typed, rather than going to the tray as if it were kept.
// Checking goes on (or stays off) as the file's settings allow: with
// settings accepted earlier, the check timer runs on them while the window
// stays, unless the user paused it; on a first run there is nothing to
// check with.
void SettingsWindow::stayAfterFailedSave() {
    ShowSettingsNotSaved(os_, ini_);
    host_.setChecking(settingsAccepted() && !form_->checked(ctl::Pause));
}

// The first check proves the settings; until one succeeds the window stays
// for correction, checking stays off and the program stays out of the tray.
void SettingsWindow::stayAfterFailedFirstCheck() {
    os_.ui.messageBox(kFirstCheckFailed, os_.app.title(), platform::MessageIcon::Information);
    const bool saved = ini_.write(keys::kUserInfo, keys::kStartUp, kNotAccepted);
    host_.setChecking(false);
    form_->setVisible(true);
    if (!saved) {
        ShowSettingsNotSaved(os_, ini_);
    }
}

}  // namespace vantorel

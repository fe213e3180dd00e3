// The commands of the tray menu "メニュー" and of the option menu "&OPTION",
// and the main window's closing steps (closeRequested, quit).

#include <exception>
#include <memory>

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "dialogs/AboutWindow.h"
#include "dialogs/SoundSettingsWindow.h"
#include "dialogs/TitleLabelsWindow.h"
#include "dialogs/TokenCommandWindow.h"
#include "platform/Version.h"
#include "settings/SettingsKeys.h"
#include "text/NumberText.h"
#include "tray/TrayIcon.h"

namespace vantorel {

namespace {

// Inverts an option's check mark and writes the new state at once. The
// write's result is not examined: a failed write leaves the option changed
// for this run only.
void ToggleOption(platform::Form& form, SettingsStore& ini, platform::ControlId item,
                  std::string_view key) {
    form.setChecked(item, !form.checked(item));
    ini.write(keys::kOption, key, text::BooleanText(form.checked(item)));
}

// Takes the program's icon out of the tray without showing the window, as
// the program ends. The shell refusing (no icon there) changes nothing.
void RemoveTrayIcon(platform::TrayShell& shell) {
    try {
        shell.remove();
    } catch (const std::exception&) {
        // Ending the program never stops at a tray that cannot be reached.
    }
}

}  // namespace

// ---- tray menu

void App::openSettings() {
    fromTray();
    // The OK of the shown window switches checking on again.
    scheduler_->setEnabled(false);
}

void App::togglePause() {
    form().setChecked(ctl::Pause, !form().checked(ctl::Pause));
    // After a resume the next check comes one full interval later.
    scheduler_->setMinutes(0);
    scheduler_->setEnabled(!form().checked(ctl::Pause));
    trayStatus_.Paused(form().checked(ctl::Pause));
    ShowTrayStatus();
}

void App::showVersion() {
    aboutWindow_.show([this] { return std::make_unique<AboutWindow>(os_, kProductName); });
}

void App::checkNow() {
    CheckMail();
}

void App::exitProgram() {
    // The exit command unloads the main window as its close box does, and
    // ends the program; windows still open go without their own steps.
    closeRequested(platform::CloseReason::CloseBox);
    quit();
    os_.ui.quit();
}

// ---- option menu

void App::openSoundSettings() {
    soundSettingsWindow_.show([this] {
        return std::make_unique<SoundSettingsWindow>(
            os_, ini_,
            [this](bool on, const std::string& path) { display_->soundChosen(on, path); });
    });
}

void App::toggleOnceOnly() {
    form().setChecked(ctl::OnceOnly, !form().checked(ctl::OnceOnly));
    const bool marked = form().checked(ctl::OnceOnly);
    if (!marked) {
        // The next check counts every waiting message as new again.
        mailCheck_.forgetAnnounced();
    }
    ini_.write(keys::kOption, keys::kCheckOnce, text::BooleanText(marked));
}

void App::openTitleLabels() {
    titleLabelsWindow_.show([this] { return std::make_unique<TitleLabelsWindow>(os_, ini_); });
}

void App::toggleRestoreTitles() {
    ToggleOption(form(), ini_, ctl::RestoreTitles, keys::kTitleCallBack);
}

void App::toggleAnnounceZero() {
    ToggleOption(form(), ini_, ctl::AnnounceZero, keys::kZeroCheck);
}

void App::toggleUnderMouse() {
    ToggleOption(form(), ini_, ctl::UnderMouse, keys::kOnMouse);
}

void App::checkServer() {
    CheckMail();
}

void App::toggleShowErrors() {
    // "IGNOREERR" holds the state of "エラーを表示": "True" shows errors.
    ToggleOption(form(), ini_, ctl::ShowErrors, keys::kIgnoreErr);
}

void App::openTokenCommand() {
    tokenCommandWindow_.show([this] { return std::make_unique<TokenCommandWindow>(os_, ini_); });
}

void App::toggleNotifyDesktop() {
    ToggleOption(form(), ini_, ctl::NotifyDesktop, keys::kNotify);
}

// ---- closing the main window

void App::closeRequested(platform::CloseReason /*reason*/) {
    // Closing is never refused. A notice standing in another program's
    // title bar is taken back first when the user asked for restoring, so
    // that ending the program mid-cycle leaves no notice behind.
    if (form().checked(ctl::RestoreTitles)) {
        display_->takeBackNotice();
    }
    display_->closeSound();
}

void App::quit() {
    unloaded_ = true;
    mailCheck_.stop();
    // An unloaded window's timers tick no more: nothing may run on without
    // the tray object.
    scheduler_->setEnabled(false);
    display_->stop();
    // No dead icon may stay in the tray after the program has gone.
    RemoveTrayIcon(os_.tray);
    trayIcon_.reset();
}

}  // namespace vantorel

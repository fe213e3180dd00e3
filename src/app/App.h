#pragma once
// The program's root: the one place that knows every part. It creates the
// basic-settings window (the main window, with its menus), the mail check,
// the check timer, the display cycle and the tray icon,
// routes the platform's events to them, and answers what each asks of the
// program (the menus' options, the boxes) through their host interfaces.
//
//   app/      load step, the basic-settings window (SettingsWindow), event
//             routing, menu commands, tray mode, closing the program
//   mail/     MailCheck (the check) and CheckScheduler (the check timer)
//   notify/   DisplayCycle (target window, notices, flash and sound)
//   tray/     TrayIcon (the icon) and TrayStatus (what it says)

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsWindow.h"
#include "dialogs/SmallWindow.h"
#include "mail/CheckScheduler.h"
#include "mail/MailCheck.h"
#include "notify/DisplayCycle.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"
#include "tray/TrayStatus.h"

namespace vantorel {

class TrayIcon;

class App : public platform::FormEvents,
            private MailCheckHost,
            private CheckSchedulerHost,
            private DisplayCycleHost,
            private SettingsWindowHost {
  public:
    explicit App(platform::Platform& os);
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // ---- start-up (app/App.cpp)
    // The load step: fills the window from the settings file and comes to
    // rest in tray mode or in first-run mode.
    void start();

    // ---- events raised by the window framework (app/AppEvents.cpp)
    void Click(platform::ControlId control) override;
    void CloseRequested(platform::CloseReason reason) override;
    void TrayActivated(platform::TrayAction action) override;
    void MenuOpening(platform::ControlId menu) override;

    // ---- tray (app/TrayMode.cpp)
    void toTray();    // icon added, window hidden
    void fromTray();  // icon removed, window shown
    // Puts the state of the checks and of the pause on the tray icon.
    void ShowTrayStatus();

    // ---- mail check (app/MailCheckSteps.cpp)
    // One mail check, and the announcement of what it found. True when the
    // check succeeded.
    bool CheckMail();

    // ---- menu commands and closing (app/MenuCommands.cpp)
    void openSettings();
    void togglePause();
    void showVersion();
    void checkNow();
    void exitProgram();
    void openSoundSettings();
    void toggleOnceOnly();
    void openTitleLabels();
    void toggleRestoreTitles();
    void toggleAnnounceZero();
    void toggleUnderMouse();
    void checkServer();
    void toggleShowErrors();
    void openTokenCommand();
    void toggleNotifyDesktop();
    void toggleAutostart();
    void closeRequested(platform::CloseReason reason);
    void quit();

    // The mark of "ログイン時に起動する" from the session's autostart entry.
    void ReadAutostartMark();

    // ---- what the small windows and the tests reach
    platform::Platform& os() { return os_; }
    SettingsStore& ini() { return ini_; }
    platform::Form& form() { return settingsWindow_->form(); }
    SettingsWindow& settingsWindow() { return *settingsWindow_; }
    CheckScheduler& scheduler() { return *scheduler_; }
    DisplayCycle& display() { return *display_; }
    TrayIcon* trayIcon() { return trayIcon_.get(); }
    const TrayStatus& trayStatus() const { return trayStatus_; }
    MailCheck& mailCheck() { return mailCheck_; }

  private:
    // An option's check mark as the settings file holds it.
    bool ReadOption(std::string_view key, bool fallback);

    // ---- what the mail check asks and reports (app/MailCheckSteps.cpp)
    bool showErrors() override;
    bool announceZero() override;
    bool onceOnly() override;
    void announcementComing() override;
    void checkSucceeded() override;
    void checkFailed(std::string_view reason) override;
    void resumeChecking() override;
    // Makes what the check found the next announcement.
    void Announce(NewMail news);

    // ---- what the check timer asks and reports (app/MailCheckSteps.cpp)
    std::string intervalText() override;
    bool paused() override;
    bool checkRunning() override;
    void checkDue() override;

    // ---- what the basic-settings OK asks (app/MailCheckSteps.cpp)
    void restartChecking() override;
    void setChecking(bool on) override;
    bool checkNewSettings() override;
    void settingsAccepted() override;

    // ---- what the display cycle asks and reports (app/MailCheckSteps.cpp)
    bool targetUnderMouse() override;
    bool restoreTitles() override;
    bool notifyDesktop() override;
    void holdChecks() override;
    void cycleEnded() override;

    // What the tray icon says about the checks and the pause.
    TrayStatus trayStatus_;
    // The window the coming announcement goes to, chosen during the check.
    Announcement next_;
    // True once the main window has been unloaded: the program is ending,
    // and a check still waiting on the server or on one of its boxes must
    // not touch another window's title after the exit has restored it.
    bool unloaded_ = false;

    platform::Platform& os_;
    SettingsStore ini_;
    MailCheck mailCheck_;
    std::unique_ptr<SettingsWindow> settingsWindow_;
    std::unique_ptr<CheckScheduler> scheduler_;
    std::unique_ptr<DisplayCycle> display_;
    std::unique_ptr<TrayIcon> trayIcon_;

    // The small windows, each open at most once (dialogs/).
    WindowSlot titleLabelsWindow_;
    WindowSlot soundSettingsWindow_;
    WindowSlot aboutWindow_;
    WindowSlot tokenCommandWindow_;
};

}  // namespace vantorel

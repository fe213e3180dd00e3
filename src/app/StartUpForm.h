#pragma once
// The main window: one object for the whole run. It is the basic-settings
// window the user sees, and it owns everything else: the two timers, the
// sound player, the menus, the tray object and the state of the mail check
// and its display.
//
// Its operations live in the folder of the subsystem they belong to:
//   app/      load step, basic-settings OK and CANCEL, event routing
//   mail/     the check timer's tick (the check itself is MailCheck)
//   notify/   target window and title, display cycle, flash and sound
//   app/      StartTask, EndTask, menu commands, closing the program

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/SmallWindow.h"
#include "mail/CheckScheduler.h"
#include "mail/MailCheck.h"
#include "notify/DisplayCycle.h"
#include "platform/Platform.h"
#include "settings/iniBas.h"
#include "tray/TrayStatus.h"

namespace vantorel {

class TaskTray;

class StartUpForm : public platform::FormEvents,
                    private MailCheckHost,
                    private CheckSchedulerHost,
                    private DisplayCycleHost {
  public:
    explicit StartUpForm(platform::Platform& os);
    ~StartUpForm() override;
    StartUpForm(const StartUpForm&) = delete;
    StartUpForm& operator=(const StartUpForm&) = delete;

    // ---- start-up (app/StartUpForm.cpp)
    // The load step: fills the window from the settings file and comes to
    // rest in tray mode or in first-run mode.
    void Form_Load();

    // ---- events raised by the window framework (app/StartUpFormEvents.cpp)
    void Click(platform::ControlId control) override;
    void CloseRequested(platform::CloseReason reason) override;
    void TrayNotify(int mouseCode) override;
    void MouseMove(float xTwips) override;
    void MenuOpening(platform::ControlId menu) override;

    // ---- tray (app/TrayMode.cpp)
    void StartTask();  // icon added, window hidden
    void EndTask();    // icon removed, window shown
    // Puts the state of the checks and of the pause on the tray icon.
    void ShowTrayStatus();

    // ---- mail check (app/MailCheckSteps.cpp)
    // One mail check, and the announcement of what it found. True when the
    // check succeeded.
    bool CheckMail();

    // ---- menu commands and closing (app/MenuCommands.cpp)
    void mnuConfig_Click();
    void mnuTempStop_Click();
    void mnuVersion_Click();
    void mnuNowChk_Click();
    void mnuEnd_Click();
    void mnuO_Music_Click();
    void mnuCHKOnceOnly_Click();
    void mnuTitleConf_Click();
    void mnuTitleBack_Click();
    void mnuZeroCheck_Click();
    void mnuMouse_Click();
    void mnuCheckServer_Click();
    void mnuErrPop_Click();
    void mnuTokenCmd_Click();
    void mnuNotify_Click();
    void mnuAutostart_Click();
    void Form_QueryUnload(platform::CloseReason reason);
    void Form_Unload();

    // The mark of "ログイン時に起動する" from the session's autostart entry.
    void ReadAutostartMark();

    // ---- basic-settings window (app/BasicSettings.cpp)
    void Command1_Click();  // OK
    void Command2_Click();  // CANCEL

    // ---- what the small windows and the tests reach
    platform::Platform& os() { return os_; }
    iniBas& ini() { return ini_; }
    platform::Form& form() { return *form_; }
    CheckScheduler& scheduler() { return *scheduler_; }
    DisplayCycle& display() { return *display_; }
    TaskTray* taskTray() { return clsTaskTray.get(); }
    const TrayStatus& trayStatus() const { return trayStatus_; }
    MailCheck& mailCheck() { return mailCheck_; }

  private:
    // The five boxes of the basic-settings window from the settings file.
    void FillBasicSettings();

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
    iniBas ini_;
    MailCheck mailCheck_;
    std::unique_ptr<platform::Form> form_;
    std::unique_ptr<CheckScheduler> scheduler_;
    std::unique_ptr<DisplayCycle> display_;
    std::unique_ptr<TaskTray> clsTaskTray;

    // The small windows, each open at most once (dialogs/).
    WindowSlot TitleConfWindow;
    WindowSlot MusicWindow;
    WindowSlot AboutWindow;
    WindowSlot TokenCmdWindow;
};

}  // namespace vantorel

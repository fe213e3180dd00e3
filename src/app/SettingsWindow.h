#pragma once
// The basic-settings window: the program's main window with the five boxes
// (server, user, password, check interval, display interval), OK and CANCEL,
// and the two menus whose marks hold the options. It fills the boxes from
// the settings file, and on OK checks, saves and proves what was typed.

#include <memory>

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

// What OK asks of the rest of the program.
class SettingsWindowHost {
  public:
    // The boxes were saved: the count of minutes starts again, and the
    // check timer runs unless checking is paused.
    virtual void restartChecking() = 0;
    // Switches the check timer on or off.
    virtual void setChecking(bool on) = 0;
    // One check with settings never accepted before; true when it succeeded.
    virtual bool checkNewSettings() = 0;
    // The settings are accepted: the display interval is taken, checking
    // goes on and the program goes to the tray.
    virtual void settingsAccepted() = 0;

  protected:
    ~SettingsWindowHost() = default;
};

class SettingsWindow {
  public:
    // Creates the window (hidden); its events go to `events`.
    SettingsWindow(platform::Platform& os, SettingsStore& ini, platform::FormEvents& events,
                   SettingsWindowHost& host);

    // The window itself, for its menus and their marks.
    platform::Form& form() { return *form_; }

    // Puts the stored values into the five boxes.
    void fill();

    // OK: a check interval and a display interval of at least 1, then the
    // boxes saved as typed, then (on a first run) one check; the window
    // stays with what was typed when any step fails.
    void accept();

    // CANCEL: the stored values go back into the boxes.
    void revert() { fill(); }

  private:
    bool acceptInterval(platform::ControlId box);
    bool saveBoxes();
    bool settingsAccepted();
    void stayAfterFailedSave();
    void stayAfterFailedFirstCheck();

    platform::Platform& os_;
    SettingsStore& ini_;
    SettingsWindowHost& host_;
    std::unique_ptr<platform::Form> form_;
};

}  // namespace vantorel

#pragma once
// The display cycle of an announcement: the window the notices go to and
// the title it had, the arrival notice with its flash and sound, one notice
// per tick of the display timer, and the window's own title again.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "notify/Announcement.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

namespace vantorel {

// The display timer's period in milliseconds for a display interval given
// in seconds as text: its leading number times 1000, rounded, within what a
// platform timer can hold (0 for no or a negative number).
std::uint32_t DisplayPeriodMs(std::string_view seconds);

// The program's side of the cycle: the options it reads as it runs, and
// the check timer it holds while it runs.
class DisplayCycleHost {
  public:
    virtual ~DisplayCycleHost() = default;
    // The window under the mouse pointer gets the notices, not the one in front.
    virtual bool targetUnderMouse() = 0;
    // Each window gets its own title back at the end of a cycle.
    virtual bool restoreTitles() = 0;
    // Every announcement shows as a desktop notification too.
    virtual bool notifyDesktop() = 0;
    // No check starts while the announcement runs.
    virtual void holdChecks() = 0;
    // The cycle is over: periodic checking goes on.
    virtual void cycleEnded() = 0;
};

class DisplayCycle {
  public:
    static constexpr std::uint32_t kDisplayTimerDesignPeriodMs = 3000;

    // Creates the display timer.
    DisplayCycle(platform::Platform& os, SettingsStore& ini, DisplayCycleHost& host);

    // Chooses the window for the announcement `next` and keeps its title
    // there; no title is written.
    void chooseTarget(Announcement& next);
    // Makes `next` the running announcement (its labels read from the
    // settings): its arrival notice, flash and sound, and the cycle that
    // shows the rest.
    void show(Announcement next);
    // One tick of the display timer.
    void onTick();

    // The display interval in seconds as text (the settings' "TIMER").
    void setInterval(std::string_view seconds);
    // Stops a running cycle and gives the target its own title back in
    // place of the notice standing there.
    void takeBackNotice();
    void stop() { timer_->setEnabled(false); }
    bool running() { return timer_->enabled() || restorePending_; }

    // The arrival sound: on with the player opened on `path`, or off.
    void openSound(const std::string& path);
    void soundChosen(bool on, const std::string& path);
    void closeSound();
    bool soundOn() const { return soundOn_; }

    // What the cycle shows, and whether the next tick gives the title back.
    const Announcement& current() const { return display_; }
    bool restorePending() const { return restorePending_; }

  private:
    // No value when the window's title could not be read.
    std::optional<std::string> getTitle(platform::WindowHandle window);
    // False when the title could not be written (no window, or refused).
    bool setTitle(std::string_view text);
    // Gives the target its saved title back, if that title was read.
    void restoreTitle();
    void flashTarget();
    void playArrivalSound();
    // Shows the running announcement as a desktop notification.
    void notifyDesktopNow();
    void startCycle();
    void showNextMessage();
    bool allMessagesShown() const;
    void endCycle();

    platform::Platform& os_;
    SettingsStore& ini_;
    DisplayCycleHost& host_;
    std::unique_ptr<platform::Timer> timer_;
    // The latest announcement: what the cycle shows and where.
    Announcement display_;
    bool restorePending_ = false;
    // True while the sound effect is on (program-wide).
    bool soundOn_ = false;
};

}  // namespace vantorel

#pragma once
// The shell's notification area (task tray): the program's one icon there,
// and what the user does to it.

#include <functional>
#include <string>

#include "platform/Handles.h"

namespace vantorel::platform {

// A mark drawn over the program's icon in the tray, so that the state is
// seen without opening anything. The backend draws it; the icon itself
// stays the program's own.
struct TrayMark {
    enum class Kind { None, NewMail, Error, Paused };
    Kind kind = Kind::None;
    int count = 0;  // NewMail: how many messages are new

    bool operator==(const TrayMark&) const = default;
};

// How the icon looks: the owner window's icon with the mark over it, and
// the tooltip.
struct TrayLook {
    IconHandle icon = 0;
    TrayMark mark;
    std::string tip;  // UTF-8
};

// What the user did to the icon. Every other mouse action on it (moving
// over it, single clicks, button releases, the middle button) is no action.
enum class TrayAction {
    DoubleClicked,  // a double-click with the left button
    MenuRequested,  // the right button pressed: the moment to pop the menu up
};

class TrayShell {
  public:
    virtual ~TrayShell() = default;

    // Shows the program's icon. Its actions reach the owner window's form
    // events as FormEvents::TrayActivated. Returns false when the shell
    // refuses: the icon is shown already, or no tray is available; the
    // tray is then unchanged, though a backend may keep an icon refused for
    // want of a tray and show it by itself once a tray appears.
    virtual bool show(WindowHandle owner, const TrayLook& look) = 0;

    // Gives the shown icon a new look. False when there is no icon.
    virtual bool update(const TrayLook& look) = 0;

    // Takes the icon away. False when there is none.
    virtual bool remove() = 0;

    // True when a tray is there to show icons now; asked afresh each time,
    // since at login the panel often starts after the program. The program
    // shows its icon again once a tray appears (refused as a duplicate when
    // the backend has shown it by itself, which is harmless).
    virtual bool available() = 0;

    // `appeared` runs each time a tray becomes available after the shell
    // found none (a panel started late, or started again). One watcher at
    // a time; an empty function stops watching.
    virtual void watchAvailability(std::function<void()> appeared) = 0;
};

}  // namespace vantorel::platform

#pragma once
// The tray-icon object: puts the program into the tray (the icon shown, the
// owner window hidden) and takes it out again, keeps the icon's look in
// step with the program's state, and answers the two things the user can
// do to the icon.

#include <functional>
#include <string>

#include "platform/TrayShell.h"
#include "platform/WindowFramework.h"

namespace vantorel {

class TrayIcon {
  public:
    // `owner` is the window the icon stands for and `menu` the owner's menu
    // that pops up from the icon. `onSeen` runs when the user looks at the
    // program from its icon: a double-click or the menu. Follows the tray's
    // availability for as long as the object lives.
    TrayIcon(platform::TrayShell& shell, platform::Form& owner, platform::ControlId menu,
             std::function<void()> onSeen);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon with `mark` and `tip` and hides the owner window. The
    // shell is asked again at every call, even when the icon is there. While
    // there is no tray at all the owner window stays on the screen, so that
    // the program can still be reached; it goes to the tray once a tray
    // appears.
    void show(const platform::TrayMark& mark, const std::string& tip);

    // Takes the icon away, shows the owner window and hides the tray menu.
    void hide();

    // Shows `mark` over the icon and `tip` as its tooltip: at once when the
    // icon is in the tray, otherwise the next time it is shown. The same
    // state again changes nothing.
    void showStatus(const platform::TrayMark& mark, const std::string& tip);

    // What the user did to the icon.
    void onAction(platform::TrayAction action);

  private:
    // A tray has appeared (a panel started after the program, or started
    // again): the icon, if it should be there, is shown, and a window kept
    // on the screen for want of a tray goes to the tray.
    void trayAppeared();
    void showIcon();
    platform::TrayLook look() const;
    void tellSeen();
    void popUpMenu();
    // Hides the owner window, or keeps it shown while there is no tray.
    void hideOwnerUnlessNoTray(bool shown);

    platform::TrayShell& shell_;
    platform::Form& owner_;
    const platform::ControlId menu_;
    const std::function<void()> onSeen_;
    platform::TrayMark mark_;
    std::string tip_;
    // The program is in the tray: the last call was show(), not hide().
    bool inTray_ = false;
};

}  // namespace vantorel

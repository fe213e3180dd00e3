#pragma once
// The tray-icon object: adds and removes the program's one icon, hides and
// shows the owner window with it, and turns mouse actions on the icon into
// the two things the user can do there.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/TrayShell.h"
#include "platform/WindowFramework.h"

namespace vantorel {

class TrayIcon {
  public:
    static constexpr std::uint32_t kRecordSize = 88;  // the shell's first record layout
    static constexpr std::uint32_t kIconId = 1;       // the program has one icon
    static constexpr std::uint32_t kCallbackMessage = platform::tray_code::kMouseMove;

    // Follows the tray's availability for as long as the object lives.
    TrayIcon(platform::TrayShell& shell, platform::WindowFramework& ui);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The object's fields. Direct access only reads or stores them.
    platform::Form* TrayForm = nullptr;
    platform::ControlId TrayMenu = platform::kNoControl;
    std::string TrayToolTip;
    bool TrayVisible = false;
    platform::TrayMark TrayMarkShown;

    // True adds the icon and hides the owner window; false removes the icon,
    // shows the owner window and hides the tray menu. A failing step is
    // skipped and the next one runs. While there is no tray at all the
    // owner window stays on the screen, so that the program can still be
    // reached; it goes to the tray once a tray appears.
    void SetInTray(bool visible);

    // A tray has appeared (a panel started after the program, or started
    // again): the icon, if it should be there, is added, and a window kept
    // on the screen for want of a tray goes to the tray.
    void TrayAppeared();

    // True while the owner window is on the screen only because there is
    // no tray to put the program in.
    bool KeptForLackOfTray() const { return keptForLackOfTray_; }

    platform::Form* FormName() const { return TrayForm; }
    void FormName(platform::Form* form) { TrayForm = form; }
    platform::ControlId MenuName() const { return TrayMenu; }
    void MenuName(platform::ControlId menu) { TrayMenu = menu; }
    std::string ToolTip() const { return TrayToolTip; }
    // Takes effect the next time the icon is added.
    void ToolTip(const std::string& tip) { TrayToolTip = tip; }
    bool Visible() const { return TrayVisible; }
    // Adds or removes the icon again at every assignment, even to the same value.
    void Visible(bool visible);

    // Shows `mark` over the icon and `tip` as its tooltip: at once when the
    // icon is in the tray, otherwise the next time it is added. The same
    // state again changes nothing.
    void ShowStatus(const platform::TrayMark& mark, const std::string& tip);
    platform::TrayMark Mark() const { return TrayMarkShown; }

    // Runs when the user looks at the program from its icon: a double-click
    // or the menu opened with the right button.
    std::function<void()> OnSeen;

    // A tray notification that arrived as a mouse move over the owner window,
    // its code converted to twips in X.
    void MouseEvent(float X);

    // A tray notification with its mouse message code as the shell sent it.
    void MouseCode(int code);

  private:
    platform::NotifyIconRecord BaseRecord() const;
    // The owner window's icon, or none when it cannot be had.
    platform::IconHandle OwnerIcon() const;
    void TellSeen();

    // Hides the owner window, or keeps it shown while there is no tray.
    void HideOwnerUnlessNoTray(bool added);

    platform::TrayShell& shell_;
    platform::WindowFramework& ui_;
    // The last SetInTray asked for the icon (its window in the tray).
    bool iconWanted_ = false;
    bool keptForLackOfTray_ = false;
};

}  // namespace vantorel

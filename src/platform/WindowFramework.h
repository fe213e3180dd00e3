#pragma once
// The window framework: the program's own windows with their controls and
// menus, timers and message boxes. Events are raised on the one user-
// interface thread, and only for the user's actions: setting a text or a
// check mark from the program raises none.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FormLayout.h"
#include "platform/Handles.h"
#include "platform/TrayShell.h"

namespace vantorel::platform {

// Why a window is asked to close.
enum class CloseReason {
    CloseBox,    // the user closed it from its title bar or system menu
    SessionEnd,  // the user's session is ending
};

// The program's side of a window: what the user did to it.
class FormEvents {
  public:
    virtual ~FormEvents() = default;

    // A button was pressed or a menu item chosen.
    virtual void Click(ControlId control) = 0;

    // A menu of the window's menu bar, or a popped-up menu, is about to open:
    // the moment to bring marks that mirror the system up to date.
    virtual void MenuOpening(ControlId /*menu*/) {}

    // The user changed a check box.
    virtual void CheckBoxClick(ControlId /*control*/) {}

    // The user or the system asks the window to close. The window stays
    // until the program closes it (Form::close), so the program decides.
    virtual void CloseRequested(CloseReason reason) = 0;

    // The user double-clicked the tray icon the window owns, or asked for
    // its menu.
    virtual void TrayActivated(TrayAction /*action*/) {}
};

class Form {
  public:
    // Destroys the window if it is still there, without raising events.
    virtual ~Form() = default;

    // The window's handle, as other programs and the shell see it.
    virtual WindowHandle handle() = 0;

    // The window's icon image, for the tray.
    virtual IconHandle icon() = 0;

    virtual void setVisible(bool visible) = 0;
    virtual bool visible() = 0;

    // Brings the shown window to the front and gives it the focus.
    virtual void bringToFront() = 0;

    // Removes the window from the screen for good; no events follow. Safe to
    // call from inside one of its own events; the object stays usable
    // (every call a no-op) until it is destroyed.
    virtual void close() = 0;

    virtual void setCaption(std::string_view caption) = 0;

    // The control's text (text box content, label or button caption).
    virtual std::string text(ControlId control) = 0;
    virtual void setText(ControlId control, std::string_view text) = 0;

    virtual bool enabled(ControlId control) = 0;
    virtual void setEnabled(ControlId control, bool enabled) = 0;

    // A check box's value or a menu item's check mark.
    virtual bool checked(ControlId control) = 0;
    virtual void setChecked(ControlId control, bool checked) = 0;

    // A hidden top-level menu leaves the menu bar; a hidden control is not drawn.
    virtual void setControlVisible(ControlId control, bool visible) = 0;

    // Gives the control the keyboard focus.
    virtual void setFocus(ControlId control) = 0;

    // Selects the whole text of a text box.
    virtual void selectAll(ControlId control) = 0;

    // Pops the menu up at the mouse pointer, as a context menu that either
    // button can choose from; returns when it has closed, after the Click
    // of a chosen item has run.
    virtual void popupMenu(ControlId menu) = 0;
};

class Timer {
  public:
    virtual ~Timer() = default;

    // The period in milliseconds. A period of 0 gives no ticks.
    virtual void setInterval(std::uint32_t milliseconds) = 0;
    virtual std::uint32_t interval() = 0;

    // Enabling a stopped timer starts a full period; enabling a running one
    // changes nothing.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() = 0;
};

enum class MessageIcon { None, Information };

class WindowFramework {
  public:
    virtual ~WindowFramework() = default;

    // Builds the window described by `layout`, hidden, with the caption and
    // texts of the layout. `events` must outlive the form. Never null.
    virtual std::unique_ptr<Form> createForm(const FormLayout& layout, FormEvents& events) = 0;

    // A stopped timer with period 0 that calls `onTick` at each period while
    // enabled. `name` identifies it in diagnostics ("check timer").
    virtual std::unique_ptr<Timer> createTimer(std::string_view name,
                                               std::function<void()> onTick) = 0;

    // A modal message box with one OK button; returns when it is closed.
    virtual void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) = 0;

    // Ends the program once the current event has returned. Windows still
    // open are closed without their events.
    virtual void quit() = 0;
};

}  // namespace vantorel::platform

#pragma once
// The main window (the basic-settings window) as data: its controls and its
// two menus, with the ids the program uses to reach them.

#include "platform/FormLayout.h"

namespace vantorel::ctl {

// The controls of the main window (the basic-settings window).
enum Control : platform::ControlId {
    SettingsFrame = 1,  // "基本設定"
    ServerLabel,
    ServerBox,
    UserLabel,
    UserBox,
    PasswordLabel,
    PasswordBox,
    IntervalLabel,  // the check interval in minutes
    IntervalBox,
    DisplayIntervalLabel,  // the display interval in seconds
    DisplayIntervalBox,
    OkButton,
    CancelButton,
    CreditLabel,
};

// The main window's two menus and their items; the ids go on after the
// controls' ids.
enum MenuCommand : platform::ControlId {
    // The tray menu "メニュー"
    TrayMenu = CreditLabel + 1,
    OpenSettings,
    Pause,
    ShowVersion,
    TrayMenuSeparator1,
    CheckNow,
    TrayMenuSeparator2,
    Exit,
    // The option menu "&OPTION"
    OptionMenu,
    OpenSoundSettings,
    OnceOnly,
    OpenTitleLabels,
    RestoreTitles,
    AnnounceZero,
    UnderMouse,
    OptionMenuSeparator1,
    CheckServer,
    ShowErrors,
    OptionMenuSeparator2,
    OpenTokenCommand,
    NotifyDesktop,
    Autostart,
};

}  // namespace vantorel::ctl

namespace vantorel {

const platform::FormLayout& SettingsWindowLayout();

}  // namespace vantorel

#pragma once
// The main window (the basic-settings window) as data: its controls and its
// two menus, with the ids the program uses to reach them.

#include "platform/FormLayout.h"

namespace vantorel::ctl {

// Controls and menu items of the main window (the basic-settings window).
enum Main : platform::ControlId {
    SetPopFrame = 1,
    lblTitle0,
    txtHost,
    lblTitle2,
    txtUser,
    lblTitle3,
    txtPass,
    Label1,
    txtInterval,
    Label2,
    txtTimer,
    Command1,
    Command2,
    lblCredit,
    // The tray menu "メニュー"
    mnuTop,
    mnuConfig,
    mnuTempStop,
    mnuVersion,
    none22,
    mnuNowChk,
    mnuNone,
    mnuEnd,
    // The option menu "&OPTION"
    mnuOption,
    mnuO_Music,
    mnuCHKOnceOnly,
    mnuTitleConf,
    mnuTitleBack,
    mnuZeroCheck,
    mnuMouse,
    none,
    mnuCheckServer,
    mnuErrPop,
    none2,
    mnuTokenCmd,
    mnuNotify,
    mnuAutostart,
};

}  // namespace vantorel::ctl

namespace vantorel {

const platform::FormLayout& SettingsWindowLayout();

}  // namespace vantorel

// Routes what the user does to the main window, its menus and its tray icon
// to the operation that handles it.

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "tray/TrayIcon.h"

namespace vantorel {

void App::Click(platform::ControlId control) {
    switch (control) {
        case ctl::Command1:
            accept();
            break;
        case ctl::Command2:
            revert();
            break;
        case ctl::mnuConfig:
            mnuConfig_Click();
            break;
        case ctl::mnuTempStop:
            mnuTempStop_Click();
            break;
        case ctl::mnuVersion:
            mnuVersion_Click();
            break;
        case ctl::mnuNowChk:
            mnuNowChk_Click();
            break;
        case ctl::mnuEnd:
            mnuEnd_Click();
            break;
        case ctl::mnuO_Music:
            mnuO_Music_Click();
            break;
        case ctl::mnuCHKOnceOnly:
            mnuCHKOnceOnly_Click();
            break;
        case ctl::mnuTitleConf:
            mnuTitleConf_Click();
            break;
        case ctl::mnuTitleBack:
            mnuTitleBack_Click();
            break;
        case ctl::mnuZeroCheck:
            mnuZeroCheck_Click();
            break;
        case ctl::mnuMouse:
            mnuMouse_Click();
            break;
        case ctl::mnuCheckServer:
            mnuCheckServer_Click();
            break;
        case ctl::mnuErrPop:
            mnuErrPop_Click();
            break;
        case ctl::mnuTokenCmd:
            mnuTokenCmd_Click();
            break;
        case ctl::mnuNotify:
            mnuNotify_Click();
            break;
        case ctl::mnuAutostart:
            mnuAutostart_Click();
            break;
        default:
            break;
    }
}

void App::CloseRequested(platform::CloseReason reason) {
    // Closing the main window, from its close box or because the session
    // ends, ends the program as the exit command does.
    closeRequested(reason);
    quit();
    os_.ui.quit();
}

void App::TrayNotify(int mouseCode) {
    if (trayIcon_) {
        trayIcon_->MouseCode(mouseCode);
    }
}

void App::MenuOpening(platform::ControlId menu) {
    if (menu == ctl::mnuOption) {
        ReadAutostartMark();
    }
}

void App::MouseMove(float xTwips) {
    if (trayIcon_) {
        trayIcon_->MouseEvent(xTwips);
    }
}

}  // namespace vantorel

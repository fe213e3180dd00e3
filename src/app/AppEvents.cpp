// Routes what the user does to the main window, its menus and its tray icon
// to the operation that handles it.

#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "tray/TrayIcon.h"

namespace vantorel {

void App::Click(platform::ControlId control) {
    switch (control) {
        case ctl::OkButton:
            settingsWindow_->accept();
            break;
        case ctl::CancelButton:
            settingsWindow_->revert();
            break;
        case ctl::OpenSettings:
            openSettings();
            break;
        case ctl::Pause:
            togglePause();
            break;
        case ctl::ShowVersion:
            showVersion();
            break;
        case ctl::CheckNow:
            checkNow();
            break;
        case ctl::Exit:
            exitProgram();
            break;
        case ctl::OpenSoundSettings:
            openSoundSettings();
            break;
        case ctl::OnceOnly:
            toggleOnceOnly();
            break;
        case ctl::OpenTitleLabels:
            openTitleLabels();
            break;
        case ctl::RestoreTitles:
            toggleRestoreTitles();
            break;
        case ctl::AnnounceZero:
            toggleAnnounceZero();
            break;
        case ctl::UnderMouse:
            toggleUnderMouse();
            break;
        case ctl::CheckServer:
            checkServer();
            break;
        case ctl::ShowErrors:
            toggleShowErrors();
            break;
        case ctl::OpenTokenCommand:
            openTokenCommand();
            break;
        case ctl::NotifyDesktop:
            toggleNotifyDesktop();
            break;
        case ctl::Autostart:
            toggleAutostart();
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

void App::TrayActivated(platform::TrayAction action) {
    if (trayIcon_) {
        trayIcon_->onAction(action);
    }
}

void App::MenuOpening(platform::ControlId menu) {
    if (menu == ctl::OptionMenu) {
        ReadAutostartMark();
    }
}

}  // namespace vantorel

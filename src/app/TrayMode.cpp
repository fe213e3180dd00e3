#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "tray/TrayIcon.h"

namespace vantorel {

void App::toTray() {
    TrayIcon& tray = *trayIcon_;
    tray.FormName(&form());
    tray.MenuName(ctl::TrayMenu);
    // The icon comes with the state it stands for (after a double-click
    // and the basic-settings OK, the checks' news is still there).
    tray.ToolTip(trayStatus_.ToolTip());
    tray.TrayMarkShown = trayStatus_.Mark();
    tray.Visible(true);
}

void App::ShowTrayStatus() {
    if (trayIcon_) {
        trayIcon_->ShowStatus(trayStatus_.Mark(), trayStatus_.ToolTip());
    }
}

void App::fromTray() {
    trayIcon_->Visible(false);
}

}  // namespace vantorel

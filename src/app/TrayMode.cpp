#include "app/App.h"
#include "app/SettingsWindowLayout.h"
#include "tray/TrayIcon.h"

namespace vantorel {

void App::toTray() {
    // The icon comes with the state it stands for (after a double-click
    // and the basic-settings OK, the checks' news is still there).
    trayIcon_->show(trayStatus_.Mark(), trayStatus_.ToolTip());
}

void App::ShowTrayStatus() {
    if (trayIcon_) {
        trayIcon_->showStatus(trayStatus_.Mark(), trayStatus_.ToolTip());
    }
}

void App::fromTray() {
    trayIcon_->hide();
}

}  // namespace vantorel

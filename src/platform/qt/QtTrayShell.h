#pragma once
// The notification area on QSystemTrayIcon. A double-click on the icon
// reaches its owner window as TrayAction::DoubleClicked, the context-menu
// request (the right button) as TrayAction::MenuRequested; a single click
// and the middle button are no action. The program pops its menu up
// itself, so the icon has no context menu of its own.
//
// Without a tray the icon is still created and shown once a tray host
// starts; standard error says once that there is none. Qt tells nobody when
// a tray appears, so while the program waits for one its availability is
// asked again now and then; with a tray there, nothing is polled.

#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/TrayShell.h"
#include "platform/qt/TrayMarkIcon.h"

namespace vantorel::qt {

class QtWindowFramework;

class QtTrayShell : public platform::TrayShell {
  public:
    QtTrayShell(QtWindowFramework& ui, platform::Diagnostics& diagnostics);
    // Removes the icon if it is still shown, so that none is left behind at exit.
    ~QtTrayShell() override;
    QtTrayShell(const QtTrayShell&) = delete;
    QtTrayShell& operator=(const QtTrayShell&) = delete;

    bool show(platform::WindowHandle owner, const platform::TrayLook& look) override;
    bool update(const platform::TrayLook& look) override;
    bool remove() override;
    bool available() override;
    void watchAvailability(std::function<void()> appeared) override;

    // What a mouse action on the icon reports; public for the tests, which
    // cannot click a real tray.
    void activated(QSystemTrayIcon::ActivationReason reason);
    // The icon, or nullptr; for the tests.
    QSystemTrayIcon* icon() const { return icon_.get(); }

  private:
    void setLook(QSystemTrayIcon& icon, const platform::TrayLook& look);
    void deliver(platform::TrayAction action);
    // A right press, unless it is the second report of one whose menu has
    // just closed, or comes while that menu is open.
    void menuRequested();
    // Hands the icons removed during a mouse action on an icon over for
    // deletion, once no such action runs any more.
    void releaseRemoved();
    // One look at the tray while waiting for it.
    void poll();

    QtWindowFramework& ui_;
    platform::Diagnostics& diagnostics_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    platform::WindowHandle owner_ = 0;
    bool waitsForTray_ = false;  // shown while there was no tray
    MarkedIcons markedIcons_;
    // Mouse actions on an icon under way (the menu of one can hold a box
    // whose own event loop runs further events).
    int activations_ = 0;
    // Icons removed while a mouse action on an icon was under way: the
    // icon's widget is still on the stack below them.
    std::vector<std::unique_ptr<QSystemTrayIcon>> removedDuringActivation_;
    bool toldNoTray_ = false;
    bool menuOpen_ = false;
    QElapsedTimer sinceMenuClosed_;
    std::function<void()> appeared_;
    QTimer poll_;
};

}  // namespace vantorel::qt

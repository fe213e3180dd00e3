#pragma once
// The notification area on QSystemTrayIcon. Mouse actions on an icon go to
// its owner window as the shell's mouse codes: a double-click as
// tray_code::kLeftDoubleClick, a right-button press as
// tray_code::kRightButtonDown; a single click is not reported. The program
// pops its menu up itself, so the icon has no context menu of its own.
//
// Without a tray the icon is still created and shown once a tray host
// starts; standard error says once that there is none. Qt tells nobody when
// a tray appears, so while the program waits for one its availability is
// asked again now and then; with a tray there, nothing is polled.

#include <QElapsedTimer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/TrayShell.h"
#include "platform/qt/TrayMarkIcon.h"

namespace vantorel::qt {

class QtWindowFramework;

class QtTrayShell : public platform::TrayShell {
  public:
    QtTrayShell(QtWindowFramework& ui, platform::Diagnostics& diagnostics);
    // Removes every icon still shown, so none is left behind at exit.
    ~QtTrayShell() override;
    QtTrayShell(const QtTrayShell&) = delete;
    QtTrayShell& operator=(const QtTrayShell&) = delete;

    bool notifyIcon(platform::NotifyIconMessage message,
                    const platform::NotifyIconRecord& record) override;
    bool available() override;
    void watchAvailability(std::function<void()> appeared) override;

    // What a mouse action on the icon of (window, id) reports; public for
    // the tests, which cannot click a real tray.
    void activated(platform::WindowHandle window, std::uint32_t id,
                   QSystemTrayIcon::ActivationReason reason);
    // The icon of (window, id), or nullptr; for the tests.
    QSystemTrayIcon* icon(platform::WindowHandle window, std::uint32_t id) const;

  private:
    struct Icon {
        std::unique_ptr<QSystemTrayIcon> icon;
        bool callbacks = false;
        bool waitsForTray = false;  // added while there was no tray
    };
    using Key = std::pair<platform::WindowHandle, std::uint32_t>;

    bool add(const platform::NotifyIconRecord& record);
    bool modify(const platform::NotifyIconRecord& record);
    bool remove(const platform::NotifyIconRecord& record);
    // The icon and tooltip of `record`, as far as its flags name them.
    void apply(QSystemTrayIcon& icon, const platform::NotifyIconRecord& record);
    void deliver(platform::WindowHandle window, int mouseCode);
    // Hands the icons removed during a mouse action on an icon over for
    // deletion, once no such action runs any more.
    void releaseRemoved();
    // One look at the tray while waiting for it.
    void poll();

    QtWindowFramework& ui_;
    platform::Diagnostics& diagnostics_;
    std::map<Key, Icon> icons_;
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

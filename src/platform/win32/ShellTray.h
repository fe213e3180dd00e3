#pragma once
// The notification-area icon through Shell_NotifyIconW. The icon shown is
// remembered: it is added again when the taskbar comes back (Explorer
// restarted) and removed when the program ends, so that no dead icon stays.
// An icon the shell refuses because it is not ready yet (at login the
// program often starts before the taskbar) is tried again on a short timer
// and when the taskbar announces itself, for as long as it takes. Mouse
// actions on the icon reach the owner window as kTrayCallbackMessage.

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/TrayShell.h"

namespace vantorel::win32 {

class ShellTray : public platform::TrayShell {
  public:
    // The system's Shell_NotifyIconW, or a stand-in with its shape.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
    static constexpr UINT kRetryMs = 2000;
    static constexpr UINT kIconId = 1;  // the program has one icon

    ShellTray();
    ShellTray(NotifyFunction notify, UINT retryMs);
    ~ShellTray() override;
    ShellTray(const ShellTray&) = delete;
    ShellTray& operator=(const ShellTray&) = delete;

    // One owner window at a time: an icon for another window while one is
    // remembered is refused.
    bool show(platform::WindowHandle owner, const platform::TrayLook& look) override;
    bool update(const platform::TrayLook& look) override;
    bool remove() override;
    // False while the icon waits for the shell to take it.
    bool available() override;
    void watchAvailability(std::function<void()> appeared) override;

    // Adds the remembered icon again (the taskbar was created anew).
    void addAgain();
    // Tries the icon again if the shell has not taken it yet.
    void retry();

    // The record that gives the icon of `owner` its look (icon and tip), at
    // the wide record's size.
    static NOTIFYICONDATAW LookRecord(HWND owner, const platform::TrayLook& look);
    // The look's record with the private callback message: the one that
    // adds the icon.
    static NOTIFYICONDATAW AddRecord(HWND owner, const platform::TrayLook& look);

    // The record that shows a balloon (Windows 10 and 11 show it as a
    // notification) from the icon (window, id): title and text cut to their
    // fields, never inside a surrogate pair.
    static NOTIFYICONDATAW BalloonRecord(HWND window, UINT id, const std::string& title,
                                         const std::string& text);

    // Shows a balloon from the program's icon. False when no icon of ours
    // is in the tray or the shell refuses.
    bool balloon(const std::string& title, const std::string& text);

  private:
    static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    struct Icon {
        NOTIFYICONDATAW data;
        bool shown = false;  // the shell took it
    };

    // The record with the icon of its mark: an icon made for the mark and
    // kept until the next change.
    NOTIFYICONDATAW markedRecord(NOTIFYICONDATAW data, const platform::TrayMark& mark);
    void dropMarkedIcon();

    // Adds the icon, or finds it already in the shell; true when shown.
    bool offer(Icon& icon);
    // Keeps the retry timer running while the icon waits, and says that the
    // tray is there once it does not.
    void afterAttempt();

    NotifyFunction notify_;
    UINT retryMs_;
    std::optional<Icon> icon_;
    // The icon made for the mark; destroyed once the shell shows another.
    HICON markedIcon_ = nullptr;
    std::function<void()> appeared_;
    bool retrying_ = false;
    UINT taskbarCreated_ = 0;
    HWND listener_ = nullptr;
};

}  // namespace vantorel::win32

#pragma once
// The notification-area icon through Shell_NotifyIconW. The icons added are
// remembered: they are added again when the taskbar comes back (Explorer
// restarted) and removed when the program ends, so that no dead icon stays.
// An icon the shell refuses because it is not ready yet (at login the
// program often starts before the taskbar) is tried again on a short timer
// and when the taskbar announces itself, for as long as it takes.

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/TrayShell.h"

namespace vantorel::win32 {

class ShellTray : public platform::TrayShell {
  public:
    // The system's Shell_NotifyIconW, or a stand-in with its shape.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
    static constexpr UINT kRetryMs = 2000;

    ShellTray();
    ShellTray(NotifyFunction notify, UINT retryMs);
    ~ShellTray() override;
    ShellTray(const ShellTray&) = delete;
    ShellTray& operator=(const ShellTray&) = delete;

    bool notifyIcon(platform::NotifyIconMessage message,
                    const platform::NotifyIconRecord& record) override;
    // False while an icon waits for the shell to take it.
    bool available() override;
    void watchAvailability(std::function<void()> appeared) override;

    // Adds every remembered icon again (the taskbar was created anew).
    void addAgain();
    // Tries the icons that the shell has not taken yet again.
    void retry();

    // The wide record for the program's record, at the wide record's size.
    static NOTIFYICONDATAW WideRecord(const platform::NotifyIconRecord& record);

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
    using Key = std::pair<HWND, UINT>;

    // The record with the icon of its mark: an icon made for the mark and
    // kept for the key until the next change.
    NOTIFYICONDATAW markedRecord(const platform::NotifyIconRecord& record);
    bool modify(const platform::NotifyIconRecord& record);
    void dropMarkedIcon(const Key& key);

    // Adds the icon, or finds it already in the shell; true when shown.
    bool show(Icon& icon);
    // Keeps the retry timer running while an icon waits, and says that the
    // tray is there once none does.
    void afterAttempt();

    NotifyFunction notify_;
    UINT retryMs_;
    std::map<Key, Icon> icons_;
    // Icons made for a mark, by key; destroyed once the shell shows another.
    std::map<Key, HICON> markedIcons_;
    std::function<void()> appeared_;
    bool retrying_ = false;
    UINT taskbarCreated_ = 0;
    HWND listener_ = nullptr;
};

}  // namespace vantorel::win32

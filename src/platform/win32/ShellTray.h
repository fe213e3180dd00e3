#pragma once
// The notification-area icon through Shell_NotifyIconW. The icons added are
// remembered: they are added again when the taskbar comes back (Explorer
// restarted) and removed when the program ends, so that no dead icon stays.

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <map>
#include <utility>

#include "platform/TrayShell.h"

namespace vantorel::win32 {

class ShellTray : public platform::TrayShell {
  public:
    ShellTray();
    ~ShellTray() override;
    ShellTray(const ShellTray&) = delete;
    ShellTray& operator=(const ShellTray&) = delete;

    bool notifyIcon(platform::NotifyIconMessage message,
                    const platform::NotifyIconRecord& record) override;

    // Adds every remembered icon again (the taskbar was created anew).
    void addAgain();

    // The wide record for the program's record, at the wide record's size.
    static NOTIFYICONDATAW WideRecord(const platform::NotifyIconRecord& record);

  private:
    static LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    using Key = std::pair<HWND, UINT>;
    std::map<Key, NOTIFYICONDATAW> icons_;
    UINT taskbarCreated_ = 0;
    HWND listener_ = nullptr;
};

}  // namespace vantorel::win32

#pragma once
// The shell's notification area (task tray).

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Handles.h"

namespace vantorel::platform {

// A mark drawn over the program's icon in the tray, so that the state is
// seen without opening anything. The backend draws it; the icon itself
// stays the program's own.
struct TrayMark {
    enum class Kind { None, NewMail, Error, Paused };
    Kind kind = Kind::None;
    int count = 0;  // NewMail: how many messages are new

    bool operator==(const TrayMark&) const = default;
};

// What the tray object tells the shell about its icon: the fields of the
// shell's notify-icon record, in text form. A backend translates it into its
// own record.
struct NotifyIconRecord {
    static constexpr std::uint32_t kFlagMessage = 1;  // callbackMessage is valid
    static constexpr std::uint32_t kFlagIcon = 2;     // icon is valid
    static constexpr std::uint32_t kFlagTip = 4;      // tip is valid

    std::uint32_t size = 0;   // the record's size as the shell's first layout had it
    WindowHandle window = 0;  // the owner window that receives the callbacks
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    IconHandle icon = 0;
    TrayMark mark;    // drawn over `icon`; valid with kFlagIcon
    std::string tip;  // UTF-8, without the terminating NUL
};

enum class NotifyIconMessage { Add = 0, Modify = 1, Delete = 2 };

// Mouse message codes of the shell's tray callback, as FormEvents::TrayNotify
// passes them on.
namespace tray_code {
inline constexpr int kMouseMove = 0x200;
inline constexpr int kLeftDoubleClick = 0x203;
inline constexpr int kRightButtonDown = 0x204;
}  // namespace tray_code

class TrayShell {
  public:
    virtual ~TrayShell() = default;

    // Adds, changes or deletes the icon described by `record` (a change
    // takes the fields its flags name). Returns false when the shell
    // refuses (an icon added twice, one changed or deleted that is not
    // there, or no tray available); the tray is then unchanged.
    //
    // Mouse actions on an added icon reach the owner window's form events as
    // FormEvents::TrayNotify with the mouse message code (one of tray_code).
    virtual bool notifyIcon(NotifyIconMessage message, const NotifyIconRecord& record) = 0;

    // True when a tray is there to show icons now; asked afresh each time,
    // since at login the panel often starts after the program. The program
    // adds its icon again once a tray appears; a backend may also show an
    // icon refused for want of a tray by itself then (adding it again is
    // then refused as a duplicate, which is harmless).
    virtual bool available() = 0;

    // `appeared` runs each time a tray becomes available after the shell
    // found none (a panel started late, or started again). One watcher at
    // a time; an empty function stops watching.
    virtual void watchAvailability(std::function<void()> appeared) = 0;
};

}  // namespace vantorel::platform

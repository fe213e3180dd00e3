#pragma once
// The tray menu must hold the foreground, or it would not close when the
// user clicks elsewhere; it takes it from the window the user works in, or
// from the taskbar whose icon was clicked. The foreground goes back before
// the chosen command runs, so that "今すぐチェック" announces into the
// user's window rather than into the program's own hidden one.

#include <windows.h>

namespace vantorel::win32 {

class BorrowedForeground {
  public:
    // Remembers who is in front and brings `borrower` to the front.
    explicit BorrowedForeground(HWND borrower);
    // Gives the foreground back. A menu closed without a choice gives it
    // back only if the borrower still holds it: the user may have closed
    // the menu by clicking the window he wants in front.
    void giveBack(bool itemChosen) const;

  private:
    HWND borrower_;
    HWND owner_;
};

// The window the user worked in: `front` itself, or when `front` is the
// taskbar (its icon was clicked), the first ordinary window below it.
// nullptr when there is none other than `except`.
HWND UserWindowBehind(HWND front, HWND except);

}  // namespace vantorel::win32

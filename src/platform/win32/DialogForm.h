#pragma once
// One of the program's windows: a modeless dialog built from the resource
// template that the build generated from the window's layout, with its
// controls placed at their exact positions, its tooltips, icon and menus.

#include <windows.h>

#include "platform/WindowFramework.h"
#include "platform/win32/DialogMenus.h"

namespace vantorel::win32 {

class Win32Ui;

class DialogForm : public platform::Form {
  public:
    DialogForm(Win32Ui& ui, const platform::FormLayout& layout, platform::FormEvents& events);
    ~DialogForm() override;
    DialogForm(const DialogForm&) = delete;
    DialogForm& operator=(const DialogForm&) = delete;

    platform::WindowHandle handle() override;
    platform::IconHandle icon() override;
    void setVisible(bool visible) override;
    bool visible() override;
    void bringToFront() override;
    void close() override;
    void setCaption(std::string_view caption) override;
    std::string text(platform::ControlId control) override;
    void setText(platform::ControlId control, std::string_view text) override;
    bool enabled(platform::ControlId control) override;
    void setEnabled(platform::ControlId control, bool enabled) override;
    bool checked(platform::ControlId control) override;
    void setChecked(platform::ControlId control, bool checked) override;
    void setControlVisible(platform::ControlId control, bool visible) override;
    void setFocus(platform::ControlId control) override;
    void selectAll(platform::ControlId control) override;
    void popupMenu(platform::ControlId menu) override;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // True when the message was handled. After an event has been raised
    // the form may be gone: the handlers return at once.
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool command(WPARAM wParam);
    void initialise();
    void placeControls();
    void addToolTips();
    void setIcons();
    HWND item(platform::ControlId control) const;
    const platform::ControlLayout* find(platform::ControlId control) const;
    void forget();

    Win32Ui& ui_;
    const platform::FormLayout layout_;
    platform::FormEvents& events_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    HICON smallIcon_ = nullptr;
    HICON bigIcon_ = nullptr;
    DialogMenus menus_;
};

}  // namespace vantorel::win32

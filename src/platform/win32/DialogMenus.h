#pragma once
// The menus of a dialog window: the menu bar that the dialog template
// names, with every entry of the layout found in it, so that entries can be
// checked, greyed, renamed and taken out of their menu and put back.
// Win32 menus have no hidden entries: a hidden entry is removed from its
// menu (a hidden submenu keeps its items) and put back in layout order.

#include <windows.h>

#include <map>
#include <string>

#include "platform/FormLayout.h"

namespace vantorel::win32 {

class DialogMenus {
  public:
    DialogMenus() = default;
    ~DialogMenus();
    DialogMenus(const DialogMenus&) = delete;
    DialogMenus& operator=(const DialogMenus&) = delete;

    // Finds the layout's menu entries in the window's menu bar.
    void attach(HWND window, const platform::FormLayout& layout);

    bool has(platform::ControlId id) const { return entries_.count(id) != 0; }
    // The submenu of a menu entry; nullptr for anything else.
    HMENU submenu(platform::ControlId id) const;
    // The menu entry whose submenu is `menu`; kNoControl when none is.
    platform::ControlId menuWithSubmenu(HMENU menu) const;

    std::string text(platform::ControlId id) const;
    void setText(platform::ControlId id, const std::string& text);
    bool checked(platform::ControlId id) const;
    void setChecked(platform::ControlId id, bool checked);
    bool enabled(platform::ControlId id) const;
    void setEnabled(platform::ControlId id, bool enabled);
    bool visible(platform::ControlId id) const;
    void setVisible(platform::ControlId id, bool visible);

  private:
    struct Entry {
        platform::ControlKind kind = platform::ControlKind::MenuItem;
        platform::ControlId parent = platform::kNoControl;
        HMENU submenu = nullptr;
        std::wstring caption;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
    };

    void collect(HMENU menu, platform::ControlId parent);
    HMENU menuOf(platform::ControlId parent) const;
    // Puts the visible entries of `parent` back into its menu, in layout order.
    void rebuild(platform::ControlId parent);

    HWND window_ = nullptr;
    HMENU bar_ = nullptr;
    const platform::FormLayout* layout_ = nullptr;
    std::map<platform::ControlId, Entry> entries_;
};

}  // namespace vantorel::win32

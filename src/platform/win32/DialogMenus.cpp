#include "platform/win32/DialogMenus.h"

#include "platform/win32/WideText.h"
#include "platform/win32/rcgen/LayoutGeometry.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32 {

using platform::ControlKind;

DialogMenus::~DialogMenus() {
    // A submenu taken out of its menu is no longer destroyed with the
    // window: destroy it here.
    for (auto& [id, entry] : entries_) {
        if (entry.kind == ControlKind::Menu && !entry.visible && entry.submenu != nullptr) {
            DestroyMenu(entry.submenu);
        }
    }
}

void DialogMenus::attach(HWND window, const platform::FormLayout& layout) {
    window_ = window;
    layout_ = &layout;
    bar_ = GetMenu(window);
    if (bar_ != nullptr) {
        collect(bar_, platform::kNoControl);
    }
}

void DialogMenus::collect(HMENU menu, platform::ControlId parent) {
    int position = 0;
    for (const auto& control : layout_->controls) {
        if (control.parent != parent || !IsMenuEntry(control.kind)) {
            continue;
        }
        Entry entry;
        entry.kind = control.kind;
        entry.parent = parent;
        entry.caption = Widen(control.caption);
        if (control.kind == ControlKind::Menu) {
            entry.submenu = GetSubMenu(menu, position);
        }
        entries_[control.id] = entry;
        if (entry.submenu != nullptr) {
            collect(entry.submenu, control.id);
        }
        ++position;
    }
}

HMENU DialogMenus::submenu(platform::ControlId id) const {
    const auto found = entries_.find(id);
    return found == entries_.end() ? nullptr : found->second.submenu;
}

platform::ControlId DialogMenus::menuWithSubmenu(HMENU menu) const {
    for (const auto& [id, entry] : entries_) {
        if (entry.kind == ControlKind::Menu && entry.submenu == menu && menu != nullptr) {
            return id;
        }
    }
    return platform::kNoControl;
}

HMENU DialogMenus::menuOf(platform::ControlId parent) const {
    return parent == platform::kNoControl ? bar_ : submenu(parent);
}

void DialogMenus::rebuild(platform::ControlId parent) {
    HMENU menu = menuOf(parent);
    if (menu == nullptr) {
        return;
    }
    // RemoveMenu keeps the submenus it takes out.
    while (GetMenuItemCount(menu) > 0) {
        RemoveMenu(menu, 0, MF_BYPOSITION);
    }
    for (const auto& control : layout_->controls) {
        const auto found = entries_.find(control.id);
        if (control.parent != parent || found == entries_.end() || !found->second.visible) {
            continue;
        }
        const Entry& entry = found->second;
        const UINT state =
            (entry.enabled ? MF_ENABLED : MF_GRAYED) | (entry.checked ? MF_CHECKED : MF_UNCHECKED);
        if (entry.kind == ControlKind::Separator) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (entry.kind == ControlKind::Menu) {
            AppendMenuW(menu, MF_POPUP | MF_STRING | state,
                        reinterpret_cast<UINT_PTR>(entry.submenu), entry.caption.c_str());
        } else {
            AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(res::ResourceId(control.id)),
                        entry.caption.c_str());
        }
    }
    if (menu == bar_) {
        DrawMenuBar(window_);
    }
}

std::string DialogMenus::text(platform::ControlId id) const {
    const auto found = entries_.find(id);
    return found == entries_.end() ? std::string() : Narrow(found->second.caption);
}

void DialogMenus::setText(platform::ControlId id, const std::string& text) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    found->second.caption = Widen(text);
    rebuild(found->second.parent);
}

bool DialogMenus::checked(platform::ControlId id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() && found->second.checked;
}

void DialogMenus::setChecked(platform::ControlId id, bool checked) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    found->second.checked = checked;
    HMENU menu = menuOf(found->second.parent);
    if (menu != nullptr && found->second.kind == ControlKind::MenuItem) {
        CheckMenuItem(menu, static_cast<UINT>(res::ResourceId(id)),
                      MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

bool DialogMenus::enabled(platform::ControlId id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() && found->second.enabled;
}

void DialogMenus::setEnabled(platform::ControlId id, bool enabled) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    found->second.enabled = enabled;
    rebuild(found->second.parent);
}

bool DialogMenus::visible(platform::ControlId id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() && found->second.visible;
}

void DialogMenus::setVisible(platform::ControlId id, bool visible) {
    const auto found = entries_.find(id);
    if (found == entries_.end() || found->second.visible == visible) {
        return;
    }
    found->second.visible = visible;
    rebuild(found->second.parent);
}

}  // namespace vantorel::win32

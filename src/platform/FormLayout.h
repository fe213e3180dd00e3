#pragma once
// A window described as data: its controls and menus, with positions in
// twips (1/1440 inch; 15 twips make a pixel at 96 dpi). Both backends build
// their real windows from these records, so every platform shows the same
// window.

#include <string>
#include <vector>

namespace vantorel::platform {

// Twips: 1440 make an inch, so 15 make a pixel at the standard 96 dpi.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;
inline constexpr int kTwipsPerPixelAtStandardDpi = kTwipsPerInch / kStandardDpi;

using ControlId = int;
constexpr ControlId kNoControl = 0;
constexpr int kNoTabStop = -1;

enum class ControlKind {
    Frame,  // a captioned group box; controls name it as their parent
    Label,
    TextBox,
    Button,
    CheckBox,
    Picture,    // shows the program's icon
    Menu,       // a top-level menu of the menu bar, or a submenu
    MenuItem,   // an item of the menu named as its parent
    Separator,  // a separator line of the menu named as its parent
};

struct ControlLayout {
    ControlId id = kNoControl;
    std::string name;  // the control's name in the program ("ServerBox")
    ControlKind kind = ControlKind::Label;
    std::string caption;  // caption, initial text; "&" marks an access key
    int left = 0;         // twips, relative to the parent's client area
    int top = 0;
    int width = 0;
    int height = 0;
    int tabIndex = kNoTabStop;
    std::string toolTip;
    ControlId parent = kNoControl;  // frame or menu that holds it
    bool password = false;          // text box shows every character as "*"
    bool defaultButton = false;     // Enter presses it
    bool cancelButton = false;      // Escape presses it
    bool checkable = false;         // menu item that carries a check mark
};

struct FormLayout {
    std::string name;     // "SettingsWindow", "SoundSettingsWindow", ...
    std::string caption;  // the initial window caption
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::vector<ControlLayout> controls;  // in creation order; menus in menu order
    // A small window of the main window: it opens centred over it, has no
    // task bar button of its own, and Escape closes it as its close box
    // does (unless a cancel button takes Escape).
    bool ownedWindow = false;

    const ControlLayout* find(ControlId id) const {
        for (const auto& control : controls) {
            if (control.id == id) {
                return &control;
            }
        }
        return nullptr;
    }
};

}  // namespace vantorel::platform

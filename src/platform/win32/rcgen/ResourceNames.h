#pragma once
// How the resource script names what the layouts describe. Shared by the
// generator, which writes the script at build time, and the backend, which
// finds the windows and menus in the executable by these names.

#include <string>

#include "platform/FormLayout.h"

namespace vantorel::win32::res {

// Control and menu item ids in the executable are the layout's ids moved
// up by this much, clear of the ids the dialog manager sends for Enter and
// Escape (IDOK 1, IDCANCEL 2) and of the static id -1.
constexpr int kControlIdBase = 1000;

constexpr int ResourceId(platform::ControlId control) {
    return kControlIdBase + control;
}
constexpr platform::ControlId LayoutId(int resourceId) {
    return resourceId - kControlIdBase;
}

// The program's icon (16x16 and 32x32 images); id 1 is also the icon that
// Explorer shows for the executable.
constexpr int kProgramIconId = 1;

// The dialog font: the Japanese UI font at 9 points, Shift-JIS charset.
constexpr int kDialogFontPoints = 9;
constexpr const char* kDialogFontName = "MS UI Gothic";
constexpr int kShiftJisCharset = 128;

// Twips to dialog units: 15 twips make a pixel at 96 dpi, and the dialog
// font above gives 6 x 12 pixel base units there (a dialog unit is a
// quarter of the base width and an eighth of the base height). The backend
// places every control at its exact pixel position once the window exists;
// the script's units are what a resource editor shows.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 12;
constexpr int kDluPerBaseX = 4;
constexpr int kDluPerBaseY = 8;

// The resource names of a form's dialog and of its menu.
inline std::string DialogName(const platform::FormLayout& layout) {
    std::string name;
    for (char c : layout.name) {
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}
inline std::string MenuName(const platform::FormLayout& layout) {
    return DialogName(layout) + "_MENU";
}

}  // namespace vantorel::win32::res

#pragma once
// Where a control of a layout lies in its window's client area, in twips.
// Controls inside a frame are placed relative to the frame.

#include "platform/FormLayout.h"

namespace vantorel::win32 {

struct TwipsBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline TwipsBox ClientBox(const platform::FormLayout& layout,
                          const platform::ControlLayout& control) {
    TwipsBox box{control.left, control.top, control.width, control.height};
    for (const platform::ControlLayout* parent = layout.find(control.parent);
         parent != nullptr && parent->kind == platform::ControlKind::Frame;
         parent = layout.find(parent->parent)) {
        box.left += parent->left;
        box.top += parent->top;
    }
    return box;
}

inline bool IsMenuEntry(platform::ControlKind kind) {
    return kind == platform::ControlKind::Menu || kind == platform::ControlKind::MenuItem ||
           kind == platform::ControlKind::Separator;
}

}  // namespace vantorel::win32

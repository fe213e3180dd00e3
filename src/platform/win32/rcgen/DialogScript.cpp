#include "platform/win32/rcgen/DialogScript.h"

#include <algorithm>
#include <climits>
#include <sstream>

#include "platform/win32/rcgen/LayoutGeometry.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32::rcgen {

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::FormLayout;

int RoundedDiv(long long value, long long divisor) {
    return static_cast<int>((value >= 0 ? value + divisor / 2 : value - divisor / 2) / divisor);
}

std::string Geometry(const FormLayout& layout, const ControlLayout& control) {
    const TwipsBox box = ClientBox(layout, control);
    std::ostringstream out;
    out << DluX(box.left) << ", " << DluY(box.top) << ", " << DluX(box.width) << ", "
        << DluY(box.height);
    return out.str();
}

bool TakesTabStop(const ControlLayout& control) {
    return control.tabIndex != platform::kNoTabStop &&
           (control.kind == ControlKind::TextBox || control.kind == ControlKind::Button ||
            control.kind == ControlKind::CheckBox);
}

std::string ControlLine(const FormLayout& layout, const ControlLayout& control) {
    const int id = res::ResourceId(control.id);
    const std::string where = Geometry(layout, control);
    const std::string tab = TakesTabStop(control) ? " | WS_TABSTOP" : "";
    std::ostringstream line;
    switch (control.kind) {
        case ControlKind::Frame:
            line << "GROUPBOX " << Quoted(control.caption) << ", " << id << ", " << where;
            break;
        case ControlKind::Label:
            line << "LTEXT " << Quoted(control.caption) << ", " << id << ", " << where;
            break;
        case ControlKind::TextBox:
            line << "EDITTEXT " << id << ", " << where << ", ES_AUTOHSCROLL"
                 << (control.password ? " | ES_PASSWORD" : "") << tab << ", WS_EX_CLIENTEDGE";
            break;
        case ControlKind::Button:
            line << (control.defaultButton ? "DEFPUSHBUTTON " : "PUSHBUTTON ")
                 << Quoted(control.caption) << ", " << id << ", " << where << ", BS_CENTER"
                 << (control.defaultButton ? " | BS_DEFPUSHBUTTON" : " | BS_PUSHBUTTON") << tab;
            break;
        case ControlKind::CheckBox:
            line << "AUTOCHECKBOX " << Quoted(control.caption) << ", " << id << ", " << where
                 << ", BS_AUTOCHECKBOX" << tab;
            break;
        case ControlKind::Picture:
            line << "ICON " << res::kProgramIconId << ", " << id << ", " << where
                 << ", SS_ICON | SS_REALSIZEIMAGE";
            break;
        default:
            return {};
    }
    return line.str();
}

void MenuEntries(const FormLayout& layout, platform::ControlId parent, int depth,
                 std::ostringstream& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    out << indent << "BEGIN\n";
    for (const ControlLayout& entry : layout.controls) {
        if (entry.parent != parent || !IsMenuEntry(entry.kind)) {
            continue;
        }
        if (entry.kind == ControlKind::Separator) {
            out << indent << "    MENUITEM SEPARATOR\n";
        } else if (entry.kind == ControlKind::Menu) {
            out << indent << "    POPUP " << Quoted(entry.caption) << "\n";
            MenuEntries(layout, entry.id, depth + 1, out);
        } else {
            out << indent << "    MENUITEM " << Quoted(entry.caption) << ", "
                << res::ResourceId(entry.id) << "\n";
        }
    }
    out << indent << "END\n";
}

bool HasMenu(const FormLayout& layout) {
    return std::any_of(layout.controls.begin(), layout.controls.end(), [](const auto& control) {
        return control.kind == ControlKind::Menu && control.parent == platform::kNoControl;
    });
}

}  // namespace

int DluX(int twips) {
    return RoundedDiv(
        static_cast<long long>(twips) * res::kDluPerBaseX,
        static_cast<long long>(platform::kTwipsPerPixelAtStandardDpi) * res::kBaseUnitX);
}

int DluY(int twips) {
    return RoundedDiv(
        static_cast<long long>(twips) * res::kDluPerBaseY,
        static_cast<long long>(platform::kTwipsPerPixelAtStandardDpi) * res::kBaseUnitY);
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += "\"\"";
        } else if (c == '\\') {
            quoted += "\\\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::vector<const ControlLayout*> TemplateOrder(const FormLayout& layout) {
    std::vector<const ControlLayout*> windows;
    for (const ControlLayout& control : layout.controls) {
        if (!IsMenuEntry(control.kind)) {
            windows.push_back(&control);
        }
    }
    // A control without a tab stop sorts with the next one that has one.
    std::vector<int> keys(windows.size(), INT_MAX);
    int next = INT_MAX;
    for (std::size_t i = windows.size(); i-- > 0;) {
        if (windows[i]->tabIndex != platform::kNoTabStop) {
            next = windows[i]->tabIndex;
        }
        keys[i] = next;
    }
    std::vector<std::size_t> order(windows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<const ControlLayout*> sorted;
    for (std::size_t i : order) {
        sorted.push_back(windows[i]);
    }
    return sorted;
}

std::string MenuScript(const FormLayout& layout) {
    if (!HasMenu(layout)) {
        return {};
    }
    std::ostringstream out;
    out << res::MenuName(layout) << " MENU\n";
    MenuEntries(layout, platform::kNoControl, 0, out);
    return out.str();
}

std::string DialogScript(const FormLayout& layout) {
    std::ostringstream out;
    out << res::DialogName(layout) << " DIALOGEX 0, 0, " << DluX(layout.clientWidth) << ", "
        << DluY(layout.clientHeight) << "\n";
    out << "STYLE DS_SETFONT | DS_3DLOOK | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | "
           "WS_MINIMIZEBOX\n";
    out << "EXSTYLE WS_EX_APPWINDOW\n";
    out << "CAPTION " << Quoted(layout.caption) << "\n";
    if (HasMenu(layout)) {
        out << "MENU " << res::MenuName(layout) << "\n";
    }
    out << "FONT " << res::kDialogFontPoints << ", " << Quoted(res::kDialogFontName) << ", 0, 0, "
        << res::kShiftJisCharset << "\n";
    out << "BEGIN\n";
    for (const ControlLayout* control : TemplateOrder(layout)) {
        const std::string line = ControlLine(layout, *control);
        if (!line.empty()) {
            out << "    " << line << "\n";
        }
    }
    out << "END\n";
    return out.str();
}

}  // namespace vantorel::win32::rcgen

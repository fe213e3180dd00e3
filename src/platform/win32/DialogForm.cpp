#include "platform/win32/DialogForm.h"

#include <commctrl.h>

#include "platform/win32/BorrowedForeground.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Messages.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/rcgen/LayoutGeometry.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32 {

namespace {

using platform::ControlKind;

constexpr LPARAM kToolTipWidth = 400;  // pixels; longer tips wrap

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

DialogForm::DialogForm(Win32Ui& ui, const platform::FormLayout& layout,
                       platform::FormEvents& events)
    : ui_(ui), layout_(layout), events_(events) {
    const std::wstring name = Widen(res::DialogName(layout_));
    CreateDialogParamW(ui_.instance(), name.c_str(), nullptr, &DialogForm::DialogProc,
                       reinterpret_cast<LPARAM>(this));
    if (window_ == nullptr) {
        ui_.warn("the window " + layout_.name + " cannot be created");
    }
}

DialogForm::~DialogForm() {
    if (window_ != nullptr) {
        HWND window = window_;
        forget();
        DestroyWindow(window);
    }
    if (smallIcon_ != nullptr) {
        DestroyIcon(smallIcon_);
    }
    if (bigIcon_ != nullptr) {
        DestroyIcon(bigIcon_);
    }
}

void DialogForm::forget() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        ui_.removeDialog(window_);
        window_ = nullptr;
    }
}

INT_PTR CALLBACK DialogForm::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* form = reinterpret_cast<DialogForm*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        form->window_ = window;
        form->initialise();
        return FALSE;  // the focus stays where the program puts it
    }
    auto* form = reinterpret_cast<DialogForm*>(GetWindowLongPtrW(window, DWLP_USER));
    if (form == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        form->forget();
        return FALSE;
    }
    return form->onMessage(message, wParam, lParam) ? TRUE : FALSE;
}

bool DialogForm::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return command(wParam);
        case WM_CLOSE:
            ui_.raise([&] { events_.CloseRequested(platform::CloseReason::CloseBox); });
            return true;
        case WM_QUERYENDSESSION:
            // The program never holds the session up; it closes at WM_ENDSESSION.
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return true;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                ui_.raise([&] { events_.CloseRequested(platform::CloseReason::SessionEnd); });
            }
            return true;
        case kTrayCallbackMessage:
            if (const auto action = TrayActionOf(LOWORD(lParam))) {
                ui_.raise([&] { events_.TrayActivated(*action); });
            }
            return true;
        case WM_INITMENUPOPUP:
            // The window menu (HIWORD set) is the system's, not the program's.
            if (HIWORD(lParam) == 0) {
                const auto menu = menus_.menuWithSubmenu(reinterpret_cast<HMENU>(wParam));
                if (menu != platform::kNoControl) {
                    ui_.raise([&] { events_.MenuOpening(menu); });
                }
            }
            return false;
        default:
            return false;
    }
}

bool DialogForm::command(WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED) {
        return false;  // edit notifications and the like: no event
    }
    int id = LOWORD(wParam);
    // Enter and Escape arrive as IDOK and IDCANCEL: they press the default
    // and the cancel button, when the window has them.
    for (const auto& control : layout_.controls) {
        if ((id == IDOK && control.defaultButton) || (id == IDCANCEL && control.cancelButton)) {
            id = res::ResourceId(control.id);
            break;
        }
    }
    if (id == IDCANCEL && layout_.ownedWindow) {
        // A small window without a cancel button: Escape closes it as its
        // close box does.
        ui_.raise([&] { events_.CloseRequested(platform::CloseReason::CloseBox); });
        return true;
    }
    const platform::ControlLayout* control = find(res::LayoutId(id));
    if (control == nullptr) {
        return false;
    }
    switch (control->kind) {
        case ControlKind::CheckBox:
            ui_.raise([&] { events_.CheckBoxClick(control->id); });
            return true;
        case ControlKind::Button:
        case ControlKind::MenuItem:
            ui_.raise([&] { events_.Click(control->id); });
            return true;
        default:
            return false;
    }
}

void DialogForm::initialise() {
    ui_.addDialog(window_);
    menus_.attach(window_, layout_);
    placeControls();
    addToolTips();
    setIcons();
    SetWindowTextW(window_, Widen(layout_.caption).c_str());
    for (const auto& control : layout_.controls) {
        if (control.kind == ControlKind::TextBox && !control.caption.empty()) {
            SetWindowTextW(item(control.id), Widen(control.caption).c_str());
        }
    }
}

void DialogForm::placeControls() {
    // The template's dialog units depend on the font found; the layout's
    // twips are exact at any font and any dpi.
    const int dpi = WindowDpi(window_);
    auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, platform::kTwipsPerInch); };
    for (const auto& control : layout_.controls) {
        HWND child = item(control.id);
        if (child == nullptr) {
            continue;
        }
        const TwipsBox box = ClientBox(layout_, control);
        SetWindowPos(child, nullptr, pixels(box.left), pixels(box.top), pixels(box.width),
                     pixels(box.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{0, 0, pixels(layout_.clientWidth), pixels(layout_.clientHeight)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, GetMenu(window_) != nullptr, exStyle);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogForm::addToolTips() {
    for (const auto& control : layout_.controls) {
        HWND child = item(control.id);
        if (control.toolTip.empty() || child == nullptr) {
            continue;
        }
        if (toolTips_ == nullptr) {
            toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                                        nullptr, ui_.instance(), nullptr);
            SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, kToolTipWidth);
        }
        std::wstring tip = Widen(control.toolTip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(child);
        tool.lpszText = tip.data();
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void DialogForm::setIcons() {
    HINSTANCE instance = ui_.instance();
    auto load = [instance](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(res::kProgramIconId),
                                             IMAGE_ICON, width, height, 0));
    };
    smallIcon_ = load(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    bigIcon_ = load(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
}

const platform::ControlLayout* DialogForm::find(platform::ControlId control) const {
    return layout_.find(control);
}

HWND DialogForm::item(platform::ControlId control) const {
    if (window_ == nullptr || menus_.has(control)) {
        return nullptr;
    }
    return GetDlgItem(window_, res::ResourceId(control));
}

platform::WindowHandle DialogForm::handle() {
    return FromHwnd(window_);
}

platform::IconHandle DialogForm::icon() {
    return FromHicon(smallIcon_);
}

void DialogForm::setVisible(bool visible) {
    if (window_ != nullptr) {
        ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
    }
}

bool DialogForm::visible() {
    return window_ != nullptr && IsWindowVisible(window_);
}

void DialogForm::bringToFront() {
    if (window_ == nullptr) {
        return;
    }
    if (IsIconic(window_)) {
        ShowWindow(window_, SW_RESTORE);
    }
    SetForegroundWindow(window_);
}

void DialogForm::close() {
    if (window_ != nullptr) {
        HWND window = window_;
        forget();
        DestroyWindow(window);
    }
}

void DialogForm::setCaption(std::string_view caption) {
    if (window_ != nullptr) {
        SetWindowTextW(window_, Widen(caption).c_str());
    }
}

std::string DialogForm::text(platform::ControlId control) {
    if (menus_.has(control)) {
        return menus_.text(control);
    }
    // A picture's window text names its icon resource: it has no text.
    const platform::ControlLayout* layout = find(control);
    HWND child = item(control);
    if (child == nullptr || layout == nullptr || layout->kind == ControlKind::Picture) {
        return {};
    }
    return Narrow(WindowText(child));
}

void DialogForm::setText(platform::ControlId control, std::string_view text) {
    if (menus_.has(control)) {
        menus_.setText(control, std::string(text));
        return;
    }
    const platform::ControlLayout* layout = find(control);
    HWND child = item(control);
    if (child != nullptr && layout != nullptr && layout->kind != ControlKind::Picture) {
        SetWindowTextW(child, Widen(text).c_str());
    }
}

bool DialogForm::enabled(platform::ControlId control) {
    if (menus_.has(control)) {
        return menus_.enabled(control);
    }
    HWND child = item(control);
    return child != nullptr && IsWindowEnabled(child);
}

void DialogForm::setEnabled(platform::ControlId control, bool enabled) {
    if (menus_.has(control)) {
        menus_.setEnabled(control, enabled);
        return;
    }
    if (HWND child = item(control)) {
        EnableWindow(child, enabled ? TRUE : FALSE);
    }
}

bool DialogForm::checked(platform::ControlId control) {
    if (menus_.has(control)) {
        return menus_.checked(control);
    }
    HWND child = item(control);
    return child != nullptr && SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogForm::setChecked(platform::ControlId control, bool checked) {
    if (menus_.has(control)) {
        menus_.setChecked(control, checked);
        return;
    }
    // BM_SETCHECK raises no BN_CLICKED: the program's own change is no event.
    if (HWND child = item(control)) {
        SendMessageW(child, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void DialogForm::setControlVisible(platform::ControlId control, bool visible) {
    if (menus_.has(control)) {
        menus_.setVisible(control, visible);
        return;
    }
    if (HWND child = item(control)) {
        ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void DialogForm::setFocus(platform::ControlId control) {
    if (HWND child = item(control)) {
        // The dialog manager's own way, so that the default button follows.
        SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(child), TRUE);
    }
}

void DialogForm::selectAll(platform::ControlId control) {
    if (HWND child = item(control)) {
        SendMessageW(child, EM_SETSEL, 0, -1);
    }
}

void DialogForm::popupMenu(platform::ControlId menu) {
    HMENU popup = menus_.submenu(menu);
    if (window_ == nullptr || popup == nullptr) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    // The WM_NULL afterwards lets a second pop-up open at once.
    HWND window = window_;
    const BorrowedForeground foreground(window);
    const auto chosen = static_cast<int>(TrackPopupMenuEx(
        popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    foreground.giveBack(chosen != 0);
    if (chosen != 0) {
        // The chosen item runs before the pop-up returns.
        events_.Click(res::LayoutId(chosen));
    }
}

}  // namespace vantorel::win32

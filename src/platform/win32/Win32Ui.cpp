#include "platform/win32/Win32Ui.h"

#include "platform/FormLayout.h"
#include "platform/win32/DialogForm.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr int kFailureExitCode = 1;

}  // namespace

int WindowDpi(HWND window) {
    // GetDpiForWindow exists from Windows 10 on: looked up, not imported,
    // so that the program still starts on older systems.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : platform::kStandardDpi;
}

Win32Ui::Win32Ui(HINSTANCE instance, platform::Diagnostics& diagnostics)
    : instance_(instance), diagnostics_(diagnostics) {}

std::unique_ptr<platform::Form> Win32Ui::createForm(const platform::FormLayout& layout,
                                                    platform::FormEvents& events) {
    return std::make_unique<DialogForm>(*this, layout, events);
}

std::unique_ptr<platform::Timer> Win32Ui::createTimer(std::string_view name,
                                                      std::function<void()> onTick) {
    auto guarded = [this, onTick = std::move(onTick)] { raise(onTick); };
    return std::make_unique<MessageTimer>(timerWindow_, std::string(name), std::move(guarded));
}

void Win32Ui::messageBox(std::string_view text, std::string_view caption,
                         platform::MessageIcon icon) {
    // Task-modal: the program's windows wait for the box, as the box waits
    // for the user; it comes to the front although the program sits in the tray.
    UINT style = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;
    if (icon == platform::MessageIcon::Information) {
        style |= MB_ICONINFORMATION;
    }
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(caption).c_str(), style);
}

void Win32Ui::unhandledFailure(const std::string& what) {
    diagnostics_.warn("unhandled failure: " + what);
    MessageBoxW(nullptr, Widen("実行時エラー: " + what).c_str(), L"Vantorel",
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    PostQuitMessage(kFailureExitCode);
}

void Win32Ui::quit() {
    PostQuitMessage(0);
}

void Win32Ui::addDialog(HWND window) {
    dialogs_.insert(window);
}

void Win32Ui::removeDialog(HWND window) {
    dialogs_.erase(window);
}

bool Win32Ui::dialogMessage(MSG& message) {
    // A copy: the message may close a dialog.
    const std::set<HWND> dialogs = dialogs_;
    for (HWND dialog : dialogs) {
        if ((message.hwnd == dialog || IsChild(dialog, message.hwnd)) &&
            IsDialogMessageW(dialog, &message)) {
            return true;
        }
    }
    return false;
}

int Win32Ui::run() {
    MSG message{};
    BOOL result = 0;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) {
            return 1;
        }
        if (!dialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace vantorel::win32

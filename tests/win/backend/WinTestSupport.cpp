#include "WinTestSupport.h"

#include <cstdio>

#include "fake/UniqueFolder.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32::test {

namespace {
constexpr wchar_t kTestWindowClass[] = L"VantorelTestWindow";
constexpr int kTestWindowSize = 300;
constexpr DWORD kPumpSliceMs = 10;
}  // namespace

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPumpSliceMs, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

void PumpPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

TestWindow::TestWindow(const std::wstring& title, HWND owner, DWORD style) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTestWindowClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kTestWindowClass, title.c_str(), style, 10, 10, kTestWindowSize,
                              kTestWindowSize, owner, nullptr, instance, nullptr);
}

TestWindow::~TestWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
}

void RecordingEvents::Click(platform::ControlId control) {
    lines.push_back("Click " + std::to_string(control));
    if (onEvent) {
        onEvent(lines.back());
    }
}

void RecordingEvents::CheckBoxClick(platform::ControlId control) {
    lines.push_back("CheckBoxClick " + std::to_string(control));
    if (onEvent) {
        onEvent(lines.back());
    }
}

void RecordingEvents::CloseRequested(platform::CloseReason reason) {
    lines.push_back(reason == platform::CloseReason::CloseBox ? "CloseRequested CloseBox"
                                                              : "CloseRequested SessionEnd");
    if (onEvent) {
        onEvent(lines.back());
    }
}

void RecordingEvents::TrayActivated(platform::TrayAction action) {
    lines.push_back(action == platform::TrayAction::DoubleClicked ? "TrayActivated DoubleClicked"
                                                                  : "TrayActivated MenuRequested");
    if (onEvent) {
        onEvent(lines.back());
    }
}

HWND FindWindowOfProcess(DWORD process, const wchar_t* className, const wchar_t* caption,
                         HWND except) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, caption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && window != except && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

TempFolder::TempFolder() {
    path_ = vantorel::testing::MakeUniqueFolder("vantorel-wintest");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return Narrow((path_ / Widen(name)).wstring());
}

}  // namespace vantorel::win32::test

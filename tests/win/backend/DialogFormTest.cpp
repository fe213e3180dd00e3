// The program's windows as the Win32 backend builds them from the generated
// resources: the basic-settings window with its menus, exact positions, tab
// order, tooltips and password box, and the events the user's actions raise.

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "WinTestSupport.h"
#include "app/SettingsWindowLayout.h"
#include "platform/win32/BorrowedForeground.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AppInfo.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32 {
namespace {

constexpr int kTwipsPerInch = 1440;

class BasicSettingsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = ui_.createForm(SettingsWindowLayout(), events_);
        window_ = ToHwnd(form_->handle());
        ASSERT_NE(window_, nullptr);
    }

    HWND item(platform::ControlId id) { return GetDlgItem(window_, res::ResourceId(id)); }

    // The control's rectangle in the window's client area, in pixels.
    RECT clientRect(platform::ControlId id) {
        RECT rect{};
        GetWindowRect(item(id), &rect);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    int pixels(int twips) { return MulDiv(twips, WindowDpi(window_), kTwipsPerInch); }

    std::vector<std::wstring> menuBar() {
        std::vector<std::wstring> captions;
        HMENU bar = GetMenu(window_);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            wchar_t caption[64] = {};
            GetMenuStringW(bar, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
            captions.push_back(caption);
        }
        return captions;
    }

    Win32Diagnostics diagnostics_;
    Win32Ui ui_{GetModuleHandleW(nullptr), diagnostics_};
    test::RecordingEvents events_;
    std::unique_ptr<platform::Form> form_;
    HWND window_ = nullptr;
};

TEST_F(BasicSettingsWindow, IsBuiltHiddenWithTheLayoutsCaptionsAndExactPlaces) {
    EXPECT_FALSE(form_->visible());
    wchar_t caption[64] = {};
    GetWindowTextW(window_, caption, 64);
    EXPECT_STREQ(caption, L"Vantorel");
    EXPECT_EQ(form_->text(ctl::SettingsFrame), "基本設定");
    EXPECT_EQ(form_->text(ctl::IntervalLabel), "確認時間間隔(分）");
    EXPECT_EQ(form_->text(ctl::CancelButton), "CANCEL");

    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, pixels(3165));
    EXPECT_EQ(client.bottom, pixels(4530));
    // The server box lies in the frame: frame (0, 0) + (240, 600), 2655 x 300 twips.
    const RECT host = clientRect(ctl::ServerBox);
    EXPECT_EQ(host.left, pixels(240));
    EXPECT_EQ(host.top, pixels(600));
    EXPECT_EQ(host.right - host.left, pixels(2655));
    EXPECT_EQ(host.bottom - host.top, pixels(300));
    const RECT ok = clientRect(ctl::OkButton);
    EXPECT_EQ(ok.left, pixels(120));
    EXPECT_EQ(ok.top, pixels(3600));
}

TEST_F(BasicSettingsWindow, TabOrderPasswordBoxAndTooltipsFollowTheLayout) {
    std::vector<HWND> order;
    HWND at = item(ctl::ServerBox);
    for (int i = 0; i < 7; ++i) {
        order.push_back(at);
        at = GetNextDlgTabItem(window_, at, FALSE);
    }
    const std::vector<HWND> expected{item(ctl::ServerBox),          item(ctl::UserBox),
                                     item(ctl::PasswordBox),        item(ctl::IntervalBox),
                                     item(ctl::DisplayIntervalBox), item(ctl::OkButton),
                                     item(ctl::CancelButton)};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(at, item(ctl::ServerBox));  // and round again

    EXPECT_TRUE(GetWindowLongPtrW(item(ctl::PasswordBox), GWL_STYLE) & ES_PASSWORD);
    EXPECT_FALSE(GetWindowLongPtrW(item(ctl::UserBox), GWL_STYLE) & ES_PASSWORD);

    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (std::wstring(className) == TOOLTIPS_CLASSW &&
                GetWindow(window, GW_OWNER) != nullptr) {
                *reinterpret_cast<HWND*>(found) = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 5);  // three boxes, two buttons
}

TEST_F(BasicSettingsWindow, TextsAndCheckMarksSetByTheProgramRaiseNoEvents) {
    form_->setText(ctl::ServerBox, "pop.例え.jp");
    EXPECT_EQ(form_->text(ctl::ServerBox), "pop.例え.jp");
    form_->setChecked(ctl::ShowErrors, true);
    EXPECT_TRUE(form_->checked(ctl::ShowErrors));
    EXPECT_FALSE(form_->checked(ctl::UnderMouse));
    form_->setEnabled(ctl::DisplayIntervalBox, false);
    EXPECT_FALSE(form_->enabled(ctl::DisplayIntervalBox));
    test::PumpPending();
    EXPECT_TRUE(events_.lines.empty());
}

TEST_F(BasicSettingsWindow, AHiddenTopMenuLeavesTheMenuBarAndComesBackInItsPlace) {
    EXPECT_EQ(menuBar(), (std::vector<std::wstring>{L"メニュー", L"&OPTION"}));
    form_->setControlVisible(ctl::TrayMenu, false);
    EXPECT_EQ(menuBar(), std::vector<std::wstring>{L"&OPTION"});
    // Its items keep their check marks while it is out of the bar.
    form_->setChecked(ctl::Pause, true);
    form_->setControlVisible(ctl::TrayMenu, true);
    EXPECT_EQ(menuBar(), (std::vector<std::wstring>{L"メニュー", L"&OPTION"}));
    EXPECT_TRUE(form_->checked(ctl::Pause));
    HMENU top = GetSubMenu(GetMenu(window_), 0);
    EXPECT_EQ(GetMenuState(top, static_cast<UINT>(res::ResourceId(ctl::Pause)), MF_BYCOMMAND) &
                  MF_CHECKED,
              static_cast<UINT>(MF_CHECKED));
}

TEST_F(BasicSettingsWindow, ButtonsMenuItemsAndTheCloseBoxRaiseTheirEvents) {
    SendMessageW(item(ctl::OkButton), BM_CLICK, 0, 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(res::ResourceId(ctl::CheckNow), 0), 0);
    // Enter and Escape: the window has no default and no cancel button.
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    SendMessageW(window_, WM_CLOSE, 0, 0);
    SendMessageW(window_, WM_QUERYENDSESSION, 0, 0);
    SendMessageW(window_, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(events_.lines,
              (std::vector<std::string>{"Click " + std::to_string(ctl::OkButton),
                                        "Click " + std::to_string(ctl::CheckNow),
                                        "CloseRequested CloseBox", "CloseRequested SessionEnd"}));
    // The window stays until the program closes it.
    EXPECT_TRUE(IsWindow(window_));
    form_->close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(form_->handle(), 0u);
    form_->setText(ctl::ServerBox, "ignored");  // a closed form ignores calls
    EXPECT_EQ(form_->text(ctl::ServerBox), "");
}

TEST_F(BasicSettingsWindow, TheChosenItemOfAPopUpMenuRunsBeforeThePopUpReturns) {
    form_->setVisible(true);
    // The user moves down to the first item and presses Enter.
    SetTimer(window_, 1, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND menu = test::FindWindowOfProcess(GetCurrentProcessId(), L"#32768");
        if (menu != nullptr) {
            KillTimer(GetActiveWindow(), id);
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
    });
    form_->popupMenu(ctl::TrayMenu);
    KillTimer(window_, 1);
    EXPECT_EQ(events_.lines,
              std::vector<std::string>{"Click " + std::to_string(ctl::OpenSettings)});
}

TEST_F(BasicSettingsWindow, TheUsersWindowIsBackInFrontWhenTheChosenItemRuns) {
    test::TestWindow user(L"the user's window");
    ShowWindow(user.handle(), SW_SHOW);
    ASSERT_TRUE(test::PumpUntil([&] {
        SetForegroundWindow(user.handle());
        return GetForegroundWindow() == user.handle();
    }));
    HWND frontWhenChosen = nullptr;
    events_.onEvent = [&](const std::string&) { frontWhenChosen = GetForegroundWindow(); };
    SetTimer(window_, 1, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (HWND menu = test::FindWindowOfProcess(GetCurrentProcessId(), L"#32768")) {
            KillTimer(GetActiveWindow(), id);
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
    });
    // The program's window is hidden, as it is while in the tray.
    form_->popupMenu(ctl::TrayMenu);
    KillTimer(window_, 1);
    ASSERT_EQ(events_.lines.size(), 1u);
    EXPECT_EQ(frontWhenChosen, user.handle());
}

TEST(BorrowedForeground, BehindTheClickedTaskbarIsTheFirstOrdinaryWindowButTheProgramsOwn) {
    WNDCLASSW taskbarClass{};
    taskbarClass.lpfnWndProc = DefWindowProcW;
    taskbarClass.hInstance = GetModuleHandleW(nullptr);
    taskbarClass.lpszClassName = L"Shell_TrayWnd";
    RegisterClassW(&taskbarClass);
    test::TestWindow user(L"the user's window");
    test::TestWindow program(L"the program's window");
    HWND taskbar = CreateWindowExW(WS_EX_TOPMOST, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 0,
                                   0, 100, 30, nullptr, nullptr, taskbarClass.hInstance, nullptr);
    ASSERT_NE(taskbar, nullptr);
    // From the top: the taskbar, the program's window, the user's window.
    for (HWND window : {user.handle(), program.handle(), taskbar}) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    EXPECT_EQ(UserWindowBehind(taskbar, program.handle()), user.handle());
    EXPECT_EQ(UserWindowBehind(user.handle(), program.handle()), user.handle());
    EXPECT_EQ(UserWindowBehind(program.handle(), program.handle()), nullptr);
    EXPECT_EQ(UserWindowBehind(nullptr, program.handle()), nullptr);
    DestroyWindow(taskbar);
}

TEST_F(BasicSettingsWindow, AFailureNoHandlerTookEndsTheProgramWithAMessage) {
    events_.onEvent = [](const std::string&) { throw std::runtime_error("kaboom"); };
    // The user reads the message and presses OK.
    // The box may take seconds to appear on a busy machine; until it is
    // closed the click below does not return.
    constexpr auto kBoxWait = std::chrono::seconds(60);
    std::atomic<bool> boxSeen{false};
    std::thread user([&] {
        const auto giveUp = std::chrono::steady_clock::now() + kBoxWait;
        while (!boxSeen && std::chrono::steady_clock::now() < giveUp) {
            // Other tests' windows captioned Vantorel may be on the desktop.
            if (HWND box = test::FindWindowOfProcess(GetCurrentProcessId(), L"#32770", L"Vantorel",
                                                     window_)) {
                boxSeen = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(10);
        }
    });
    SendMessageW(item(ctl::OkButton), BM_CLICK, 0, 0);
    user.join();
    EXPECT_TRUE(boxSeen);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 1u);
}

}  // namespace
}  // namespace vantorel::win32

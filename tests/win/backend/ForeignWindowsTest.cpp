// Other programs' windows, played by windows of the test's own: titles read
// and written whole in any script, parents and owners, the flash.

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32ForeignWindows.h"

namespace vantorel::win32 {
namespace {

// A window of another process that answers no messages while it lives.
class BusyTarget {
  public:
    explicit BusyTarget(const std::wstring& title) {
        const std::wstring eventName =
            L"VantorelBusyTarget" + std::to_wstring(GetCurrentProcessId());
        done_ = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring path = self;
        path = path.substr(0, path.find_last_of(L'\\')) + L"\\busy_window_helper.exe";
        std::wstring line = L"\"" + path + L"\" \"" + title + L"\" " + eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (done_ == nullptr || CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE,
                                               0, nullptr, nullptr, &startup, &process_) == 0) {
            return;
        }
        test::PumpUntil([&] {
            window_ = FindWindowW(L"VantorelBusyTarget", title.c_str());
            return window_ != nullptr;
        });
    }
    ~BusyTarget() {
        if (process_.hProcess != nullptr) {
            SetEvent(done_);
            if (WaitForSingleObject(process_.hProcess, kEndWaitMs) != WAIT_OBJECT_0) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, kEndWaitMs);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        if (done_ != nullptr) {
            CloseHandle(done_);
        }
    }
    BusyTarget(const BusyTarget&) = delete;
    BusyTarget& operator=(const BusyTarget&) = delete;
    HWND handle() const { return window_; }

  private:
    static constexpr DWORD kEndWaitMs = 10000;
    HANDLE done_ = nullptr;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

TEST(ForeignWindows, ABusyWindowOfAnotherProgramStillGivesItsTitle) {
    BusyTarget target(L"受信箱 — 作業中");
    ASSERT_NE(target.handle(), nullptr);
    Win32ForeignWindows windows;
    EXPECT_EQ(windows.windowText(FromHwnd(target.handle())), "受信箱 — 作業中");
}

TEST(ForeignWindows, TitlesAreReadAndWrittenWholeWithCharactersOutsideCp932) {
    Win32ForeignWindows windows;
    test::TestWindow target(L"música — 受信箱");
    const auto handle = FromHwnd(target.handle());
    EXPECT_EQ(windows.windowText(handle), "música — 受信箱");

    std::string longTitle;
    for (int i = 0; i < 60; ++i) {
        longTitle += "件名ú ";  // far beyond 255 bytes
    }
    EXPECT_TRUE(windows.setWindowText(handle, longTitle));
    EXPECT_EQ(windows.windowText(handle), longTitle);

    EXPECT_TRUE(windows.setWindowText(handle, ""));
    EXPECT_EQ(windows.windowText(handle), "");
}

TEST(ForeignWindows, AWindowThatIsGoneHasNoTitleAndTakesNone) {
    Win32ForeignWindows windows;
    platform::WindowHandle gone = 0;
    {
        test::TestWindow target(L"closing");
        gone = FromHwnd(target.handle());
        EXPECT_TRUE(windows.isWindow(gone));
    }
    EXPECT_FALSE(windows.isWindow(gone));
    EXPECT_EQ(windows.windowText(gone), std::nullopt);
    EXPECT_FALSE(windows.setWindowText(gone, "notice"));
    EXPECT_FALSE(windows.isWindow(0));
    EXPECT_EQ(windows.parent(0), 0u);
}

TEST(ForeignWindows, ParentsAndOwnersAreClimbed) {
    Win32ForeignWindows windows;
    test::TestWindow main(L"main");
    test::TestWindow ownedPopup(L"dialog", main.handle(), WS_POPUP | WS_CAPTION);
    test::TestWindow ownedOverlapped(L"tool", main.handle(), WS_OVERLAPPEDWINDOW);
    HWND child = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                 ownedPopup.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(windows.parent(FromHwnd(child)), FromHwnd(ownedPopup.handle()));
    EXPECT_EQ(windows.parent(FromHwnd(ownedPopup.handle())), FromHwnd(main.handle()));
    EXPECT_EQ(windows.parent(FromHwnd(ownedOverlapped.handle())), FromHwnd(main.handle()));
    EXPECT_EQ(windows.parent(FromHwnd(main.handle())), 0u);
}

TEST(ForeignWindows, TheWindowInFrontAndUnderThePointerAreFound) {
    Win32ForeignWindows windows;
    test::TestWindow target(L"front");
    ShowWindow(target.handle(), SW_SHOWNORMAL);
    SetForegroundWindow(target.handle());
    ASSERT_TRUE(test::PumpUntil([&] { return GetForegroundWindow() == target.handle(); }));
    EXPECT_EQ(windows.foregroundWindow(), FromHwnd(target.handle()));

    RECT frame{};
    GetWindowRect(target.handle(), &frame);
    const platform::Point middle{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    EXPECT_EQ(windows.windowFromPoint(middle), FromHwnd(target.handle()));
}

TEST(ForeignWindows, AFlashIsRequestedOnlyForAWindow) {
    Win32ForeignWindows windows;
    test::TestWindow target(L"flash");
    EXPECT_TRUE(windows.flash(FromHwnd(target.handle()), 3));
    EXPECT_FALSE(windows.flash(0, 3));
}

}  // namespace
}  // namespace vantorel::win32

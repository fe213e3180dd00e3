// The tray icon's state on Windows: the mark drawn over the program's icon
// reaches the shell as a new icon of the same size, the tooltip change is
// remembered for a new taskbar, and a desktop notification is the icon's
// balloon (NIF_INFO) with its texts.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "app/SettingsWindowLayout.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ShellTray.h"
#include "platform/win32/TrayBalloon.h"
#include "platform/win32/TrayMarkIcon.h"
#include "platform/win32/Win32AppInfo.h"
#include "platform/win32/Win32Ui.h"

namespace vantorel::win32 {
namespace {

using platform::TrayLook;
using platform::TrayMark;

// A shell that takes every call and keeps the records it was given.
struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
};
std::vector<ShellCall> gCalls;

BOOL WINAPI RecordingShell(DWORD message, PNOTIFYICONDATAW data) {
    gCalls.push_back({message, *data});
    return TRUE;
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

class WinTrayState : public ::testing::Test {
  protected:
    void SetUp() override { gCalls.clear(); }

    TrayLook look(const TrayMark& mark, const std::string& tip) {
        TrayLook l;
        l.icon = form->icon();
        l.mark = mark;
        l.tip = tip;
        return l;
    }

    Win32Diagnostics diagnostics;
    Win32Ui ui{GetModuleHandleW(nullptr), diagnostics};
    test::RecordingEvents events;
    std::unique_ptr<platform::Form> form = ui.createForm(SettingsWindowLayout(), events);
};

TEST_F(WinTrayState, EveryMarkIsANewIconOfTheProgramIconsSize) {
    HICON base = ToHicon(form->icon());
    ASSERT_NE(base, nullptr);
    const int size = IconWidth(base);
    ASSERT_GT(size, 0);
    const TrayMark marks[] = {{TrayMark::Kind::NewMail, 3},
                              {TrayMark::Kind::NewMail, 250},
                              {TrayMark::Kind::Error, 0},
                              {TrayMark::Kind::Paused, 0}};
    for (const TrayMark& mark : marks) {
        HICON marked = MarkedIcon(base, mark);
        ASSERT_NE(marked, nullptr);
        EXPECT_NE(marked, base);
        EXPECT_EQ(IconWidth(marked), size);
        DestroyIcon(marked);
    }
    EXPECT_EQ(MarkedIcon(nullptr, marks[0]), nullptr);
}

TEST_F(WinTrayState, AChangeReachesTheShellAsAnUpdateWithTheMarkedIconAndTip) {
    ShellTray tray(&RecordingShell, ShellTray::kRetryMs);
    ASSERT_TRUE(tray.show(form->handle(), look({}, "Vantorel")));
    EXPECT_EQ(gCalls.back().data.hIcon, ToHicon(form->icon()));

    TrayLook change = look({TrayMark::Kind::NewMail, 3}, "Vantorel - 新着3通 (最終確認 14:06)");
    ASSERT_TRUE(tray.update(change));
    const ShellCall modify = gCalls.back();
    EXPECT_EQ(modify.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(modify.data.uFlags, static_cast<UINT>(NIF_ICON | NIF_TIP));
    EXPECT_NE(modify.data.hIcon, ToHicon(form->icon()));
    EXPECT_EQ(std::wstring(modify.data.szTip), L"Vantorel - 新着3通 (最終確認 14:06)");

    // A new taskbar gets the icon as it is now.
    gCalls.clear();
    tray.addAgain();
    ASSERT_FALSE(gCalls.empty());
    EXPECT_EQ(gCalls.front().message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(gCalls.front().data.hIcon, modify.data.hIcon);
    EXPECT_EQ(std::wstring(gCalls.front().data.szTip), L"Vantorel - 新着3通 (最終確認 14:06)");

    // Back to no mark: the program's own icon again.
    change.mark = {};
    ASSERT_TRUE(tray.update(change));
    EXPECT_EQ(gCalls.back().data.hIcon, ToHicon(form->icon()));
}

TEST_F(WinTrayState, AChangeOfAnIconNotInTheTrayIsRefused) {
    ShellTray tray(&RecordingShell, ShellTray::kRetryMs);
    EXPECT_FALSE(tray.update(look({TrayMark::Kind::Error, 0}, "x")));
    EXPECT_TRUE(gCalls.empty());
}

TEST_F(WinTrayState, TheOneIconBelongsToOneWindowUntilItIsRemoved) {
    ShellTray tray(&RecordingShell, ShellTray::kRetryMs);
    test::RecordingEvents otherEvents;
    auto other = ui.createForm(SettingsWindowLayout(), otherEvents);
    ASSERT_TRUE(tray.show(form->handle(), look({}, "Vantorel")));
    const std::size_t calls = gCalls.size();
    EXPECT_FALSE(tray.show(other->handle(), look({}, "Vantorel"))) << "a second icon";
    EXPECT_EQ(gCalls.size(), calls);

    ASSERT_TRUE(tray.remove());
    EXPECT_EQ(gCalls.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(gCalls.back().data.hWnd, ToHwnd(form->handle()));
    EXPECT_TRUE(tray.show(other->handle(), look({}, "Vantorel")));
    EXPECT_EQ(gCalls.back().data.hWnd, ToHwnd(other->handle()));
}

TEST_F(WinTrayState, TheBalloonRecordCarriesTheTextsCutToTheirFields) {
    const std::string summary = "3通メールが来ています。";
    const std::string body = "会議の件 — 山田\n請求書 — billing@example.com";
    const NOTIFYICONDATAW data =
        ShellTray::BalloonRecord(reinterpret_cast<HWND>(0x1234), 1, summary, body);
    EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(std::wstring(data.szInfoTitle), L"3通メールが来ています。");
    EXPECT_EQ(std::wstring(data.szInfo), L"会議の件 — 山田\n請求書 — billing@example.com");

    // A long body ends within the field, never inside a surrogate pair.
    std::string longBody(std::size(data.szInfo) - 2, 'x');
    longBody += "\xF0\x9F\x93\xAE";  // U+1F4EE, two UTF-16 units
    const NOTIFYICONDATAW cut = ShellTray::BalloonRecord(nullptr, 1, summary, longBody);
    const std::wstring info(cut.szInfo);
    EXPECT_EQ(info.size(), std::size(cut.szInfo) - 2);
    EXPECT_FALSE(IS_HIGH_SURROGATE(info.back()));
}

TEST_F(WinTrayState, ANotificationIsTheBalloonOfTheShownIconAndFailsWithoutOne) {
    ShellTray tray(&RecordingShell, ShellTray::kRetryMs);
    TrayBalloon balloon(tray);
    EXPECT_FALSE(balloon.notify({"1通メールが来ています。", "件名1 — sender1"}));
    EXPECT_TRUE(gCalls.empty());

    ASSERT_TRUE(tray.show(form->handle(), look({}, "Vantorel")));
    EXPECT_TRUE(balloon.notify({"1通メールが来ています。", "件名1 — sender1"}));
    const ShellCall call = gCalls.back();
    EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(call.data.hWnd, ToHwnd(form->handle()));
    EXPECT_EQ(std::wstring(call.data.szInfoTitle), L"1通メールが来ています。");
    EXPECT_EQ(std::wstring(call.data.szInfo), L"件名1 — sender1");
}

}  // namespace
}  // namespace vantorel::win32

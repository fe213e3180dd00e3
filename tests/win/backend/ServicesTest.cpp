// The smaller Win32 services: the tray icon and its callback, timers, the
// sound player's silence on failure, what the program knows of itself, and
// the library loader.

#include <windows.h>
// mmsystem.h needs the types of windows.h first.
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "app/SettingsWindowLayout.h"
#include "platform/win32/Handles.h"
#include "platform/win32/MciPlayer.h"
#include "platform/win32/OpenFileDialog.h"
#include "platform/win32/ShellTray.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32AppInfo.h"
#include "platform/win32/Win32Connection.h"
#include "platform/win32/Win32LibraryLoader.h"
#include "platform/win32/Win32Ui.h"

namespace vantorel::win32 {
namespace {

platform::TrayLook ProgramLook(platform::Form& form) {
    platform::TrayLook look;
    look.icon = form.icon();
    look.tip = "Vantorel";
    return look;
}

TEST(ShellTray, TheIconIsAddedWithThePrivateCallbackAndItsTipCutToTheField) {
    platform::TrayLook look;
    look.tip = std::string(200, 'x');
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const NOTIFYICONDATAW data = ShellTray::AddRecord(owner, look);
    EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(data.hWnd, owner);
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_APP + 1));
    EXPECT_EQ(std::wstring(data.szTip).size(), std::size(data.szTip) - 1);  // cut, NUL kept
    look.tip = "Vantorel";
    EXPECT_EQ(std::wstring(ShellTray::AddRecord(owner, look).szTip), L"Vantorel");
}

// The owner window of a shown icon, as the shell calls it back.
class ShellTrayCallback : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tray.show(form->handle(), ProgramLook(*form))); }
    // What the shell sends for `mouseMessage` on the icon.
    void shellSends(UINT mouseMessage) {
        PostMessageW(ToHwnd(form->handle()), WM_APP + 1, 1, mouseMessage);
    }

    Win32Diagnostics diagnostics;
    Win32Ui ui{GetModuleHandleW(nullptr), diagnostics};
    test::RecordingEvents events;
    std::unique_ptr<platform::Form> form = ui.createForm(SettingsWindowLayout(), events);
    ShellTray tray;
};

TEST_F(ShellTrayCallback, ALeftDoubleClickAndARightPressReachTheFormAsTheTwoActions) {
    shellSends(WM_RBUTTONDOWN);
    ASSERT_TRUE(test::PumpUntil([&] { return !events.lines.empty(); }));
    shellSends(WM_LBUTTONDBLCLK);
    ASSERT_TRUE(test::PumpUntil([&] { return events.lines.size() == 2; }));
    EXPECT_EQ(events.lines, (std::vector<std::string>{"TrayActivated MenuRequested",
                                                      "TrayActivated DoubleClicked"}));

    EXPECT_TRUE(tray.remove());
    EXPECT_FALSE(tray.remove());
}

TEST_F(ShellTrayCallback, OtherMouseMessagesAreNoAction) {
    for (const UINT message :
         {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_RBUTTONDBLCLK,
          WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_CONTEXTMENU}) {
        shellSends(message);
    }
    // Handled in order: once the right press has arrived, so have the others.
    shellSends(WM_RBUTTONDOWN);
    ASSERT_TRUE(test::PumpUntil([&] { return !events.lines.empty(); }));
    EXPECT_EQ(events.lines, std::vector<std::string>{"TrayActivated MenuRequested"});
}

// True while the shell holds an icon for this window and id: only an
// existing icon can be modified.
bool ShellHasIcon(HWND window, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// What a new taskbar broadcasts, sent to this test's own top-level windows
// only: tests run side by side on one desktop, and a broadcast would reach
// the others' trays too.
void AnnounceNewTaskbar() {
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId()) {
                PostMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            }
            return TRUE;
        },
        0);
}

TEST(ShellTray, TheIconComesBackWithANewTaskbarAndGoesWithTheProgram) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    test::RecordingEvents events;
    auto form = ui.createForm(SettingsWindowLayout(), events);
    HWND window = ToHwnd(form->handle());
    {
        ShellTray tray;
        ASSERT_TRUE(tray.show(form->handle(), ProgramLook(*form)));
        ASSERT_TRUE(ShellHasIcon(window, 1));

        // Explorer restarted: its tray starts empty and says so to every
        // top-level window.
        NOTIFYICONDATAW lost{};
        lost.cbSize = sizeof(lost);
        lost.hWnd = window;
        lost.uID = 1;
        Shell_NotifyIconW(NIM_DELETE, &lost);
        ASSERT_FALSE(ShellHasIcon(window, 1));
        AnnounceNewTaskbar();
        EXPECT_TRUE(test::PumpUntil([&] { return ShellHasIcon(window, 1); }));
    }
    EXPECT_FALSE(ShellHasIcon(window, 1));
}

// A shell that is not ready: it refuses every add while `gShellNotReady`
// holds, and counts the adds it is asked for.
bool gShellNotReady = false;
int gAddsAsked = 0;

BOOL WINAPI ShellStartingLate(DWORD message, PNOTIFYICONDATAW data) {
    if (message == NIM_ADD) {
        ++gAddsAsked;
        if (gShellNotReady) {
            return FALSE;
        }
    }
    return Shell_NotifyIconW(message, data);
}

constexpr UINT kShortRetryMs = 20;

TEST(ShellTray, AnIconRefusedByAShellNotReadyIsTriedAgainUntilTaken) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    test::RecordingEvents events;
    auto form = ui.createForm(SettingsWindowLayout(), events);
    HWND window = ToHwnd(form->handle());
    ShellTray tray(&ShellStartingLate, kShortRetryMs);
    int appeared = 0;
    tray.watchAvailability([&] { ++appeared; });

    gShellNotReady = true;
    gAddsAsked = 0;
    EXPECT_FALSE(tray.show(form->handle(), ProgramLook(*form)));
    EXPECT_FALSE(tray.available());
    // Refused again and again: never given up.
    ASSERT_TRUE(test::PumpUntil([&] { return gAddsAsked >= 3; }));
    EXPECT_FALSE(ShellHasIcon(window, 1));
    EXPECT_EQ(appeared, 0);

    gShellNotReady = false;
    ASSERT_TRUE(test::PumpUntil([&] { return ShellHasIcon(window, 1); }));
    EXPECT_TRUE(tray.available());
    EXPECT_EQ(appeared, 1);
    // Taken: no more tries.
    const int asked = gAddsAsked;
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(10 * kShortRetryMs));
    EXPECT_EQ(gAddsAsked, asked);
    // A shown icon added twice is refused without counting as waiting.
    EXPECT_FALSE(tray.show(form->handle(), ProgramLook(*form)));
    EXPECT_TRUE(tray.available());
}

TEST(ShellTray, ANewTaskbarTakesTheWaitingIconAndSaysTheTrayIsThere) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    test::RecordingEvents events;
    auto form = ui.createForm(SettingsWindowLayout(), events);
    HWND window = ToHwnd(form->handle());
    // A retry far beyond the test: only the taskbar's message can help.
    ShellTray tray(&ShellStartingLate, INFINITE / 2);
    int appeared = 0;
    tray.watchAvailability([&] { ++appeared; });

    gShellNotReady = true;
    EXPECT_FALSE(tray.show(form->handle(), ProgramLook(*form)));
    gShellNotReady = false;
    AnnounceNewTaskbar();
    ASSERT_TRUE(test::PumpUntil([&] { return appeared == 1; }));
    EXPECT_TRUE(ShellHasIcon(window, 1));
    EXPECT_TRUE(tray.available());
}

TEST(ShellTray, ATaskbarMessageWhileTheIconIsShownKeepsItShownWithoutRetrying) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    test::RecordingEvents events;
    auto form = ui.createForm(SettingsWindowLayout(), events);
    HWND window = ToHwnd(form->handle());
    ShellTray tray(&ShellStartingLate, kShortRetryMs);
    int appeared = 0;
    tray.watchAvailability([&] { ++appeared; });
    gShellNotReady = false;
    ASSERT_TRUE(tray.show(form->handle(), ProgramLook(*form)));

    // Sent by another program, or by a shell that kept its icons.
    gAddsAsked = 0;
    AnnounceNewTaskbar();
    ASSERT_TRUE(test::PumpUntil([&] { return appeared == 1; }));
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(10 * kShortRetryMs));
    EXPECT_EQ(gAddsAsked, 1);
    EXPECT_TRUE(tray.available());
    EXPECT_TRUE(ShellHasIcon(window, 1));
}

TEST(MessageTimer, TicksAtItsPeriodOnlyWhileEnabledWithAPeriod) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    int ticks = 0;
    auto timer = ui.createTimer("check timer", [&] { ++ticks; });
    timer->setInterval(20);
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks, 0);  // created stopped

    timer->setEnabled(true);
    EXPECT_TRUE(test::PumpUntil([&] { return ticks >= 3; }));

    timer->setInterval(0);
    const int before = ticks;
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks, before);
    EXPECT_TRUE(timer->enabled());

    timer->setInterval(20);
    EXPECT_TRUE(test::PumpUntil([&] { return ticks > before; }));
    timer->setEnabled(false);
    const int stopped = ticks;
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(ticks, stopped);
}

TEST(MessageTimer, ATickStillRunningIsNotEnteredAgain) {
    Win32Diagnostics diagnostics;
    Win32Ui ui(GetModuleHandleW(nullptr), diagnostics);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    auto timer = ui.createTimer("display timer", [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (ticks == 1) {
            // A message loop inside the tick, as a message box has.
            test::PumpUntil([] { return false; }, std::chrono::milliseconds(100));
        }
        --depth;
    });
    timer->setInterval(10);
    timer->setEnabled(true);
    EXPECT_TRUE(test::PumpUntil([&] { return ticks >= 2; }));
    EXPECT_EQ(deepest, 1);
}

TEST(MciPlayer, AMissingFileFailsSilentlyAndLeavesNoDeviceOpen) {
    test::TempFolder folder;
    MciPlayer player;
    player.load(folder.file("missing.wav"));
    EXPECT_EQ(player.deviceId(), 0);
    player.play(folder.file("missing.wav"));
    EXPECT_EQ(player.deviceId(), 0);
    player.stop();
    EXPECT_EQ(player.deviceId(), 0);
}

TEST(MciPlayer, AnOpenWaveDeviceHasAnIdUntilStoppedOrReplaced) {
    // An empty name opens the bare wave device (nothing to play).
    MciPlayer player;
    player.load("");
    const int first = player.deviceId();
    if (first == 0) {
        GTEST_SKIP() << "no wave device here";
    }
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_DEVICE_TYPE;
    ASSERT_EQ(mciSendCommandW(static_cast<MCIDEVICEID>(first), MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM,
                              reinterpret_cast<DWORD_PTR>(&caps)),
              0u);
    EXPECT_EQ(caps.dwReturn, static_cast<DWORD>(MCI_DEVTYPE_WAVEFORM_AUDIO));
    player.play("");  // closed and opened again; nothing to play: silent
    EXPECT_NE(player.deviceId(), 0);
    player.stop();
    EXPECT_EQ(player.deviceId(), 0);
    player.stop();  // nothing open: nothing happens
    EXPECT_EQ(player.deviceId(), 0);
}

TEST(OpenFileDialog, TheFilterBecomesNulSeparatedParts) {
    EXPECT_EQ(DialogFilter("WAVファイル(*.wav)|*.wav"),
              std::wstring(L"WAVファイル(*.wav)\0*.wav\0\0", 22));
    EXPECT_EQ(DialogFilter(""), L"");
}

TEST(AppInfo, TheProgramKnowsItsFolderNameAndVersion) {
    Win32AppInfo app;
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring exePath = exe;
    EXPECT_EQ(Widen(app.path()), exePath.substr(0, exePath.find_last_of(L'\\')));
    EXPECT_EQ(app.exeName(), "vantorel_win_tests");
    EXPECT_EQ(app.title(), "Vantorel");
    const auto version = app.version();
    EXPECT_EQ(version.major, 1);
    EXPECT_EQ(version.minor, 3);
    EXPECT_EQ(version.revision, 5);
    EXPECT_EQ(app.pathSeparator(), '\\');
}

TEST(FileSystem, FoldersAreCreatedOnceAndFound) {
    test::TempFolder folder;
    Win32FileSystem files;
    const std::string save = folder.file("保存");
    EXPECT_FALSE(files.exists(save));
    EXPECT_TRUE(files.createFolder(save));
    EXPECT_TRUE(files.exists(save));
    EXPECT_FALSE(files.createFolder(save));
    EXPECT_FALSE(files.createFolder(folder.file("no\\such\\place")));
}

TEST(LibraryLoader, LoadsBySystemNameAndSaysWhyNot) {
    Win32AppInfo app;
    Win32LibraryLoader loader(app);
    void* kernel = loader.load("kernel32");
    ASSERT_NE(kernel, nullptr);
    EXPECT_NE(loader.symbol(kernel, "GetTickCount"), nullptr);
    EXPECT_EQ(loader.symbol(kernel, "NoSuchFunction"), nullptr);
    EXPECT_NE(loader.lastError().find("NoSuchFunction"), std::string::npos);

    EXPECT_EQ(loader.load("popmail-not-here"), nullptr);
    EXPECT_NE(loader.lastError().find("popmail-not-here.dll"), std::string::npos);
}

// A local network without a way to the Internet: the system says FALSE and
// still sets the LAN flag.
BOOL WINAPI LanWithoutInternet(LPDWORD flags, DWORD) {
    *flags = platform::ConnectionState::kLan;
    return FALSE;
}

// A call that fails before writing anything.
BOOL WINAPI WritesNothing(LPDWORD, DWORD) {
    return FALSE;
}

TEST(Connection, TheFlagsCountWhateverTheCallReturns) {
    EXPECT_EQ(Win32Connection(&LanWithoutInternet).connectedState(),
              platform::ConnectionState::kLan);
    EXPECT_EQ(Win32Connection(&WritesNothing).connectedState(), 0U);
    // Wine reports a LAN connection.
    EXPECT_NE(Win32Connection().connectedState() & platform::ConnectionState::kLan, 0U);
}

}  // namespace
}  // namespace vantorel::win32

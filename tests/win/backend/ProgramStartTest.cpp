// The real vantorel.exe, started in a folder of its own: the first run shows
// the basic-settings window with the defaults; accepted settings in a
// Shift-JIS settings file start it in the tray, and a double-click on the
// icon (the shell's callback, posted as the shell sends it) brings the
// window back with the stored values in its boxes.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "WinTestSupport.h"
#include "app/SettingsWindowLayout.h"
#include "dialogs/Layouts.h"
#include "platform/win32/Cp932Codec.h"
#include "platform/win32/Messages.h"
#include "platform/win32/WideText.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::win32 {
namespace {

constexpr DWORD kStopWaitMs = 5000;
constexpr auto kSettle = std::chrono::milliseconds(1500);

std::wstring ProgramBesideTests() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\')) + L"\\vantorel.exe";
}

// vantorel.exe copied into a folder of its own and started there; stopped
// with the object.
class RunningProgram {
  public:
    explicit RunningProgram(const test::TempFolder& folder) {
        const std::wstring exe = (folder.path() / L"vantorel.exe").wstring();
        CopyFileW(ProgramBesideTests().c_str(), exe.c_str(), FALSE);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring commandLine = L"\"" + exe + L"\"";
        started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.path().wstring().c_str(), &startup, &process_);
    }
    ~RunningProgram() {
        if (started_) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, kStopWaitMs);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return started_; }

    // True when the program has ended by itself within `limitMs`.
    bool endsWithin(DWORD limitMs, DWORD* exitCode) const {
        if (WaitForSingleObject(process_.hProcess, limitMs) != WAIT_OBJECT_0) {
            return false;
        }
        GetExitCodeProcess(process_.hProcess, exitCode);
        return true;
    }

    // The program's visible window with this caption, or nullptr.
    HWND windowCaptioned(const std::wstring& caption) const {
        return test::FindWindowOfProcess(process_.dwProcessId, L"#32770", caption.c_str());
    }

    // The program's main window (its first dialog), or nullptr.
    HWND mainWindow() const {
        struct Search {
            DWORD process;
            HWND found;
        } search{process_.dwProcessId, nullptr};
        EnumWindows(
            [](HWND window, LPARAM data) {
                auto* s = reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t className[16] = {};
                GetClassNameW(window, className, 16);
                if (owner == s->process && std::wstring(className) == L"#32770") {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// Opens the tray menu as a right-button press on the icon does, and picks
// an item with the keyboard: `keys` arrow presses, then Enter.
bool PickFromTrayMenu(HWND programWindow, WPARAM arrow, int presses) {
    PostMessageW(programWindow, kTrayCallbackMessage, 1, WM_RBUTTONDOWN);
    DWORD program = 0;
    GetWindowThreadProcessId(programWindow, &program);
    HWND menu = nullptr;
    if (!test::PumpUntil(
            [&] { return (menu = test::FindWindowOfProcess(program, L"#32768")) != nullptr; })) {
        return false;
    }
    for (int i = 0; i < presses; ++i) {
        PostMessageW(menu, WM_KEYDOWN, arrow, 0);
    }
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

std::string BoxText(HWND window, platform::ControlId control) {
    HWND box = GetDlgItem(window, res::ResourceId(control));
    wchar_t text[256] = {};
    SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

TEST(ProgramStart, AFirstRunShowsTheBasicSettingsWindowWithTheDefaults) {
    test::TempFolder folder;
    RunningProgram program(folder);
    ASSERT_TRUE(program.started());
    HWND window = nullptr;
    ASSERT_TRUE(test::PumpUntil([&] {
        window = program.mainWindow();
        return window != nullptr && IsWindowVisible(window);
    }));
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"Vantorel");
    EXPECT_EQ(BoxText(window, ctl::ServerBox), "");
    EXPECT_EQ(BoxText(window, ctl::IntervalBox), "3");
    EXPECT_EQ(BoxText(window, ctl::DisplayIntervalBox), "");
}

TEST(ProgramStart, AcceptedSettingsStartInTheTrayAndADoubleClickBringsTheWindowBack) {
    test::TempFolder folder;
    Cp932Codec codec;
    const std::string settings =
        "[USERINFO]\r\nREMOTEHOST=pop.例え.jp\r\nUSERNAME=太郎\r\nPASSWORD=秘密\r\n"
        "INTERVAL=5\r\nTIMER=2\r\nSTARTUP=True\r\n";
    std::ofstream(folder.path() / L"vantorel.ini", std::ios::binary)
        << codec.utf8ToCp932(settings).value();

    RunningProgram program(folder);
    ASSERT_TRUE(program.started());
    HWND window = nullptr;
    ASSERT_TRUE(test::PumpUntil([&] { return (window = program.mainWindow()) != nullptr; }));
    test::PumpUntil([] { return false; }, kSettle);
    EXPECT_FALSE(IsWindowVisible(window));

    PostMessageW(window, kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(test::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_EQ(BoxText(window, ctl::ServerBox), "pop.例え.jp");
    EXPECT_EQ(BoxText(window, ctl::UserBox), "太郎");
    EXPECT_EQ(BoxText(window, ctl::IntervalBox), "5");
    EXPECT_EQ(BoxText(window, ctl::DisplayIntervalBox), "2");
}

TEST(ProgramStart, TheTrayMenuShowsTheVersionFromTheResourceAndEndsTheProgram) {
    constexpr DWORD kExitWaitMs = 10000;
    constexpr int kVersionItem = 3;  // 設定変更, 一時停止, Version情報
    test::TempFolder folder;
    std::ofstream(folder.path() / L"vantorel.ini", std::ios::binary)
        << "[USERINFO]\r\nINTERVAL=3\r\nTIMER=2\r\nSTARTUP=True\r\n";
    RunningProgram program(folder);
    ASSERT_TRUE(program.started());
    HWND window = nullptr;
    ASSERT_TRUE(test::PumpUntil([&] { return (window = program.mainWindow()) != nullptr; }));
    test::PumpUntil([] { return false; }, kSettle);

    ASSERT_TRUE(PickFromTrayMenu(window, VK_DOWN, kVersionItem));
    const std::wstring aboutCaption = Widen("Vantorelのﾊﾞｰｼﾞｮﾝ情報");
    HWND about = nullptr;
    ASSERT_TRUE(test::PumpUntil(
        [&] { return (about = program.windowCaptioned(aboutCaption)) != nullptr; }));
    EXPECT_EQ(BoxText(about, ctl::about::VersionLabel), "ﾊﾞｰｼﾞｮﾝ 1.3.5");
    EXPECT_EQ(BoxText(about, ctl::about::ProductLabel), "Vantorel");

    // The last item, 終了(&X), is one press of the up arrow away.
    ASSERT_TRUE(PickFromTrayMenu(window, VK_UP, 1));
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program.endsWithin(kExitWaitMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace vantorel::win32

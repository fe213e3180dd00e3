// The Windows end-to-end driver: runs one scenario against the real
// vantorel.exe under Wine, as a user would, and writes its transcript.
//
//   vantorel_e2e_driver.exe announce|first-run|wrong-password|tray-states
//
// The environment names what the scenario uses (Windows paths):
//   E2E_PROGRAM_DIR  the folder holding vantorel.exe and popmail.dll
//   E2E_OUT_DIR      where the transcript and screenshots go
//   E2E_TARGET_EXE   vantorel_e2e_target.exe (announce)
//   E2E_SUBJECTS     the subjects the messages must show, UTF-8 (announce)
//   E2E_HOST, E2E_USER, E2E_PASSWORD  what is typed (first-run, wrong-password)
// Exit status 0 when every check passed.

#include <windows.h>
// After windows.h: the tooltip control's class name and balloon style.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DriverSupport.h"
#include "app/SettingsWindowLayout.h"
#include "platform/win32/Cp932Codec.h"
#include "platform/win32/WideText.h"
#include "platform/win32/rcgen/ResourceNames.h"

namespace vantorel::e2e {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr auto kStartWait = 15s;
constexpr auto kCheckWait = 30s;
constexpr auto kNoticeWait = 20s;
constexpr auto kSettle = 1500ms;
constexpr auto kExitWait = 15s;
constexpr int kMaxBoxes = 5;
// The longest balloon text read back (the shell keeps at most 256
// characters of it), and how long the shell may take to answer.
constexpr int kLongest = 1024;
constexpr UINT kAnswerWaitMs = 2000;
constexpr auto kBalloonWait = 40s;
// How long the tray must look the same before its look is taken as a state.
constexpr auto kSteadyFor = 1500ms;
// Tray menu items, counted with the down arrow (separators are skipped).
constexpr int kPauseItem = 2;
constexpr int kCheckNowItem = 4;
constexpr int kPausePosition = 1;  // 一時停止, by position in the menu
constexpr wchar_t kTargetClass[] = L"VantorelE2eTarget";
const std::string kOriginalTitle = "メモ帳 - 元のタイトル";

struct Setup {
    std::string scenario;
    std::wstring programDir = EnvironmentValue(L"E2E_PROGRAM_DIR");
    std::wstring outDir = EnvironmentValue(L"E2E_OUT_DIR");
    std::wstring exe() const { return programDir + L"\\vantorel.exe"; }
    std::wstring settingsFile() const { return programDir + L"\\vantorel.ini"; }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

HWND ShownMainWindow(Transcript& t, const Process& program) {
    HWND window = nullptr;
    t.expect(
        [&] {
            window = program.window(L"#32770");
            return window != nullptr && IsWindowVisible(window);
        },
        kStartWait, "the basic-settings window did not appear");
    return window;
}

void TypeInto(HWND window, platform::ControlId box, const std::string& text) {
    SendMessageW(GetDlgItem(window, win32::res::ResourceId(box)), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void TypeSettings(HWND window, const std::string& password, const std::string& interval,
                  const std::string& display) {
    TypeInto(window, ctl::ServerBox, Narrow(EnvironmentValue(L"E2E_HOST")));
    TypeInto(window, ctl::UserBox, Narrow(EnvironmentValue(L"E2E_USER")));
    TypeInto(window, ctl::PasswordBox, password);
    TypeInto(window, ctl::IntervalBox, interval);
    TypeInto(window, ctl::DisplayIntervalBox, display);
}

void PressOkButton(HWND window) {
    PostMessageW(GetDlgItem(window, win32::res::ResourceId(ctl::OkButton)), BM_CLICK, 0, 0);
}

// True when the settings file holds the line, in CP932 with CRLF.
bool SettingStored(const Setup& setup, const std::string& line) {
    win32::Cp932Codec codec;
    const auto bytes = codec.utf8ToCp932(line + "\r\n");
    return bytes && ReadFileBytes(setup.settingsFile()).find(*bytes) != std::string::npos;
}

void EndFromTrayMenu(Transcript& t, const Process& program, HWND window) {
    ChooseFromTrayMenu(window, VK_UP, 1);  // 終了(&X) is the last item
    DWORD code = STILL_ACTIVE;
    t.check(program.endsWithin(kExitWait, &code) && code == 0,
            "終了(&X) ends the program with exit code 0");
}

// ---- announce ---------------------------------------------------------------

class TitleLog {
  public:
    explicit TitleLog(std::wstring file) : file_(std::move(file)) {}
    std::vector<std::string> titles() const { return Lines(ReadFileBytes(file_)); }
    bool has(const std::string& title) const {
        for (const std::string& seen : titles()) {
            if (seen == title) {
                return true;
            }
        }
        return false;
    }
    std::string startingWith(const std::string& prefix) const {
        for (const std::string& seen : titles()) {
            if (StartsWith(seen, prefix)) {
                return seen;
            }
        }
        return {};
    }

  private:
    std::wstring file_;
};

void CheckOrder(Transcript& t, const TitleLog& log, const std::vector<std::string>& subjects) {
    std::vector<std::string> expected{"3通メールが来ています。"};
    for (size_t n = 0; n < subjects.size(); ++n) {
        expected.push_back(std::to_string(n + 1) + "通目:Subject:" + subjects[n] + " From:");
    }
    expected.push_back("以上3通メールが来ています。");
    expected.push_back(kOriginalTitle);
    std::vector<std::string> seen;
    for (const std::string& title : log.titles()) {
        if (seen.empty() || seen.back() != title) {
            seen.push_back(title);
        }
    }
    // The first title is the window's own, before the check.
    if (!seen.empty() && seen.front() == kOriginalTitle) {
        seen.erase(seen.begin());
    }
    bool inOrder = seen.size() == expected.size();
    for (size_t i = 0; inOrder && i < seen.size(); ++i) {
        inOrder = expected[i].find("通目:") != std::string::npos ? StartsWith(seen[i], expected[i])
                                                                 : seen[i] == expected[i];
    }
    for (const std::string& title : seen) {
        t.note("title: " + title);
    }
    t.check(inOrder, "the notices came in order, each once, and the title came back");
}

void CheckPauseMark(Transcript& t, HWND window) {
    ChooseFromTrayMenu(window, VK_DOWN, 0, false);
    HWND menu = OpenMenu();
    const auto popup = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    const UINT state = popup != nullptr ? GetMenuState(popup, kPausePosition, MF_BYPOSITION)
                                        : static_cast<UINT>(-1);
    if (state != static_cast<UINT>(-1)) {
        t.check((state & MF_CHECKED) != 0, "一時停止 carries its check mark");
    } else {
        t.note("the menu's marks cannot be read from another process here: see the screenshot");
    }
    t.shot("paused-menu");
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    t.expect([] { return OpenMenu() == nullptr || !IsWindowVisible(OpenMenu()); }, kStartWait,
             "the tray menu did not close");
}

void Announce(Transcript& t, const Setup& setup) {
    const std::vector<std::string> subjects =
        Lines(ReadFileBytes(EnvironmentValue(L"E2E_SUBJECTS")));
    // One log per scenario, so that the token login's run keeps the
    // password login's titles.
    const std::wstring titlesFile = setup.outDir + L"\\" + Widen(setup.scenario) + L"-titles.txt";
    const TitleLog log(titlesFile);
    DeleteFileW(titlesFile.c_str());

    t.step("another program's window is the one the user works in");
    Process target(EnvironmentValue(L"E2E_TARGET_EXE"),
                   Quoted(Widen(kOriginalTitle)) + L" " + Quoted(titlesFile), setup.outDir);
    HWND targetWindow = nullptr;
    t.expect(
        [&] {
            targetWindow = target.window(kTargetClass);
            return targetWindow != nullptr && IsWindowVisible(targetWindow);
        },
        kStartWait, "the target window did not appear");

    Process program(setup.exe(), L"", setup.programDir);
    HWND window = nullptr;
    t.expect([&] { return (window = program.window(L"#32770")) != nullptr; }, kStartWait,
             "the program made no window");
    WaitFor([] { return false; }, kSettle);
    t.check(!IsWindowVisible(window), "accepted settings start in the tray, no window shown");
    // Another program's request for the front is carried out by the window's
    // own thread, a moment later.
    const bool inFront = WaitFor(
        [&] {
            SetForegroundWindow(targetWindow);
            return GetForegroundWindow() == targetWindow;
        },
        kStartWait);
    t.check(inFront, "the target window is in front");
    if (!inFront) {
        HWND front = GetForegroundWindow();
        wchar_t className[64] = {};
        GetClassNameW(front, className, 64);
        t.note("in front: " + Narrow(className) + " \"" + WindowTitle(front) + "\"");
    }

    t.step("今すぐチェック announces the three messages");
    ChooseFromTrayMenu(window, VK_DOWN, kCheckNowItem);
    t.expect([&] { return log.has("3通メールが来ています。"); }, kNoticeWait,
             "no arrival notice in the target's title");
    t.shot("arrival");
    for (size_t n = 0; n < subjects.size(); ++n) {
        const std::string prefix = std::to_string(n + 1) + "通目:Subject:" + subjects[n] + " From:";
        t.expect([&] { return !log.startingWith(prefix).empty(); }, kNoticeWait,
                 "no notice for message " + std::to_string(n + 1) + " (" + subjects[n] + ")");
        t.note(log.startingWith(prefix));
        if (n == 0) {
            t.shot("first-notice");
        }
    }
    t.expect([&] { return log.has("以上3通メールが来ています。"); }, kNoticeWait,
             "no closing summary");
    t.shot("summary");
    t.expect([&] { return WindowTitle(targetWindow) == kOriginalTitle; }, kNoticeWait,
             "the original title did not come back");
    t.shot("restored");
    CheckOrder(t, log, subjects);

    t.step("一時停止 carries its mark; 終了(&X) ends the program");
    ChooseFromTrayMenu(window, VK_DOWN, kPauseItem);
    t.expect([] { return OpenMenu() == nullptr || !IsWindowVisible(OpenMenu()); }, kStartWait,
             "the tray menu did not close");
    CheckPauseMark(t, window);
    EndFromTrayMenu(t, program, window);
    t.check(WindowTitle(targetWindow) == kOriginalTitle, "the target keeps its own title");
    t.shot("ended");
}

// ---- tray states and the balloon --------------------------------------------

BOOL CALLBACK NoteShown(HWND window, LPARAM data) {
    if (IsWindowVisible(window)) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        *reinterpret_cast<std::string*>(data) +=
            " " + Narrow(className) + " \"" + WindowTitle(window) + "\"";
    }
    return TRUE;
}

// The window that shows the tray icons: the shell's task bar, or, on an X
// desktop with no tray of its own, Wine's stand-alone tray window.
// Looked for by enumeration: FindWindow does not find the stand-alone tray
// by its class under Wine (the class is private to the process that made it).
HWND TrayWindow() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (_wcsicmp(className, L"Shell_TrayWnd") == 0 ||
                _wcsicmp(className, L"__winex11_standalone_tray") == 0) {
                reinterpret_cast<Search*>(data)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible top-level windows, by class and title, for a transcript that
// must say what was there instead.
std::string ShownWindows() {
    std::string list;
    EnumWindows(NoteShown, reinterpret_cast<LPARAM>(&list));
    return list;
}

RECT TrayArea(HWND tray) {
    RECT area{};
    GetWindowRect(tray, &area);
    return area;
}

// Where the tray draws its icons: its client area, without the caption
// (which, the window being in front, may take the program's notices).
RECT IconArea(HWND tray) {
    RECT area{};
    GetClientRect(tray, &area);
    POINT corner{0, 0};
    ClientToScreen(tray, &corner);
    OffsetRect(&area, corner.x, corner.y);
    return area;
}

struct BalloonSearch {
    DWORD programProcess;
    HWND found;
};

BOOL CALLBACK FindBalloon(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BalloonSearch*>(data);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (_wcsicmp(className, TOOLTIPS_CLASSW) == 0 && owner != search->programProcess &&
        IsWindowVisible(window) && (GetWindowLongPtrW(window, GWL_STYLE) & TTS_BALLOON) != 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The balloon the shell shows for an icon: a tooltip control of the shell's
// own process, in balloon style.
HWND ShownBalloon(const Process& program) {
    BalloonSearch search{program.id(), nullptr};
    EnumWindows(FindBalloon, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A tooltip control answers WM_GETTEXT with the text it shows; sent, the
// message is carried across processes. (Its title has no such message:
// TTM_GETTITLE hands over a pointer into the caller's memory.)
std::string BalloonText(HWND balloon) {
    std::wstring text(kLongest, L'\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(balloon, WM_GETTEXT, kLongest, reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, kAnswerWaitMs, &copied) == 0) {
        return {};
    }
    text.resize(std::min<size_t>(copied, kLongest));
    return Narrow(text);
}

// Replaces the server in the settings file, as an edit by hand would; the
// program reads it at the next check.
void ChangeServer(const Setup& setup, const std::string& from, const std::string& to) {
    std::string bytes = ReadFileBytes(setup.settingsFile());
    const std::string before = "REMOTEHOST=" + from + "\r\n";
    const size_t at = bytes.find(before);
    if (at == std::string::npos) {
        throw StageFailed("no REMOTEHOST line to change");
    }
    bytes.replace(at, before.size(), "REMOTEHOST=" + to + "\r\n");
    std::ofstream(std::filesystem::path(setup.settingsFile()), std::ios::binary | std::ios::trunc)
        << bytes;
}

// Waits until the tray shows something other than each of `earlier` and
// has shown it unchanged for a while (an icon being redrawn, or a state
// passed through on the way, is not the state looked for), and returns it.
std::string TrayChanges(Transcript& t, const RECT& area, const std::vector<std::string>& earlier,
                        const std::string& what) {
    std::string now;
    std::string last;
    auto lastChange = std::chrono::steady_clock::now();
    t.expect(
        [&] {
            now = ScreenPixels(area);
            if (now != last) {
                last = now;
                lastChange = std::chrono::steady_clock::now();
                return false;
            }
            if (now.empty() || std::chrono::steady_clock::now() - lastChange < kSteadyFor) {
                return false;
            }
            for (const std::string& seen : earlier) {
                if (now == seen) {
                    return false;
                }
            }
            return true;
        },
        kNoticeWait, what);
    return now;
}

void TrayStates(Transcript& t, const Setup& setup) {
    const std::vector<std::string> subjects =
        Lines(ReadFileBytes(EnvironmentValue(L"E2E_SUBJECTS")));

    t.step("start in the tray: the program's own icon");
    Process program(setup.exe(), L"", setup.programDir);
    HWND window = nullptr;
    t.expect([&] { return (window = program.window(L"#32770")) != nullptr; }, kStartWait,
             "the program made no window");
    HWND tray = nullptr;
    if (!WaitFor([&] { return (tray = TrayWindow()) != nullptr && IsWindowVisible(tray); },
                 kStartWait)) {
        t.note("shown:" + ShownWindows());
        t.expect([] { return false; }, 0ms, "no tray window is shown");
    }
    // The pointer would hide the marks in the pictures.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    WaitFor([] { return false; }, kSettle);
    const RECT area = TrayArea(tray);
    const RECT icons = IconArea(tray);
    t.shotOf("tray-normal", area);  // after every window has painted
    const std::string normal = ScreenPixels(icons);

    t.step("今すぐチェック: the new-mail mark and a balloon with the messages");
    ChooseFromTrayMenu(window, VK_DOWN, kCheckNowItem);
    HWND balloon = nullptr;
    t.expect([&] { return (balloon = ShownBalloon(program)) != nullptr; }, kNoticeWait,
             "no balloon came");
    const std::string text = BalloonText(balloon);
    for (const std::string& line : Lines(text)) {
        t.note("balloon text: " + line);
    }
    t.note("balloon title (not readable from another process): see the screenshot");
    bool everySubject = !subjects.empty();
    for (const std::string& subject : subjects) {
        everySubject = everySubject && text.find(subject + " — ") != std::string::npos;
    }
    t.check(everySubject, "the balloon lists each message as \"subject — sender\"");
    t.shot("balloon");
    // The shell takes the balloon away after its time (10 to 30 seconds);
    // the pictures of the icon are taken without it over them.
    t.expect([&] { return ShownBalloon(program) == nullptr; }, kBalloonWait,
             "the balloon did not go away");
    const std::string newMail =
        TrayChanges(t, icons, {normal}, "the icon did not change with the new mail");
    t.shotOf("tray-new-mail", area);

    t.step("一時停止: the paused look (opening the menu took the new-mail mark away)");
    ChooseFromTrayMenu(window, VK_DOWN, kPauseItem);
    const std::string paused =
        TrayChanges(t, icons, {normal, newMail}, "the icon did not change with the pause");
    t.shotOf("tray-paused", area);

    t.step("a check by hand that fails, errors hidden: the error mark, no box");
    ChangeServer(setup, Narrow(EnvironmentValue(L"E2E_HOST")), "127.0.0.1:9");
    ChooseFromTrayMenu(window, VK_DOWN, kCheckNowItem);
    TrayChanges(t, icons, {normal, newMail, paused}, "the icon did not show the failure");
    t.shotOf("tray-error", area);
    t.check(program.visibleDialogs(window).empty(), "no message box with エラーを表示 off");
    t.shot("error");

    EndFromTrayMenu(t, program, window);
}

// ---- first run -------------------------------------------------------------

void FirstRun(Transcript& t, const Setup& setup) {
    t.step("start without a settings file");
    Process program(setup.exe(), L"", setup.programDir);
    HWND window = ShownMainWindow(t, program);
    t.check(WindowTitle(window) == "Vantorel", "the basic-settings window is captioned Vantorel");
    t.check(GetFileAttributesW(setup.settingsFile().c_str()) == INVALID_FILE_ATTRIBUTES,
            "no settings file before OK");
    t.shot("start");

    t.step("type the settings and press OK");
    const std::string password = Narrow(EnvironmentValue(L"E2E_PASSWORD"));
    TypeSettings(window, password, "5分", "2秒");
    t.shot("typed");
    PressOkButton(window);
    t.expect([&] { return !IsWindowVisible(window); }, kCheckWait,
             "the window stayed on the screen after OK");
    WaitFor([] { return false; }, kSettle);
    t.check(program.visibleDialogs(window).empty(), "no message box after a good first check");
    t.shot("in-tray");

    t.step("the settings file holds what was typed, in CP932 with CRLF");
    const std::string host = Narrow(EnvironmentValue(L"E2E_HOST"));
    const std::string user = Narrow(EnvironmentValue(L"E2E_USER"));
    for (const std::string& line :
         {"REMOTEHOST=" + host, "USERNAME=" + user, "PASSWORD=" + password,
          std::string("INTERVAL=5分"), std::string("TIMER=2秒"), std::string("STARTUP=True")}) {
        t.check(SettingStored(setup, line), "stored: " + line);
    }
    const DWORD save = GetFileAttributesW((setup.programDir + L"\\save").c_str());
    t.check(save != INVALID_FILE_ATTRIBUTES && (save & FILE_ATTRIBUTE_DIRECTORY) != 0,
            "the save folder was made");

    t.step("終了(&X) ends the program");
    EndFromTrayMenu(t, program, window);
}

// ---- wrong password --------------------------------------------------------

HWND NextBox(Transcript& t, const Process& program, HWND window) {
    HWND box = nullptr;
    t.expect(
        [&] {
            const std::vector<HWND> boxes = program.visibleDialogs(window);
            box = boxes.empty() ? nullptr : boxes.front();
            return box != nullptr;
        },
        kCheckWait, "no message box came");
    return box;
}

void CloseBox(HWND box) {
    PressOk(box);
    Expect([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kStartWait,
           "the message box did not close");
}

void WrongPassword(Transcript& t, const Setup& setup) {
    t.step("a first run with a wrong password");
    Process program(setup.exe(), L"", setup.programDir);
    HWND window = ShownMainWindow(t, program);
    TypeSettings(window, "not-the-password", "5", "2");
    PressOkButton(window);

    t.step("the server's failure text");
    HWND box = NextBox(t, program, window);
    const std::string serverText = BoxText(box);
    t.note("box: " + serverText);
    t.check(serverText.find("パスワードを確認してください") != std::string::npos,
            "the first box says what to check");
    t.check(
        serverText.find("サーバーの応答: -ERR [AUTH] Authentication failed.") != std::string::npos,
        "the first box quotes the server's text");
    t.shot("server-failure");
    CloseBox(box);

    t.step("then the error box");
    bool hintShown = false;
    for (int shown = 0; shown < kMaxBoxes && !hintShown; ++shown) {
        box = NextBox(t, program, window);
        const std::string text = BoxText(box);
        t.note("box: " + text);
        hintShown = text.find("エラーです。設定しなおしてください") != std::string::npos;
        t.shot(hintShown ? "error-box" : "box-" + std::to_string(shown + 2));
        CloseBox(box);
    }
    t.check(hintShown, "the error box asks for new settings");

    t.step("the window stays for correction");
    WaitFor([] { return false; }, kSettle);
    t.check(IsWindowVisible(window) != FALSE, "the basic-settings window stays");
    t.check(SettingStored(setup, "STARTUP=FALSE"), "STARTUP stays FALSE");
    t.check(SettingStored(setup, "PASSWORD=not-the-password"), "the password typed was saved");
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = STILL_ACTIVE;
    t.check(program.endsWithin(kExitWait, &code), "closing the window ends the program");
}

}  // namespace
}  // namespace vantorel::e2e

int wmain(int argc, wchar_t** argv) {
    using namespace vantorel::e2e;
    const std::string scenario = argc == 2 ? vantorel::win32::Narrow(argv[1]) : "";
    // A token login announces as a password login does.
    void (*run)(Transcript&, const Setup&) = scenario == "announce"         ? Announce
                                             : scenario == "token-announce" ? Announce
                                             : scenario == "first-run"      ? FirstRun
                                             : scenario == "wrong-password" ? WrongPassword
                                             : scenario == "tray-states"    ? TrayStates
                                                                            : nullptr;
    if (run == nullptr) {
        std::fputs(
            "usage: vantorel_e2e_driver.exe "
            "announce|token-announce|first-run|wrong-password|tray-states\n",
            stderr);
        return 2;
    }
    try {
        Setup setup;
        setup.scenario = scenario;
        Transcript transcript(setup.outDir, scenario);
        try {
            run(transcript, setup);
        } catch (const StageFailed& failure) {
            transcript.check(false, failure.what());
        }
        transcript.note(transcript.failed() ? "FAILED" : "PASS");
        return transcript.failed() ? 1 : 0;
    } catch (const StageFailed& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 2;
    }
}

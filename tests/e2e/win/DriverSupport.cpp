#include "DriverSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "platform/win32/Messages.h"
#include "platform/win32/WideText.h"

namespace vantorel::e2e {

using win32::Narrow;
using win32::Widen;

namespace {

constexpr auto kPollSlice = 50ms;
constexpr auto kMenuWait = 5s;
constexpr DWORD kStopWaitMs = 5000;
constexpr WPARAM kTrayIconId = 1;
constexpr WORD kBitsPerPixel = 24;
constexpr WORD kBitmapMagic = 0x4D42;  // "BM"

// How long the windows may take to paint before the screenshot goes ahead
// without them (a window that hangs is what the screenshot should show).
constexpr auto kPaintWait = 3s;
constexpr UINT kRoundTripWaitMs = 2000;

BOOL CALLBACK NoteWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The visible top-level windows and every child of theirs.
std::vector<HWND> VisibleWindows() {
    std::vector<HWND> topLevel;
    EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&topLevel));
    std::vector<HWND> all;
    for (HWND window : topLevel) {
        if (IsWindowVisible(window)) {
            all.push_back(window);
            EnumChildWindows(window, NoteWindow, reinterpret_cast<LPARAM>(&all));
        }
    }
    return all;
}

// Has every visible window paint itself whole before the screen is read: a
// screenshot taken right after a window appeared showed it black or half
// painted. The windows are invalidated and then waited for until none has
// an update region left; no paint is sent across processes, so a window
// that hangs cannot hold the driver.
void FinishPainting() {
    RedrawWindow(GetDesktopWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    const std::vector<HWND> windows = VisibleWindows();
    WaitFor(
        [&] {
            for (HWND window : windows) {
                if (IsWindow(window) && GetUpdateRect(window, nullptr, FALSE)) {
                    return false;
                }
            }
            return true;
        },
        kPaintWait);
    // Wine copies a window's drawing to the X server when its thread next
    // waits for messages: two round trips make sure each has waited once
    // after painting.
    for (HWND window : windows) {
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
            continue;  // a child shares its top-level window's thread
        }
        for (int round = 0; round < 2; ++round) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kRoundTripWaitMs,
                                &ignored);
        }
    }
    GdiFlush();
}

// The pixels of a part of the screen, bottom-up 24-bit rows; empty when
// they could not be read.
std::string ReadPixels(const RECT& area, BITMAPINFOHEADER& header) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);

    header = BITMAPINFOHEADER{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = kBitsPerPixel;
    header.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    std::string pixels(static_cast<size_t>(stride) * static_cast<DWORD>(height), '\0');
    const int lines = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return lines == height ? pixels : std::string();
}

// A part of the screen as a bottom-up 24-bit BMP file.
bool SaveArea(const std::wstring& file, const RECT& area) {
    BITMAPINFOHEADER header{};
    const std::string pixels = ReadPixels(area, header);
    if (pixels.empty()) {
        return false;
    }
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = kBitmapMagic;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

RECT ScreenArea() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

struct DialogSearch {
    DWORD process;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (owner == search->process && std::wstring(className) == search->className) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectLabel(HWND child, LPARAM data) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") == 0) {
        const std::string text = WindowTitle(child);
        if (!text.empty()) {
            auto* texts = reinterpret_cast<std::string*>(data);
            *texts += (texts->empty() ? "" : "\n") + text;
        }
    }
    return TRUE;
}

}  // namespace

Transcript::Transcript(std::wstring outDir, std::string scenario)
    : outDir_(std::move(outDir)), scenario_(std::move(scenario)) {}

void Transcript::step(const std::string& text) {
    write("== " + text);
}

void Transcript::note(const std::string& text) {
    write("   " + text);
}

void Transcript::check(bool ok, const std::string& what) {
    write((ok ? "ok   " : "FAIL ") + what);
    failed_ = failed_ || !ok;
}

void Transcript::shot(const std::string& name) {
    shotOf(name, ScreenArea());
}

void Transcript::shotOf(const std::string& name, const RECT& area) {
    FinishPainting();
    const std::wstring file = outDir_ + L"\\" + Widen(scenario_ + "-" + name) + L".bmp";
    write(SaveArea(file, area) ? "   screenshot " + scenario_ + "-" + name + ".bmp"
                               : "   (no screenshot " + name + ")");
}

void Transcript::expect(const std::function<bool()>& done, std::chrono::milliseconds limit,
                        const std::string& what) {
    if (!WaitFor(done, limit)) {
        shot("failure");
        throw StageFailed(what);
    }
}

void Transcript::write(const std::string& line) {
    const std::string text = "[" + scenario_ + "] " + line + "\n";
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
    std::ofstream(std::filesystem::path(outDir_ + L"\\transcript.txt"),
                  std::ios::app | std::ios::binary)
        << text;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollSlice);
    }
    return true;
}

void Expect(const std::function<bool()>& done, std::chrono::milliseconds limit,
            const std::string& what) {
    if (!WaitFor(done, limit)) {
        throw StageFailed(what);
    }
}

std::string WindowTitle(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return Narrow(text);
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    if (value == nullptr || *value == L'\0') {
        throw StageFailed("the environment does not set " + Narrow(name));
    }
    return value;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Process::Process(const std::wstring& exe, const std::wstring& arguments,
                 const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
        throw StageFailed("cannot start " + Narrow(exe));
    }
}

Process::~Process() {
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, kStopWaitMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

HWND Process::window(const wchar_t* className) const {
    DialogSearch search{info_.dwProcessId, className, {}};
    EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&search));
    // EnumWindows goes from the top of the Z order; the first window a
    // program makes is the last found.
    return search.found.empty() ? nullptr : search.found.back();
}

std::vector<HWND> Process::visibleDialogs(HWND except) const {
    DialogSearch search{info_.dwProcessId, L"#32770", {}};
    EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&search));
    std::vector<HWND> shown;
    for (HWND window : search.found) {
        if (window != except && IsWindowVisible(window)) {
            shown.push_back(window);
        }
    }
    return shown;
}

bool Process::endsWithin(std::chrono::milliseconds limit, DWORD* code) const {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(info_.hProcess, code);
    return true;
}

std::string BoxText(HWND box) {
    std::string texts;
    EnumChildWindows(box, CollectLabel, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PressOk(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string ScreenPixels(const RECT& area) {
    BITMAPINFOHEADER header{};
    return ReadPixels(area, header);
}

HWND OpenMenu() {
    return FindWindowW(L"#32768", nullptr);
}

void ChooseFromTrayMenu(HWND programWindow, WPARAM arrow, int presses, bool enter) {
    PostMessageW(programWindow, win32::kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    Expect([&] { return (menu = OpenMenu()) != nullptr && IsWindowVisible(menu); }, kMenuWait,
           "the tray menu did not open");
    for (int i = 0; i < presses; ++i) {
        PostMessageW(menu, WM_KEYDOWN, arrow, 0);
    }
    if (enter) {
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
}

}  // namespace vantorel::e2e

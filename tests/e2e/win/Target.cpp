// The window the Windows end-to-end test announces into: an ordinary
// program's top-level window with a title given on the command line,
// brought to the front. Every title the window is given goes to a log file
// (UTF-8, one per line, the first being its own), so that the test sees
// each notice however briefly it was shown.
//
// usage: vantorel_e2e_target.exe TITLE LOGFILE

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 160;
constexpr wchar_t kClassName[] = L"VantorelE2eTarget";

std::wstring g_logFile;

void LogTitle(const wchar_t* title) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, title, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? static_cast<size_t>(size) - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8.data(), size, nullptr, nullptr);
    }
    // Opened for each line, so that a reader never misses a buffered one.
    if (FILE* log = _wfopen(g_logFile.c_str(), L"ab")) {
        std::fprintf(log, "%s\n", utf8.c_str());
        std::fclose(log);
    }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            LogTitle(reinterpret_cast<const wchar_t*>(lParam));
            return result;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: vantorel_e2e_target.exe TITLE LOGFILE\n", stderr);
        return 2;
    }
    g_logFile = argv[2];
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    // Created without a title, then given one: the log starts with it.
    HWND window =
        CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        kWidth, kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    SetWindowTextW(window, argv[1]);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// Another program's window that is busy: it shows a window, titles it
// TITLE and then stops answering messages until the event EVENT is set (or a
// minute has passed, so that it never outlives a test that died).
//   busy_window_helper TITLE EVENT

#include <windows.h>

#include <cstdlib>

namespace {

constexpr DWORD kLongestBusyMs = 60000;
constexpr int kArguments = 3;
constexpr int kUsageError = 2;
constexpr wchar_t kClass[] = L"VantorelBusyTarget";

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != kArguments) {
        return kUsageError;
    }
    HANDLE done = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    if (done == nullptr) {
        return EXIT_FAILURE;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kClass, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return EXIT_FAILURE;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    // The title comes last: a test that finds it knows that no message is
    // taken from here on.
    SetWindowTextW(window, argv[1]);
    WaitForSingleObject(done, kLongestBusyMs);
    DestroyWindow(window);
    CloseHandle(done);
    return EXIT_SUCCESS;
}

// A stand-in token helper for the token command's tests under Wine, run
// through cmd /c:
//   helper print TEXT          prints TEXT as its first line
//   helper fail TEXT CODE      writes TEXT to standard error, exits with CODE
//   helper hang PIDFILE        starts "helper sleep", writes its own process
//                              id and that child's to PIDFILE, then waits
//                              for ever
//   helper sleep               waits for ever

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr int kUsageError = 2;

int Hang(const wchar_t* pidFile) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" sleep";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &child) == 0) {
        return EXIT_FAILURE;
    }
    FILE* file = _wfopen(pidFile, L"w");
    if (file == nullptr) {
        return EXIT_FAILURE;
    }
    std::fprintf(file, "%lu %lu\n", GetCurrentProcessId(), child.dwProcessId);
    std::fclose(file);
    Sleep(INFINITE);
    return EXIT_SUCCESS;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"print" && argc == 3) {
        std::fwprintf(stdout, L"%ls\n", argv[2]);
        return EXIT_SUCCESS;
    }
    if (mode == L"fail" && argc == 4) {
        std::fwprintf(stderr, L"%ls\n", argv[2]);
        return std::wcstol(argv[3], nullptr, 10);
    }
    if (mode == L"hang" && argc == 3) {
        return Hang(argv[2]);
    }
    if (mode == L"sleep") {
        Sleep(INFINITE);
    }
    return kUsageError;
}

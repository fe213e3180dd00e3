// process-memory.exe NAME: the working set and the private bytes of the
// running process whose executable is NAME (vantorel.exe), as a Windows
// tool shows them: GetProcessMemoryInfo's WorkingSetSize and PrivateUsage.
// Prints "working_set_kib N" and "private_kib N"; exit status 1 when no
// such process runs, 2 on a usage error.
//
// Under Wine these come from the Unix process's /proc status: the working
// set is VmRSS, the private bytes RssAnon + VmSwap. Indicative only.

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kNotRunning = 1;
constexpr int kUsageError = 2;
constexpr SIZE_T kBytesPerKib = 1024;

// The id of the first process named `name`, or 0.
DWORD FindProcess(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) {
            found = entry.th32ProcessID;
        }
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: process-memory.exe NAME\n", stderr);
        return kUsageError;
    }
    const DWORD id = FindProcess(argv[1]);
    HANDLE process =
        id == 0 ? nullptr : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (process == nullptr) {
        return kNotRunning;
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    const BOOL read = GetProcessMemoryInfo(
        process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    CloseHandle(process);
    if (!read) {
        return kNotRunning;
    }
    std::printf("working_set_kib %zu\nprivate_kib %zu\n", counters.WorkingSetSize / kBytesPerKib,
                counters.PrivateUsage / kBytesPerKib);
    return 0;
}

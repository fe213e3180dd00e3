#include "platform/win32/Win32TokenCommand.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/TokenCommandOutput.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32LibraryLoader.h"
#include "text/Utf8.h"

namespace vantorel::win32 {
namespace {

using Clock = std::chrono::steady_clock;
using platform::BoundedOutput;
using platform::CommandEnd;
using platform::TokenCommandOutcome;

// How often the loop reads the pipes while the command runs (anonymous
// pipes cannot be waited on).
constexpr DWORD kPollIntervalMs = 20;
constexpr std::size_t kReadChunk = 4096;
// Waiting for a terminated job's processes to be gone.
constexpr DWORD kTerminationWaitMs = 5000;
constexpr UINT kTimedOutExitCode = 1;

class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }

    HANDLE Get() const { return handle_; }
    HANDLE* Out() { return &handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset() {
        if (handle_ != nullptr) {
            CloseHandle(handle_);
            handle_ = nullptr;
        }
    }

  private:
    HANDLE handle_ = nullptr;
};

// A pipe whose write end the command inherits.
struct OutputPipe {
    Handle read;
    Handle write;

    bool Create() {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        return CreatePipe(read.Out(), write.Out(), &inheritable, 0) != 0 &&
               SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0) != 0;
    }
};

std::wstring ShellPath() {
    std::array<wchar_t, MAX_PATH> folder{};
    const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    return std::wstring(folder.data(), length) + L"\\cmd.exe";
}

// cmd /s /c "LINE" runs LINE exactly as written (/s drops only the outer
// quotes); /d leaves out the AutoRun commands of the registry.
std::wstring ShellCommandLine(const std::string& commandLine) {
    return L"cmd.exe /d /s /c \"" + Widen(commandLine) + L"\"";
}

// A job that ends its processes when it is closed, or nothing where the
// program's own job forbids one.
Handle KillingJob() {
    Handle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job && SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                       sizeof limits) == 0) {
        job.Reset();
    }
    return job;
}

struct Started {
    Handle process;
    Handle job;  // empty where the command could not be put in one
};

// Starts the shell suspended, puts it in the job, then lets it run, so that
// nothing it starts escapes the job.
std::optional<Started> StartShell(const std::string& commandLine, const OutputPipe& out,
                                  const OutputPipe& err, std::string& why) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = out.write.Get();
    startup.hStdError = err.write.Get();
    const std::wstring application = ShellPath();
    std::wstring line = ShellCommandLine(commandLine);
    PROCESS_INFORMATION process{};
    // The pipes' write ends are the only handles of the program made
    // inheritable, and only until this call returns.
    if (CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT, nullptr,
                       nullptr, &startup, &process) == 0) {
        why = SystemErrorText(GetLastError());
        return std::nullopt;
    }
    Started started{Handle(process.hProcess), KillingJob()};
    Handle thread(process.hThread);
    if (started.job && AssignProcessToJobObject(started.job.Get(), process.hProcess) == 0) {
        started.job.Reset();  // then only the shell itself can be ended
    }
    ResumeThread(thread.Get());
    return started;
}

// Reads what the pipe holds now; false once it is closed and empty.
bool ReadAvailable(HANDLE pipe, BoundedOutput& into) {
    DWORD available = 0;
    if (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) == 0) {
        return false;  // broken: every writer has gone
    }
    std::array<char, kReadChunk> chunk{};
    while (available > 0) {
        DWORD got = 0;
        const DWORD wanted = std::min<DWORD>(available, static_cast<DWORD>(chunk.size()));
        if (ReadFile(pipe, chunk.data(), wanted, &got, nullptr) == 0 || got == 0) {
            return false;
        }
        into.Append(std::string_view(chunk.data(), got));
        platform::WipeBytes(chunk.data(), chunk.size());
        available -= got;
    }
    return true;
}

// The command's standard error in UTF-8: cmd writes its own messages in
// the console's (OEM) code page; programs may write UTF-8.
std::string ErrorText(const std::string& bytes) {
    if (text::IsValidUtf8(bytes)) {
        return bytes;
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), size, wide.data(), length);
    return Narrow(wide);
}

class Watch {
  public:
    Watch(const Started& started, HANDLE out, HANDLE err) : started_(started), pipes_{out, err} {}

    CommandEnd Until(Clock::time_point deadline) {
        for (;;) {
            ReadPipes();
            const auto now = Clock::now();
            if (now >= deadline) {
                return EndAll();
            }
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
            const DWORD wait = std::min<DWORD>(kPollIntervalMs, static_cast<DWORD>(left.count()));
            if (WaitForSingleObject(started_.process.Get(), wait) == WAIT_OBJECT_0) {
                // What it wrote is in the pipes now; leftovers it started
                // may write on, unread.
                ReadPipes();
                DWORD code = 0;
                GetExitCodeProcess(started_.process.Get(), &code);
                return CommandEnd{CommandEnd::Kind::Exited, static_cast<int>(code)};
            }
        }
    }

    BoundedOutput standardOutput{platform::kMaxTokenLineBytes};
    BoundedOutput standardError{platform::kMaxErrorOutputBytes};

  private:
    void ReadPipes() {
        for (std::size_t index = 0; index < pipes_.size(); ++index) {
            if (pipes_[index] != nullptr &&
                !ReadAvailable(pipes_[index], index == 0 ? standardOutput : standardError)) {
                pipes_[index] = nullptr;
            }
        }
    }

    CommandEnd EndAll() {
        if (started_.job) {
            TerminateJobObject(started_.job.Get(), kTimedOutExitCode);
        } else {
            TerminateProcess(started_.process.Get(), kTimedOutExitCode);
        }
        WaitForSingleObject(started_.process.Get(), kTerminationWaitMs);
        return CommandEnd{CommandEnd::Kind::TimedOut, 0};
    }

    const Started& started_;
    std::array<HANDLE, 2> pipes_;
};

TokenCommandOutcome NotStarted(std::string why) {
    TokenCommandOutcome outcome;
    outcome.kind = TokenCommandOutcome::Kind::NotStarted;
    outcome.errorOutput = std::move(why);
    return outcome;
}

}  // namespace

platform::TokenCommandOutcome Win32TokenCommand::Run(const std::string& commandLine,
                                                     std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    OutputPipe out;
    OutputPipe err;
    if (!out.Create() || !err.Create()) {
        return NotStarted(SystemErrorText(GetLastError()));
    }
    std::string why;
    const auto started = StartShell(commandLine, out, err, why);
    if (!started) {
        return NotStarted(why);
    }
    // Only the command writes now: the pipes break when it has ended.
    out.write.Reset();
    err.write.Reset();
    Watch watch(*started, out.read.Get(), err.read.Get());
    const CommandEnd end = watch.Until(deadline);
    return platform::OutcomeOf(end, watch.standardOutput, ErrorText(watch.standardError.Kept()));
}

}  // namespace vantorel::win32

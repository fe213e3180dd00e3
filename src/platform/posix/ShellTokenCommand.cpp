#include "platform/posix/ShellTokenCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/TokenCommandOutput.h"

extern char** environ;

namespace vantorel::posix {
namespace {

using Clock = std::chrono::steady_clock;
using platform::BoundedOutput;
using platform::CommandEnd;
using platform::TokenCommandOutcome;

constexpr const char* kShell = "/bin/sh";
constexpr std::size_t kReadChunk = 4096;
// How often the loop looks whether the shell has ended while its output
// stays open (a background child may hold it).
constexpr std::chrono::milliseconds kExitCheckInterval{20};
// Reads of what rests in a pipe once the shell has ended.
constexpr int kMaxDrainReads = 64;
// The exit status of a shell that someone else reaped.
constexpr int kStatusUnknown = -1;

// Both ends of a pipe, closed when it goes.
class Pipe {
  public:
    Pipe() {
        if (::pipe2(ends_.data(), O_CLOEXEC) != 0) {
            ends_ = {-1, -1};
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool Open() const { return ends_[0] >= 0; }
    int Read() const { return ends_[0]; }
    int Write() const { return ends_[1]; }
    void CloseRead() { Close(ends_[0]); }
    void CloseWrite() { Close(ends_[1]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    std::array<int, 2> ends_{};
};

struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// Starts the shell in a new process group (its id is the shell's pid),
// with standard input from /dev/null; -1 and errno when it cannot.
pid_t StartShell(const std::string& commandLine, const Pipe& out, const Pipe& err) {
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, out.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, err.Write(), STDERR_FILENO);
    posix_spawnattr_setflags(
        &setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    // The program's own signal mask and handlers are not the command's.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
    std::array<char*, 4> arguments{const_cast<char*>("sh"), const_cast<char*>("-c"),
                                   const_cast<char*>(commandLine.c_str()), nullptr};
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, kShell, &setup.actions, &setup.attributes, arguments.data(), environ);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

enum class ReadResult { Data, NothingNow, End };

ReadResult ReadSome(int fd, BoundedOutput& into) {
    std::array<char, kReadChunk> chunk{};
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got > 0) {
        into.Append(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
        platform::WipeBytes(chunk.data(), chunk.size());
        return ReadResult::Data;
    }
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
        return ReadResult::NothingNow;
    }
    return ReadResult::End;
}

// Reads both outputs until the shell ends or the deadline passes. Only the
// shell is waited for: a background child that keeps the output open does
// not hold the caller up.
class Watch {
  public:
    Watch(pid_t shell, int out, int err) : shell_(shell), fds_{out, err} {}

    CommandEnd Until(Clock::time_point deadline) {
        for (;;) {
            if (auto end = Ended()) {
                Drain();
                return *end;
            }
            const auto now = Clock::now();
            if (now >= deadline) {
                return EndGroup();
            }
            PollOnce(std::min<Clock::duration>(deadline - now, kExitCheckInterval));
        }
    }

    BoundedOutput standardOutput{platform::kMaxTokenLineBytes};
    BoundedOutput standardError{platform::kMaxErrorOutputBytes};

  private:
    BoundedOutput& Into(std::size_t index) { return index == 0 ? standardOutput : standardError; }

    std::optional<CommandEnd> Ended() {
        int status = 0;
        const pid_t done = ::waitpid(shell_, &status, WNOHANG);
        if (done == 0 || (done < 0 && errno == EINTR)) {
            return std::nullopt;
        }
        if (done < 0) {
            return CommandEnd{CommandEnd::Kind::Exited, kStatusUnknown};  // reaped elsewhere
        }
        if (WIFSIGNALED(status)) {
            return CommandEnd{CommandEnd::Kind::Signalled, WTERMSIG(status)};
        }
        return CommandEnd{CommandEnd::Kind::Exited, WEXITSTATUS(status)};
    }

    // What rests in the pipes when the shell has ended; nothing its
    // leftovers write later, and no more than kMaxDrainReads chunks.
    void Drain() {
        for (std::size_t index = 0; index < fds_.size(); ++index) {
            if (fds_[index] < 0) {
                continue;
            }
            ::fcntl(fds_[index], F_SETFL, ::fcntl(fds_[index], F_GETFL) | O_NONBLOCK);
            for (int reads = 0; reads < kMaxDrainReads; ++reads) {
                if (ReadSome(fds_[index], Into(index)) != ReadResult::Data) {
                    break;
                }
            }
        }
    }

    // Kills the shell's whole process group and reaps the shell.
    CommandEnd EndGroup() {
        ::kill(-shell_, SIGKILL);
        int status = 0;
        while (::waitpid(shell_, &status, 0) < 0 && errno == EINTR) {
        }
        return CommandEnd{CommandEnd::Kind::TimedOut, 0};
    }

    void PollOnce(Clock::duration wait) {
        // A negative descriptor is left out by poll: then it only waits.
        std::array<pollfd, 2> entries{pollfd{fds_[0], POLLIN, 0}, pollfd{fds_[1], POLLIN, 0}};
        const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
        if (::poll(entries.data(), entries.size(), static_cast<int>(waitMs)) <= 0) {
            return;
        }
        for (std::size_t index = 0; index < entries.size(); ++index) {
            if (fds_[index] >= 0 && entries[index].revents != 0 &&
                ReadSome(fds_[index], Into(index)) == ReadResult::End) {
                fds_[index] = -1;
            }
        }
    }

    pid_t shell_;
    std::array<int, 2> fds_;
};

TokenCommandOutcome NotStarted(const char* why) {
    TokenCommandOutcome outcome;
    outcome.kind = TokenCommandOutcome::Kind::NotStarted;
    outcome.errorOutput = why;
    return outcome;
}

}  // namespace

platform::TokenCommandOutcome ShellTokenCommand::Run(const std::string& commandLine,
                                                     std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    Pipe out;
    Pipe err;
    if (!out.Open() || !err.Open()) {
        return NotStarted(std::strerror(errno));
    }
    const pid_t shell = StartShell(commandLine, out, err);
    if (shell < 0) {
        return NotStarted(std::strerror(errno));
    }
    // Only the command writes now: the end of output is seen when it ends.
    out.CloseWrite();
    err.CloseWrite();
    Watch watch(shell, out.Read(), err.Read());
    const CommandEnd end = watch.Until(deadline);
    return platform::OutcomeOf(end, watch.standardOutput, watch.standardError.Kept());
}

}  // namespace vantorel::posix

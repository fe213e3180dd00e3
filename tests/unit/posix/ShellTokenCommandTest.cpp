// The token command on POSIX systems, with real commands through /bin/sh:
// one that prints a token, one that fails, one that hangs past its limit
// (and leaves a child behind), one that prints nothing.

#include "platform/posix/ShellTokenCommand.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake/UniqueFolder.h"
#include "platform/TokenCommandOutput.h"

namespace vantorel::posix {
namespace {

using namespace std::chrono_literals;
using Kind = platform::TokenCommandOutcome::Kind;
namespace fs = std::filesystem;

// Time enough for any command here that does not hang on purpose.
constexpr auto kGenerousLimit = 20s;
// The hanging commands' limit: long enough for sh to have started its
// child on a busy machine.
constexpr auto kShortLimit = 2s;
// A process sent SIGKILL is gone well within this.
constexpr int kDeathWaitMs = 10000;

class ShellTokenCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = vantorel::testing::MakeUniqueFolder(
            std::string("vantorel-token-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        for (pid_t pid : leftovers_) {
            ::kill(pid, SIGKILL);
        }
        fs::remove_all(folder_);
    }

    std::string PidFile() const { return (folder_ / "pid").string(); }

    // The pid the command wrote into PidFile(), remembered for clean-up.
    pid_t WrittenPid() {
        std::ifstream in(PidFile());
        pid_t pid = 0;
        in >> pid;
        if (pid > 0) {
            leftovers_.push_back(pid);
        }
        return pid;
    }

    ShellTokenCommand command_;
    fs::path folder_;
    std::vector<pid_t> leftovers_;
};

// True when process `pid` ends (or has ended) within kDeathWaitMs: waits on
// a pidfd, so no time passes once it has.
bool EndsSoon(pid_t pid) {
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        return errno == ESRCH;
    }
    pollfd entry{fd, POLLIN, 0};
    const bool ended = ::poll(&entry, 1, kDeathWaitMs) == 1;
    ::close(fd);
    return ended;
}

TEST_F(ShellTokenCommandTest, PrintsATokenOnItsFirstLine) {
    const auto outcome = command_.Run(
        "printf 'ya29.a0-Token_x\\r\\nrefreshed\\n'; echo progress >&2", kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Token);
    EXPECT_EQ(outcome.token, "ya29.a0-Token_x");
    EXPECT_EQ(outcome.errorOutput, "");
}

TEST_F(ShellTokenCommandTest, RunsTheLineAsTheShellReadsIt) {
    const auto outcome =
        command_.Run("t='tok'\"en\"; echo \"$t-$(echo 42 | tr 4 x)\" | cat", kGenerousLimit);
    EXPECT_EQ(outcome.token, "token-x2");
    EXPECT_EQ(command_.Run("read line; echo \"[$line]\"", kGenerousLimit).token,
              "[]");  // empty input
}

TEST_F(ShellTokenCommandTest, AFailingCommandGivesItsStandardError) {
    const auto outcome = command_.Run(
        "echo 'ya29.half-written-token'; echo 'error: invalid_grant (token revoked)' >&2; exit 3",
        kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(outcome.token, "");
    EXPECT_EQ(platform::TokenCommandFailureDetail(outcome), "error: invalid_grant (token revoked)");
    const auto missing = command_.Run("/nonexistent/token-helper --account me", kGenerousLimit);
    EXPECT_EQ(missing.kind, Kind::Failed);
    EXPECT_EQ(missing.exitStatus, 127);
    EXPECT_THAT(missing.errorOutput, ::testing::HasSubstr("/nonexistent/token-helper"));
}

TEST_F(ShellTokenCommandTest, ACommandEndedBySignalIsAFailure) {
    const auto outcome = command_.Run("kill -TERM $$", kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_TRUE(outcome.signalled);
    EXPECT_EQ(outcome.exitStatus, SIGTERM);
}

TEST_F(ShellTokenCommandTest, ACommandThatHangsIsEndedWithEverythingItStarted) {
    const auto outcome = command_.Run(
        "echo 'waiting for the browser' >&2; sleep 300 & echo $! >'" + PidFile() + "'; wait",
        kShortLimit);
    EXPECT_EQ(outcome.kind, Kind::TimedOut);
    EXPECT_EQ(outcome.errorOutput, "waiting for the browser");
    const pid_t child = WrittenPid();
    ASSERT_GT(child, 0) << "the command did not start its child within the limit";
    EXPECT_TRUE(EndsSoon(child));
}

TEST_F(ShellTokenCommandTest, AChildLeftBehindDoesNotHoldTheTokenBack) {
    // The background sleep keeps standard output open after the shell ends.
    const auto outcome =
        command_.Run("sleep 300 & echo $! >'" + PidFile() + "'; echo ya29.token", kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Token);
    EXPECT_EQ(outcome.token, "ya29.token");
    EXPECT_GT(WrittenPid(), 0);
}

TEST_F(ShellTokenCommandTest, ACommandThatPrintsNothingGivesNoToken) {
    EXPECT_EQ(command_.Run("true", kGenerousLimit).kind, Kind::NoOutput);
    const auto blank = command_.Run("echo; echo 'not signed in' >&2", kGenerousLimit);
    EXPECT_EQ(blank.kind, Kind::NoOutput);
    EXPECT_EQ(platform::TokenCommandFailureDetail(blank),
              "コマンドが何も出力しませんでした（not signed in）");
}

TEST_F(ShellTokenCommandTest, EndlessOutputIsBoundedAndNeverBlocksTheCommand) {
    // Far more than a pipe buffers: the command finishes only if it is read.
    const auto outcome = command_.Run(
        "head -c 1000000 /dev/zero | tr '\\0' e >&2; head -c 1000000 /dev/zero | tr '\\0' o; exit "
        "1",
        kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.errorOutput, std::string(platform::kMaxErrorOutputBytes, 'e'));
}

}  // namespace
}  // namespace vantorel::posix

// The token command on Windows, under Wine, through cmd /c: a command that
// prints a token, one that fails, one that hangs past its limit (with a
// child of its own), one that prints nothing.

#include "platform/win32/Win32TokenCommand.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "WinTestSupport.h"
#include "platform/TokenCommandOutput.h"
#include "platform/win32/WideText.h"
#include "text/Utf8.h"

namespace vantorel::win32 {
namespace {

using namespace std::chrono_literals;
using Kind = platform::TokenCommandOutcome::Kind;

// Time enough for cmd and the helper under Wine on a busy machine.
constexpr auto kGenerousLimit = 60s;
// The hanging command's limit: long enough for it to have started its
// child first.
constexpr auto kShortLimit = 5s;
// A terminated process is gone well within this.
constexpr DWORD kDeathWaitMs = 10000;

// The helper beside the test, quoted for a command line.
std::string Helper() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\token_command_helper.exe";
    return "\"" + Narrow(path) + "\"";
}

// True when process `id` ends (or has ended) within kDeathWaitMs; one
// still running then is ended here, so that no test leaves it behind.
bool EndsSoon(DWORD id) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    if (process == nullptr) {
        return true;  // no such process any more
    }
    const bool ended = WaitForSingleObject(process, kDeathWaitMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process, 1);
    }
    CloseHandle(process);
    return ended;
}

TEST(Win32TokenCommand, PrintsATokenOnItsFirstLine) {
    Win32TokenCommand command;
    const auto builtin = command.Run("echo ya29.a0-Token_x& echo second line", kGenerousLimit);
    EXPECT_EQ(builtin.kind, Kind::Token);
    EXPECT_EQ(builtin.token, "ya29.a0-Token_x");
    const auto helper = command.Run(Helper() + " print eyJhbGciOi.J9-x_y", kGenerousLimit);
    EXPECT_EQ(helper.kind, Kind::Token) << platform::TokenCommandFailureDetail(helper);
    EXPECT_EQ(helper.token, "eyJhbGciOi.J9-x_y");
}

TEST(Win32TokenCommand, AFailingCommandGivesItsStandardError) {
    Win32TokenCommand command;
    const auto outcome =
        command.Run(Helper() + " fail \"invalid_grant: token revoked\" 3", kGenerousLimit);
    EXPECT_EQ(outcome.kind, Kind::Failed);
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(platform::TokenCommandFailureDetail(outcome), "invalid_grant: token revoked");
    // cmd's own message, in the console's code page, arrives as UTF-8.
    const auto missing = command.Run("nosuch_token_helper_xyz --account me", kGenerousLimit);
    EXPECT_EQ(missing.kind, Kind::Failed);
    EXPECT_NE(missing.errorOutput.find("nosuch_token_helper_xyz"), std::string::npos)
        << missing.errorOutput;
    EXPECT_TRUE(text::IsValidUtf8(missing.errorOutput));
}

TEST(Win32TokenCommand, ACommandThatHangsIsEndedWithEverythingItStarted) {
    test::TempFolder folder;
    const std::string pidFile = folder.file("pid");
    Win32TokenCommand command;
    const auto outcome = command.Run(Helper() + " hang \"" + pidFile + "\"", kShortLimit);
    EXPECT_EQ(outcome.kind, Kind::TimedOut);
    std::ifstream in(folder.path() / "pid");
    DWORD helper = 0;
    DWORD child = 0;
    in >> helper >> child;
    ASSERT_NE(child, 0u) << "the helper did not start its child within the limit";
    EXPECT_TRUE(EndsSoon(helper));
    EXPECT_TRUE(EndsSoon(child));
}

TEST(Win32TokenCommand, ACommandThatPrintsNothingGivesNoToken) {
    Win32TokenCommand command;
    EXPECT_EQ(command.Run("rem nothing", kGenerousLimit).kind, Kind::NoOutput);
    const auto blank = command.Run("echo not signed in 1>&2", kGenerousLimit);
    EXPECT_EQ(blank.kind, Kind::NoOutput);
    EXPECT_EQ(blank.errorOutput, "not signed in");
}

}  // namespace
}  // namespace vantorel::win32
